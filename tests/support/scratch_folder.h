#pragma once
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace testing_support {

// A new, empty folder below the system's temporary folder, removed with everything in it
// when the object goes.
class ScratchFolder {
 public:
  ScratchFolder() {
    static unsigned counter = 0;
    const auto now = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = std::filesystem::temp_directory_path() /
              ("zentara-test-" + std::to_string(now) + "-" + std::to_string(++counter));
      if (std::filesystem::create_directory(path_)) return;
    }
    throw std::runtime_error("no scratch folder could be made");
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Makes another folder the current one, and restores the old one when it goes.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::filesystem::path& folder)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace testing_support

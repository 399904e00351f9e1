#include "rotation/linux_desktop/x11/sysfs_input_bus.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "rotation/linux_desktop/device_bus.h"

namespace quillet::x11 {
namespace {

namespace fs = std::filesystem;

// The first word of a small attribute file; empty when it cannot be read.
std::string FirstWord(const fs::path& file) {
  std::ifstream in(file);
  std::string word;
  in >> word;
  return word;
}

uint32_t HexNumber(const std::string& text) {
  if (text.empty() || text.size() > 8 ||
      !std::all_of(text.begin(), text.end(),
                   [](unsigned char c) { return std::isxdigit(c) != 0; })) {
    return 0;
  }
  return static_cast<uint32_t>(std::stoul(text, nullptr, 16));
}

// The "removable" word of the nearest USB device above the folder: the
// device itself, not its interfaces, carries it.
std::string UsbRemovable(const fs::path& device, const fs::path& root) {
  for (fs::path folder = device;
       !folder.empty() && folder != root && folder != folder.parent_path();
       folder = folder.parent_path()) {
    std::error_code error;
    if (fs::exists(folder / "removable", error)) return FirstWord(folder / "removable");
  }
  return {};
}

}  // namespace

xdesktop::DeviceBus BusOfEventNode(std::string_view node, const std::string& sysfsRoot) {
  const std::string_view name = node.substr(node.rfind('/') + 1);
  if (name.rfind("event", 0) != 0 || name.size() == 5 ||
      !std::all_of(name.begin() + 5, name.end(),
                   [](unsigned char c) { return std::isdigit(c) != 0; })) {
    return xdesktop::DeviceBus::kUnknown;
  }
  const fs::path root(sysfsRoot);
  const fs::path link = root / "class" / "input" / std::string(name) / "device";
  std::error_code error;
  const fs::path device = fs::canonical(link, error);
  if (error) return xdesktop::DeviceBus::kUnknown;
  const uint32_t bus = HexNumber(FirstWord(device / "id" / "bustype"));
  return xdesktop::ClassifyBus(bus, device.string(),
                               UsbRemovable(device, fs::canonical(root, error)));
}

}  // namespace quillet::x11

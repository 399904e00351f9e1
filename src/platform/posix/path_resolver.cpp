#include "platform/posix/path_resolver.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace platform::posix {
namespace {

namespace fs = std::filesystem;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

bool IsHighSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char32_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

// The entry of `folder` whose name equals `name` but for letter case.
std::optional<std::string> FindIgnoringCase(const std::string& folder, const std::string& name) {
  std::error_code error;
  fs::directory_iterator entries(folder.empty() ? "." : folder, error);
  if (error) return std::nullopt;
  std::vector<std::string> matches;
  for (const fs::directory_entry& entry : entries) {
    std::string entryName = entry.path().filename().string();
    if (SameIgnoringAsciiCase(entryName, name)) matches.push_back(std::move(entryName));
  }
  if (matches.empty()) return std::nullopt;
  return *std::min_element(matches.begin(), matches.end());
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + '/' + name;
}

}  // namespace

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    // Wide strings may carry UTF-16 pairs, whatever the width of wchar_t.
    if (IsHighSurrogate(c) && i + 1 < text.size() &&
        IsLowSurrogate(static_cast<char32_t>(text[i + 1]))) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c) || c > 0x10FFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string ResolvePath(std::wstring_view path) {
  std::string spelled = ToUtf8(path);
  std::replace(spelled.begin(), spelled.end(), '\\', '/');

  std::vector<std::string> components;
  for (size_t start = 0; start <= spelled.size();) {
    const size_t end = std::min(spelled.find('/', start), spelled.size());
    if (end > start) components.push_back(spelled.substr(start, end - start));
    start = end + 1;
  }

  std::string resolved = !spelled.empty() && spelled.front() == '/' ? "/" : "";
  bool matching = true;  // until a component is found nowhere
  for (const std::string& component : components) {
    const std::string asSpelled = Join(resolved, component);
    if (!matching || component == "." || component == ".." || Exists(asSpelled)) {
      resolved = asSpelled;
      continue;
    }
    if (const std::optional<std::string> found = FindIgnoringCase(resolved, component)) {
      resolved = Join(resolved, *found);
    } else {
      resolved = asSpelled;
      matching = false;
    }
  }
  if (!spelled.empty() && spelled.back() == '/' && !resolved.empty() && resolved.back() != '/')
    resolved += '/';
  return resolved;
}

}  // namespace platform::posix

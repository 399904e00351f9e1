#include "platform/x11/xft_dpi.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <charconv>
#include <cmath>

#include "platform/x11/x11_connection.h"

namespace platform::x11 {
namespace {

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

int32_t XftDpiOf(std::string_view resources) {
  while (!resources.empty()) {
    const size_t end = resources.find('\n');
    const std::string_view line = resources.substr(0, end);
    resources = end == std::string_view::npos ? std::string_view() : resources.substr(end + 1);
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos || Trimmed(line.substr(0, colon)) != "Xft.dpi") continue;
    const std::string_view value = Trimmed(line.substr(colon + 1));
    double dpi = 0;
    const auto [rest, error] = std::from_chars(value.data(), value.data() + value.size(), dpi);
    if (error != std::errc() || rest != value.data() + value.size()) return kDefaultDpi;
    if (!(dpi >= 24 && dpi <= 960)) return kDefaultDpi;
    return static_cast<int32_t>(std::lround(dpi));
  }
  return kDefaultDpi;
}

// Read from the root rather than with XResourceManagerString, which keeps
// what the property held when the connection opened.
int32_t XftDpi(X11Connection& connection) {
  constexpr long kMostLongs = 256 * 1024;  // a megabyte of resources
  ::Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  int32_t dpi = kDefaultDpi;
  if (XGetWindowProperty(connection.Get(), connection.Root(), XA_RESOURCE_MANAGER, 0, kMostLongs,
                         False, XA_STRING, &type, &format, &count, &after, &data) == Success &&
      data != nullptr && type == XA_STRING && format == 8) {
    dpi = XftDpiOf(std::string_view(reinterpret_cast<const char*>(data), count));
  }
  if (data != nullptr) XFree(data);
  return dpi;
}

}  // namespace platform::x11

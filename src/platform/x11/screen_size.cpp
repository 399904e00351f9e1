#include "platform/x11/screen_size.h"

#include <X11/extensions/Xrandr.h>

#include <memory>

#include "platform/x11/x11_connection.h"

namespace platform::x11 {
namespace {

struct ResourcesFree {
  void operator()(XRRScreenResources* resources) const { XRRFreeScreenResources(resources); }
};
struct CrtcFree {
  void operator()(XRRCrtcInfo* crtc) const { XRRFreeCrtcInfo(crtc); }
};
struct OutputFree {
  void operator()(XRROutputInfo* output) const { XRRFreeOutputInfo(output); }
};

// The size of the CRTC that shows an output, or nothing when it shows nothing.
bool OutputSize(Display* display, XRRScreenResources* resources, RROutput output,
                ScreenSize& size) {
  std::unique_ptr<XRROutputInfo, OutputFree> info(XRRGetOutputInfo(display, resources, output));
  if (!info || info->crtc == 0) return false;
  std::unique_ptr<XRRCrtcInfo, CrtcFree> crtc(XRRGetCrtcInfo(display, resources, info->crtc));
  if (!crtc || crtc->width == 0 || crtc->height == 0) return false;
  size = {static_cast<int32_t>(crtc->width), static_cast<int32_t>(crtc->height)};
  return true;
}

}  // namespace

ScreenSize PrimaryScreenSize(X11Connection& connection) {
  Display* display = connection.Get();
  const ScreenSize whole{DisplayWidth(display, connection.Screen()),
                         DisplayHeight(display, connection.Screen())};
  if (!connection.HasRandr()) return whole;
  std::unique_ptr<XRRScreenResources, ResourcesFree> resources(
      XRRGetScreenResourcesCurrent(display, connection.Root()));
  if (!resources) return whole;
  ScreenSize size;
  const RROutput primary = XRRGetOutputPrimary(display, connection.Root());
  if (primary != 0 && OutputSize(display, resources.get(), primary, size)) return size;
  for (int i = 0; i < resources->noutput; ++i) {
    if (OutputSize(display, resources.get(), resources->outputs[i], size)) return size;
  }
  return whole;
}

}  // namespace platform::x11

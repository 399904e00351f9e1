#pragma once
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <memory>

namespace platform::xlib {

struct FreeScreenResources {
  void operator()(XRRScreenResources* resources) const { XRRFreeScreenResources(resources); }
};
struct FreeCrtcInfo {
  void operator()(XRRCrtcInfo* info) const { XRRFreeCrtcInfo(info); }
};
struct FreeOutputInfo {
  void operator()(XRROutputInfo* info) const { XRRFreeOutputInfo(info); }
};

// XRandR's replies, freed with their owners; null when the server gave none.
using ScreenResources = std::unique_ptr<XRRScreenResources, FreeScreenResources>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, FreeCrtcInfo>;
using OutputInfo = std::unique_ptr<XRROutputInfo, FreeOutputInfo>;

// Whether the server offers XRandR at the given version or a later one.
bool HasRandr(Display* display, int major, int minor);

// What the server knows of the screen's CRTCs, outputs and modes without
// asking the hardware again.
ScreenResources CurrentScreenResources(Display* display, Window root);
CrtcInfo GetCrtcInfo(Display* display, XRRScreenResources* resources, RRCrtc crtc);
OutputInfo GetOutputInfo(Display* display, XRRScreenResources* resources, RROutput output);

}  // namespace platform::xlib

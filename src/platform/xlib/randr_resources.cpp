#include "platform/xlib/randr_resources.h"

namespace platform::xlib {

bool HasRandr(Display* display, int major, int minor) {
  int event = 0;
  int error = 0;
  int serverMajor = 0;
  int serverMinor = 0;
  return XRRQueryExtension(display, &event, &error) &&
         XRRQueryVersion(display, &serverMajor, &serverMinor) &&
         (serverMajor > major || (serverMajor == major && serverMinor >= minor));
}

ScreenResources CurrentScreenResources(Display* display, Window root) {
  return ScreenResources(XRRGetScreenResourcesCurrent(display, root));
}

CrtcInfo GetCrtcInfo(Display* display, XRRScreenResources* resources, RRCrtc crtc) {
  return CrtcInfo(XRRGetCrtcInfo(display, resources, crtc));
}

OutputInfo GetOutputInfo(Display* display, XRRScreenResources* resources, RROutput output) {
  return OutputInfo(XRRGetOutputInfo(display, resources, output));
}

}  // namespace platform::xlib

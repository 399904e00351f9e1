#include "platform/x11/primary_screen.h"

#include <X11/extensions/Xrandr.h>

#include <memory>

#include "platform/x11/x11_connection.h"
#include "platform/xlib/randr_resources.h"

namespace platform::x11 {
namespace {

struct MonitorsFree {
  void operator()(XRRMonitorInfo* monitors) const { XRRFreeMonitors(monitors); }
};

// The monitors desktops place their panels by: the primary one, else the first.
bool MonitorArea(X11Connection& connection, Rect& area) {
  int count = 0;
  std::unique_ptr<XRRMonitorInfo, MonitorsFree> monitors(
      XRRGetMonitors(connection.Get(), connection.Root(), True, &count));
  if (!monitors || count <= 0) return false;
  const XRRMonitorInfo* chosen = &monitors.get()[0];
  for (int i = 0; i < count; ++i) {
    if (monitors.get()[i].primary) chosen = &monitors.get()[i];
  }
  if (chosen->width <= 0 || chosen->height <= 0) return false;
  area = Rect::OfSize(chosen->width, chosen->height).Translated(chosen->x, chosen->y);
  return true;
}

// The area of the CRTC that shows an output, or nothing when it shows nothing.
bool OutputArea(Display* display, XRRScreenResources* resources, RROutput output, Rect& area) {
  const xlib::OutputInfo info = xlib::GetOutputInfo(display, resources, output);
  if (!info || info->crtc == 0) return false;
  const xlib::CrtcInfo crtc = xlib::GetCrtcInfo(display, resources, info->crtc);
  if (!crtc || crtc->width == 0 || crtc->height == 0) return false;
  area = Rect::OfSize(static_cast<int32_t>(crtc->width), static_cast<int32_t>(crtc->height))
             .Translated(crtc->x, crtc->y);
  return true;
}

// Servers before XRandR 1.5 name a primary output instead.
bool OutputArea(X11Connection& connection, Rect& area) {
  Display* display = connection.Get();
  const xlib::ScreenResources resources = xlib::CurrentScreenResources(display, connection.Root());
  if (!resources) return false;
  const RROutput primary = XRRGetOutputPrimary(display, connection.Root());
  if (primary != 0 && OutputArea(display, resources.get(), primary, area)) return true;
  for (int i = 0; i < resources->noutput; ++i) {
    if (OutputArea(display, resources.get(), resources->outputs[i], area)) return true;
  }
  return false;
}

}  // namespace

Rect PrimaryScreenArea(X11Connection& connection) {
  Rect area;
  if (connection.HasRandrMonitors() && MonitorArea(connection, area)) return area;
  if (connection.HasRandr() && OutputArea(connection, area)) return area;
  Display* display = connection.Get();
  return Rect::OfSize(DisplayWidth(display, connection.Screen()),
                      DisplayHeight(display, connection.Screen()));
}

}  // namespace platform::x11

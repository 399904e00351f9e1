#include "rotation/linux_desktop/x11/randr_screen.h"

#include <X11/Xatom.h>
#include <X11/extensions/randr.h>

#include <string_view>

namespace quillet::x11 {
namespace {

const XRRModeInfo* FindMode(const XRRScreenResources& resources, RRMode id) {
  for (int i = 0; i < resources.nmode; ++i) {
    if (resources.modes[i].id == id) return &resources.modes[i];
  }
  return nullptr;
}

// What the CRTC's transform does to its picture; the identity when the
// server cannot say.
linux_desktop::CrtcTransform ReadTransform(Display* display, RRCrtc crtc) {
  linux_desktop::CrtcTransform transform = linux_desktop::kIdentityTransform;
  XRRCrtcTransformAttributes* attributes = nullptr;
  if (!XRRGetCrtcTransform(display, crtc, &attributes) || attributes == nullptr) return transform;
  for (size_t row = 0; row < 3; ++row) {
    for (size_t column = 0; column < 3; ++column) {
      transform[row * 3 + column] =
          XFixedToDouble(attributes->currentTransform.matrix[row][column]);
    }
  }
  XFree(attributes);
  return transform;
}

bool Pans(Display* display, XRRScreenResources* resources, RRCrtc crtc) {
  XRRPanning* panning = XRRGetPanning(display, resources, crtc);
  if (panning == nullptr) return false;
  const bool pans = panning->width > 0 && panning->height > 0;
  XRRFreePanning(panning);
  return pans;
}

// The driver's word that the output is a built-in panel, whatever its name.
bool HasPanelConnector(Display* display, RROutput output) {
  const Atom property = XInternAtom(display, RR_PROPERTY_CONNECTOR_TYPE, True);
  if (property == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long items = 0;
  unsigned long left = 0;
  unsigned char* data = nullptr;
  if (XRRGetOutputProperty(display, output, property, 0, 1, False, False, XA_ATOM, &type, &format,
                           &items, &left, &data) != Success) {
    return false;
  }
  bool panel = false;
  if (data != nullptr && type == XA_ATOM && format == 32 && items == 1) {
    char* name = XGetAtomName(display, static_cast<Atom>(*reinterpret_cast<long*>(data)));
    panel = name != nullptr && std::string_view(name) == "Panel";
    if (name != nullptr) XFree(name);
  }
  if (data != nullptr) XFree(data);
  return panel;
}

}  // namespace

RandrScreen::RandrScreen(Display* display, platform::xlib::ErrorTrap& trap)
    : display_(display), trap_(trap), root_(DefaultRootWindow(display)) {}

void RandrScreen::GrabServer() {
  XGrabServer(display_);
}

void RandrScreen::UngrabServer() {
  XUngrabServer(display_);
  trap_.Sync(display_);
}

std::optional<linux_desktop::ScreenState> RandrScreen::Read() {
  outputs_.clear();
  if (!platform::xlib::HasRandr(display_, 1, 3)) return std::nullopt;
  // What the server knows without asking the hardware, unless it knows
  // nothing yet: a server that offers the old RandR only (Xephyr) makes up
  // its CRTC and output when first asked.
  resources_ = platform::xlib::CurrentScreenResources(display_, root_);
  if (!resources_ || resources_->ncrtc == 0 || resources_->noutput == 0) {
    resources_.reset(XRRGetScreenResources(display_, root_));
  }
  if (!resources_) return std::nullopt;

  linux_desktop::ScreenState state;
  Window root = 0;
  int x = 0;
  int y = 0;
  unsigned int width = 0;
  unsigned int height = 0;
  unsigned int border = 0;
  unsigned int depth = 0;
  if (!XGetGeometry(display_, root_, &root, &x, &y, &width, &height, &border, &depth) ||
      !XRRGetScreenSizeRange(display_, root_, &state.minWidth, &state.minHeight, &state.maxWidth,
                             &state.maxHeight)) {
    return std::nullopt;
  }
  const int screen = DefaultScreen(display_);
  state.size = {static_cast<int32_t>(width), static_cast<int32_t>(height),
                DisplayWidthMM(display_, screen), DisplayHeightMM(display_, screen)};

  const RROutput primary = XRRGetOutputPrimary(display_, root_);
  for (int c = 0; c < resources_->ncrtc; ++c) {
    const RRCrtc id = resources_->crtcs[c];
    const platform::xlib::CrtcInfo info =
        platform::xlib::GetCrtcInfo(display_, resources_.get(), id);
    if (!info || info->mode == None || info->noutput <= 0) continue;
    const XRRModeInfo* mode = FindMode(*resources_, info->mode);
    if (mode == nullptr) continue;

    linux_desktop::Crtc crtc;
    crtc.id = id;
    crtc.config = {info->mode, info->x, info->y, info->rotation};
    crtc.modeWidth = static_cast<int32_t>(mode->width);
    crtc.modeHeight = static_cast<int32_t>(mode->height);
    crtc.supportedRotations = info->rotations;
    crtc.transform = ReadTransform(display_, id);
    crtc.pans = Pans(display_, resources_.get(), id);
    std::vector<RROutput>& outputs = outputs_[id];
    outputs.assign(info->outputs, info->outputs + info->noutput);
    for (RROutput output : outputs) {
      const platform::xlib::OutputInfo outputInfo =
          platform::xlib::GetOutputInfo(display_, resources_.get(), output);
      if (outputInfo) crtc.outputNames.emplace_back(outputInfo->name, outputInfo->nameLen);
      crtc.primary = crtc.primary || output == primary;
      crtc.panelConnector = crtc.panelConnector || HasPanelConnector(display_, output);
    }
    state.crtcs.push_back(std::move(crtc));
  }
  // A lookup of a CRTC that changed meanwhile must not fail a later step.
  trap_.Sync(display_);
  return state;
}

bool RandrScreen::SetScreenSize(const linux_desktop::ScreenSize& size) {
  trap_.Sync(display_);
  XRRSetScreenSize(display_, root_, size.width, size.height, size.mmWidth, size.mmHeight);
  return trap_.Sync(display_);
}

bool RandrScreen::SetCrtc(uint64_t crtc, const linux_desktop::CrtcConfig& config) {
  const auto known = outputs_.find(static_cast<RRCrtc>(crtc));
  if (!resources_ || known == outputs_.end()) return false;
  std::vector<RROutput>& outputs = known->second;
  const bool on = config.mode != 0;
  trap_.Sync(display_);
  const Status status =
      XRRSetCrtcConfig(display_, resources_.get(), known->first, CurrentTime, config.x, config.y,
                       static_cast<RRMode>(config.mode), static_cast<Rotation>(config.rotation),
                       on ? outputs.data() : nullptr, on ? static_cast<int>(outputs.size()) : 0);
  return trap_.Sync(display_) && status == RRSetConfigSuccess;
}

}  // namespace quillet::x11

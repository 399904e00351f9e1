// Times the panel on an X display with the real X11 platform: its start-up at
// a display scale (building the Director with its pictures and pauses, up to
// the first frame of the shown panel) with the memory it takes, one Repaint of
// the expanded, shown panel (compose and push) and the push alone. Run by hand
// on a display of its own (it sets the display's Xft.dpi for the scale, and
// puts the old resources back at the end); not a test:
//   zentara_x11_panel_timing [scale in percent, 100 by default] [--start-only]
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "app/panel_form.h"
#include "base/application.h"
#include "base/bitmap.h"
#include "base/timer.h"
#include "platform/services.h"
#include "platform/system.h"
#include "platform/windowing.h"
#include "platform/x11/pixel_pusher.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_platform.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

// The staged program folder stands in for this program's own; pauses are counted.
class StagedSystem : public platform::System {
 public:
  explicit StagedSystem(platform::System& real) : real_(real) {}
  bool ClaimSingleInstance(std::wstring_view name) override {
    return real_.ClaimSingleInstance(name);
  }
  void Sleep(uint32_t milliseconds) override {
    const auto start = Clock::now();
    real_.Sleep(milliseconds);
    sleeping += Clock::now() - start;
    asked += std::chrono::milliseconds(milliseconds);
  }
  void DebugOutput(std::wstring_view line) override { real_.DebugOutput(line); }
  uint16_t SystemDefaultLanguage() override { return real_.SystemDefaultLanguage(); }
  std::wstring ExecutableName() override { return std::wstring(ZENTARA_DIST_W) + L"/zentara"; }
  bool FolderExists(std::wstring_view path) override { return real_.FolderExists(path); }
  void ShowMessage(std::wstring_view text, std::wstring_view caption) override {
    real_.ShowMessage(text, caption);
  }
  uint32_t SystemColor(int index) override { return real_.SystemColor(index); }
  void ExitProcess(int code) override { real_.ExitProcess(code); }

  // The pauses as slept, and as asked for: the floor of the start-up.
  Clock::duration sleeping{};
  Clock::duration asked{};

 private:
  platform::System& real_;
};

// Ends the message loop at its timer's tick.
struct LoopStopper {
  void Stop(TObject* /*sender*/) { platform::GetWindowing().QuitMessageLoop(); }
};

// The display's resources (RESOURCE_MANAGER on the root window) with Xft.dpi
// set for a scale while it lives, and the old ones back afterwards.
class ScaledResources {
 public:
  explicit ScaledResources(int scale) : display_(XOpenDisplay(nullptr)) {
    if (display_ == nullptr) return;
    const ::Window root = DefaultRootWindow(display_);
    ::Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, root, XA_RESOURCE_MANAGER, 0, 256 * 1024, False, XA_STRING,
                           &type, &format, &count, &after, &data) == Success &&
        data != nullptr && type == XA_STRING && format == 8) {
      old_ = std::string(reinterpret_cast<const char*>(data), count);
    }
    if (data != nullptr) XFree(data);
    Set("Xft.dpi:\t" + std::to_string(96 * scale / 100) + "\n");
  }
  ~ScaledResources() {
    if (display_ == nullptr) return;
    if (old_) {
      Set(*old_);
    } else {
      XDeleteProperty(display_, DefaultRootWindow(display_), XA_RESOURCE_MANAGER);
    }
    XCloseDisplay(display_);
  }
  ScaledResources(const ScaledResources&) = delete;
  ScaledResources& operator=(const ScaledResources&) = delete;

 private:
  void Set(const std::string& resources) {
    XChangeProperty(display_, DefaultRootWindow(display_), XA_RESOURCE_MANAGER, XA_STRING, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(resources.data()),
                    static_cast<int>(resources.size()));
    XSync(display_, False);
  }

  Display* display_;
  std::optional<std::string> old_;
};

// A line of /proc/self/status in kilobytes ("VmHWM", "VmRSS"); -1 if it is not there.
long StatusKilobytes(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, key.size() + 1, key + ":") == 0)
      return std::strtol(line.c_str() + key.size() + 1, nullptr, 10);
  }
  return -1;
}

// Wraps the form's paint handler and ends the message loop after the first paint.
struct FirstPaint {
  explicit FirstPaint(TForm& form) : form_(form), paint_(form.OnPaint) {
    form.OnPaint = TNotifyEvent(this, &FirstPaint::Paint);
  }
  void Paint(TObject* sender) {
    paint_(sender);
    form_.OnPaint = paint_;
    platform::GetWindowing().QuitMessageLoop();
  }
  TForm& form_;
  TNotifyEvent paint_;
};

// Runs the message loop for a while, so that the window is mapped and exposed.
void RunFor(uint32_t milliseconds) {
  LoopStopper stopper;
  TTimer stop;
  stop.SetInterval(milliseconds);
  stop.SetOnTimer(TNotifyEvent(&stopper, &LoopStopper::Stop));
  stop.SetEnabled(true);
  platform::GetWindowing().RunMessageLoop();
}

}  // namespace

int main(int argc, char** argv) {
  const auto processStart = Clock::now();
  const int scale = argc > 1 ? std::atoi(argv[1]) : 100;
  if (scale < 100 || scale > 300) {
    std::fputs("the scale is a percentage from 100 to 300\n", stderr);
    return 2;
  }
  const ScaledResources resources(scale);
  platform::x11::X11Platform x11;
  if (!x11.Valid()) {
    std::fputs("no X display\n", stderr);
    return 1;
  }
  platform::Services services = platform::Install({});
  StagedSystem staged(*services.system);
  platform::Services patched = services;
  patched.system = &staged;
  platform::Install(patched);

  TApplication application;
  Application = &application;
  const auto start = Clock::now();
  application.CreateForm<TPanelForm>();
  const auto built = Clock::now() - start;
  std::printf("building the panel: %.1f ms, of which animation pauses %.1f ms\n",
              Milliseconds(built), Milliseconds(staged.sleeping));
  {
    // Start-up ends with the first frame of the shown panel.
    const FirstPaint firstPaint(*PanelForm);
    PanelForm->Show();
    platform::GetWindowing().RunMessageLoop();
  }
  const auto shown = Clock::now() - processStart;
  // The machine-readable line: start-up beyond the pauses asked for (work
  // done while they run is free), beyond the pauses as slept, and memory.
  std::printf(
      "startup scale=%d shown_ms=%.1f beyond_floor_ms=%.1f beyond_pauses_ms=%.1f vmhwm_kb=%ld "
      "vmrss_kb=%ld\n",
      scale, Milliseconds(shown), Milliseconds(shown - staged.asked),
      Milliseconds(shown - staged.sleeping), StatusKilobytes("VmHWM"), StatusKilobytes("VmRSS"));
  if (argc > 2 && std::string(argv[2]) == "--start-only") {
    platform::Install(services);
    return 0;
  }
  RunFor(300);
  const auto firstStart = Clock::now();
  // A click on the collapsed handle expands the panel; each paint event repaints it.
  TPanelForm& form = *PanelForm;
  form.OnMouseDown(&form, mbLeft, {ssLeft}, 300, 50);
  form.OnMouseUp(&form, mbLeft, {}, 300, 50);
  form.OnPaint(&form);
  std::printf("expanding, first frame included: %.1f ms\n",
              Milliseconds(Clock::now() - firstStart));

  constexpr int kRepaints = 500;
  const auto repaintStart = Clock::now();
  for (int i = 0; i < kRepaints; ++i) form.OnPaint(&form);
  std::printf("one Repaint of the expanded panel (compose and push): %.0f us\n",
              Milliseconds(Clock::now() - repaintStart) * 1000.0 / kRepaints);

  TBitmap bitmap;
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  bitmap.SetSize(341, 113);
  const platform::LayeredSource source{bitmap.Buffer(), 32};
  platform::Windowing& windowing = platform::GetWindowing();
  constexpr int kPushes = 2000;
  const auto pushStart = Clock::now();
  for (int i = 0; i < kPushes; ++i) {
    windowing.PushWithAlpha(PanelForm->Handle(), source, 230);
  }
  std::printf("one push of 341 x 113 pixels (opacity, shape check, put, round trip): %.0f us\n",
              Milliseconds(Clock::now() - pushStart) * 1000.0 / kPushes);

  // The put and its round trip alone, from a connection of its own to the same window.
  platform::x11::X11Connection connection;
  platform::x11::PixelPusher pusher(connection, PanelForm->Handle());
  pusher.Frame(341, 113);
  const auto putStart = Clock::now();
  for (int i = 0; i < kPushes; ++i) pusher.Push();
  std::printf("of which the put and its round trip (%s): %.0f us\n",
              pusher.UsesSharedMemory() ? "XShmPutImage" : "XPutImage",
              Milliseconds(Clock::now() - putStart) * 1000.0 / kPushes);
  platform::Install(services);
  return 0;
}

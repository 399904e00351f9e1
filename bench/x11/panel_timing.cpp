// Times the panel on an X display with the real X11 platform: building the
// Director (pictures, pauses), one Repaint of the expanded, shown panel
// (compose and push) and the push alone. Run by hand on a display; not a test.
#include <chrono>
#include <cstdio>
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

  Clock::duration sleeping{};

 private:
  platform::System& real_;
};

// Ends the message loop at its timer's tick.
struct LoopStopper {
  void Stop(TObject* /*sender*/) { platform::GetWindowing().QuitMessageLoop(); }
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

int main() {
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

  PanelForm->Show();
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

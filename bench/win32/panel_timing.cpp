// Times the panel under Wine with the real platform: how long building the
// Director takes and how much of it goes to loading the artwork, and one
// repaint of the expanded panel (compose and push). Run by hand; not a test.
// With an argument of 200 the pictures come from the 200 % set (the layout
// stays that of 100 %): the pixels of a 200 % frame.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "app/panel_form.h"
#include "base/application.h"
#include "base/bitmap.h"
#include "platform/image_decoder.h"
#include "platform/services.h"
#include "platform/system.h"
#include "platform/win32/win32_platform.h"
#include "platform/windowing.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

// Passes everything on, and counts the time spent decoding and pausing.
class TimedServices : public platform::ImageDecoder, public platform::System {
 public:
  TimedServices(const platform::Services& real, std::wstring folder)
      : real_(real), folder_(std::move(folder)) {}

  bool Start() override { return real_.images->Start(); }
  void Stop() override { real_.images->Stop(); }
  bool DecodePng(std::wstring_view path, platform::DecodedImage& out) override {
    const auto start = Clock::now();
    const bool decoded = real_.images->DecodePng(path, out);
    decoding += Clock::now() - start;
    ++pictures;
    return decoded;
  }
  bool ProbePng(std::wstring_view path) override {
    const auto start = Clock::now();
    const bool readable = real_.images->ProbePng(path);
    decoding += Clock::now() - start;
    ++checked;
    return readable;
  }

  bool ClaimSingleInstance(std::wstring_view name) override {
    return real_.system->ClaimSingleInstance(name);
  }
  void Sleep(uint32_t milliseconds) override {
    const auto start = Clock::now();
    real_.system->Sleep(milliseconds);
    sleeping += Clock::now() - start;
  }
  void DebugOutput(std::wstring_view line) override { real_.system->DebugOutput(line); }
  uint16_t SystemDefaultLanguage() override { return real_.system->SystemDefaultLanguage(); }
  // The staged release beside the build stands in for this program's own folder.
  std::wstring ExecutableName() override { return folder_ + L"\\Zentara.exe"; }
  bool FolderExists(std::wstring_view path) override { return real_.system->FolderExists(path); }
  void ShowMessage(std::wstring_view text, std::wstring_view caption) override {
    std::fwprintf(stderr, L"%ls: %ls\n", std::wstring(caption).c_str(), std::wstring(text).c_str());
  }
  uint32_t SystemColor(int index) override { return real_.system->SystemColor(index); }
  void ExitProcess(int code) override { real_.system->ExitProcess(code); }

  Clock::duration decoding{};
  Clock::duration sleeping{};
  int pictures = 0;
  int checked = 0;

 private:
  platform::Services real_;
  std::wstring folder_;
};

}  // namespace

int main(int argc, char** argv) {
  const int scale = argc > 1 ? std::atoi(argv[1]) : 100;
  const std::wstring folder =
      scale == 100 ? std::wstring(ZENTARA_DIST_W)
                   : std::wstring(ZENTARA_BENCH_DIST_W) + L"-" + std::to_wstring(scale);
  platform::win32::Win32Platform win32;
  platform::Services services = platform::Install({});
  TimedServices timed(services, folder);
  platform::Services patched = services;
  patched.images = &timed;
  patched.system = &timed;
  platform::Install(patched);

  TApplication application;
  Application = &application;
  const auto start = Clock::now();
  application.CreateForm<TPanelForm>();
  const auto built = Clock::now() - start;
  std::printf(
      "building the panel: %.1f ms, of which loading %d pictures and checking %d %.1f ms and "
      "animation pauses %.1f ms\n",
      Milliseconds(built), timed.pictures, timed.checked, Milliseconds(timed.decoding),
      Milliseconds(timed.sleeping));

  // A click on the collapsed handle expands the panel; each paint event repaints it.
  TPanelForm& form = *PanelForm;
  form.OnMouseDown(&form, mbLeft, {ssLeft}, 300, 50);
  form.OnMouseUp(&form, mbLeft, {}, 300, 50);
  constexpr int kRepaints = 500;
  const auto repaintStart = Clock::now();
  for (int i = 0; i < kRepaints; ++i) form.OnPaint(&form);
  std::printf("one Repaint of the expanded panel at %d %% (compose and push): %.0f us\n", scale,
              Milliseconds(Clock::now() - repaintStart) * 1000.0 / kRepaints);

  // The push alone: a frame of the same size, pushed as each repaint pushes it.
  const platform::Rect shown = platform::GetWindowing().GetWindowRect(form.Handle());
  TBitmap frame;
  frame.SetPixelFormat(TPixelFormat::pf32bit);
  frame.SetSize(shown.right - shown.left, shown.bottom - shown.top);
  const auto pushStart = Clock::now();
  for (int i = 0; i < kRepaints; ++i) {
    platform::GetWindowing().PushWithAlpha(form.Handle(), {frame.Buffer(), 32}, 230);
  }
  std::printf("of which the push of %dx%d pixels: %.0f us\n", frame.Width(), frame.Height(),
              Milliseconds(Clock::now() - pushStart) * 1000.0 / kRepaints);
  platform::Install(services);
  return 0;
}

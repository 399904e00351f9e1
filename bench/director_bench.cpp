// The panel's start-up at each display scale (building the Director: decoding
// the set, building the tree, the collapse's frames; the null platform's pauses
// take no time) and one repaint of the expanded panel (the form's paint event:
// compose the tree into the frame bitmap and push it), with the real artwork
// decoded by libpng, against the null platform, which keeps only the last push.
// The repaint at 200 % takes its pictures from the 200 % set while the layout
// stays that of 100 %: the pixels to compose are those of a 200 % frame.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "app/panel_form.h"
#include "base/application.h"
#include "null_platform.h"
#include "platform/libpng/libpng_image_decoder.h"

namespace {

// A program folder whose images folder is the artwork set of the given scale.
std::wstring ProgramFolder(int64_t scale) {
  const std::filesystem::path source(L"" ZENTARA_SOURCE_DIR_W);
  if (scale == 100) return source.wstring();
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("zentara-bench-" + std::to_string(scale));
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  std::filesystem::create_directory_symlink(source / "images" / ("scale-" + std::to_string(scale)),
                                            folder / "images", ignored);
  return folder.wstring();
}

// Start-up up to the first frame of the shown panel, at the display scale of
// the argument in percent, from the program's own images folder.
void BM_StartPanel(benchmark::State& state) {
  testing_support::NullPlatform platform;
  platform.windows.keepLastPushOnly = true;
  platform::libpng::LibpngImageDecoder decoder;
  platform.images.delegate = &decoder;
  platform.system.executableName = std::wstring(L"" ZENTARA_SOURCE_DIR_W) + L"/Zentara.exe";
  platform.windows.dpi = static_cast<int32_t>(96 * state.range(0) / 100);
  for (auto _ : state) {
    TApplication application;
    TPanelForm* form = application.CreateForm<TPanelForm>();
    platform.windows.DeliverPaint(form->Handle());
    platform.system.sleeps.clear();
  }
  const testing_support::NullWindowing::Push& last = platform.windows.pushes.back();
  state.counters["width"] = last.width;
  state.counters["height"] = last.height;
}

BENCHMARK(BM_StartPanel)
    ->ArgName("scale")
    ->Arg(100)
    ->Arg(200)
    ->Arg(300)
    ->Unit(benchmark::kMillisecond);

// The argument is the scale in percent.
void BM_RepaintExpandedPanel(benchmark::State& state) {
  testing_support::NullPlatform platform;
  platform.windows.keepLastPushOnly = true;
  platform::libpng::LibpngImageDecoder decoder;
  platform.images.delegate = &decoder;
  platform.system.executableName = ProgramFolder(state.range(0)) + L"/Zentara.exe";
  TApplication application;
  const platform::WindowHandle window = application.CreateForm<TPanelForm>()->Handle();
  // A click on the collapsed handle expands the panel.
  platform::WindowEvents& events = *platform.windows.At(window).events;
  events.HandleMouseDown(platform::MouseButton::Left, platform::kLeft, 300, 50);
  events.HandleMouseUp(platform::MouseButton::Left, 0, 300, 50);
  for (auto _ : state) {
    platform.windows.DeliverPaint(window);
    benchmark::ClobberMemory();
  }
  const testing_support::NullWindowing::Push& last = platform.windows.pushes.back();
  state.counters["width"] = last.width;
  state.counters["height"] = last.height;
}

BENCHMARK(BM_RepaintExpandedPanel)
    ->ArgName("scale")
    ->Arg(100)
    ->Arg(200)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

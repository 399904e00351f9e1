// One repaint of the expanded panel (the form's paint event: compose the tree
// into a fresh bitmap and push it), with the real artwork decoded by libpng,
// against the null platform.
#include <benchmark/benchmark.h>

#include <string>

#include "app/panel_form.h"
#include "base/application.h"
#include "null_platform.h"
#include "platform/libpng/libpng_image_decoder.h"

namespace {

void BM_RepaintExpandedPanel(benchmark::State& state) {
  testing_support::NullPlatform platform;
  platform::libpng::LibpngImageDecoder decoder;
  platform.images.delegate = &decoder;
  // The artwork folder of the source tree stands in for the one beside the program.
  platform.system.executableName = std::wstring(L"" ZENTARA_SOURCE_DIR_W) + L"/Zentara.exe";
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
  state.counters["pushes"] = static_cast<double>(platform.windows.pushes.size());
  platform.windows.pushes.clear();
}

BENCHMARK(BM_RepaintExpandedPanel)->Unit(benchmark::kMicrosecond);

}  // namespace

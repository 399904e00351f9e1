// One Repaint of the expanded panel (compose the tree into a fresh bitmap and
// push it), with the real artwork decoded by libpng, against the null platform.
#include <benchmark/benchmark.h>

#include <string>

#include "app/director.h"
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
  application.CreateForm<TPanelForm>();
  Director& director = *PanelForm->GetDirector();
  director.SetState(Director::StateExpanded, true);
  for (auto _ : state) {
    director.Repaint();
    benchmark::ClobberMemory();
  }
  state.counters["pushes"] = static_cast<double>(platform.windows.pushes.size());
  platform.windows.pushes.clear();
}

BENCHMARK(BM_RepaintExpandedPanel)->Unit(benchmark::kMicrosecond);

}  // namespace

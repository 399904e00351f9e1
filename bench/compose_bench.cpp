// Composing the expanded panel the way each repaint does: the frame bitmap of
// the root's size, filled black, into which the root paints itself and its
// seven buttons; at 100 % and at 200 % (every side doubled).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "base/bitmap.h"
#include "gs/image_loader.h"
#include "gs/widget_factories.h"
#include "null_platform.h"

namespace {

constexpr int32_t kPanelWidth = 341;
constexpr int32_t kPanelHeight = 113;
constexpr int32_t kButtonSide = 48;
constexpr int kButtons = 7;

// Half-transparent premultiplied pixels, as the artwork has around its shapes.
platform::DecodedImage Picture(int32_t width, int32_t height) {
  platform::DecodedImage image{width, height, {}};
  image.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  for (size_t i = 0; i < image.pixels.size(); i += 4) {
    const auto a = static_cast<uint8_t>((i / 4) % 256);
    image.pixels[i] = static_cast<uint8_t>(a / 2);
    image.pixels[i + 1] = static_cast<uint8_t>(a / 3);
    image.pixels[i + 2] = static_cast<uint8_t>(a / 4);
    image.pixels[i + 3] = a;
  }
  return image;
}

// The argument is the scale in percent.
void BM_ComposePanel(benchmark::State& state) {
  const auto scale = static_cast<int32_t>(state.range(0));
  const int32_t side = kButtonSide * scale / 100;
  testing_support::NullPlatform platform;
  const std::wstring folder = gs::ImagesPath();
  platform.images.Add(folder + L"panel.png",
                      Picture(kPanelWidth * scale / 100, kPanelHeight * scale / 100));
  platform.images.Add(folder + L"button.png", Picture(side, side));

  auto root = gs::CreateImage(L"panel.png");
  root->SetAutoSize(true);
  for (int i = 0; i < kButtons; ++i) {
    gs::WdgButton* button =
        root->Adopt(gs::CreateButton({L"button.png", L"button.png", L"button.png", L""}));
    button->SetLeft((4 + i * kButtonSide) * scale / 100);
    button->SetTop(30 * scale / 100);
  }

  TBitmap frame;
  frame.SetPixelFormat(TPixelFormat::pf32bit);
  frame.Canvas().Brush().SetColor(0);
  for (auto _ : state) {
    frame.SetSize(root->Width(), root->Height());
    frame.Canvas().FillRect({0, 0, frame.Width(), frame.Height()});
    root->PaintTo(frame);
    benchmark::DoNotOptimize(frame.ScanLine(0));
  }
}

BENCHMARK(BM_ComposePanel)
    ->Name("ComposePanel/341x113+7x48x48")
    ->ArgName("scale")
    ->Arg(100)
    ->Arg(200)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

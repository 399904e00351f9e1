// Composing the expanded panel the way each repaint does: a fresh 32-bit
// bitmap of the root's size, filled black, into which the root paints itself
// and its seven buttons.
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

void BM_ComposePanel(benchmark::State& state) {
  testing_support::NullPlatform platform;
  const std::wstring folder = gs::ImagesPath();
  platform.images.Add(folder + L"panel.png", Picture(kPanelWidth, kPanelHeight));
  platform.images.Add(folder + L"button.png", Picture(kButtonSide, kButtonSide));

  auto root = gs::CreateImage(L"panel.png");
  root->SetAutoSize(true);
  for (int i = 0; i < kButtons; ++i) {
    gs::WdgButton* button =
        root->Adopt(gs::CreateButton({L"button.png", L"button.png", L"button.png", L""}));
    button->SetLeft(4 + i * kButtonSide);
    button->SetTop(30);
  }

  for (auto _ : state) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(TPixelFormat::pf32bit);
    bitmap->Canvas().Brush().SetColor(0);
    bitmap->SetSize(root->Width(), root->Height());
    root->PaintTo(*bitmap);
    benchmark::DoNotOptimize(bitmap->ScanLine(0));
  }
}

BENCHMARK(BM_ComposePanel)->Name("ComposePanel/341x113+7x48x48")->Unit(benchmark::kMicrosecond);

}  // namespace

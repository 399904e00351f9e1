// A whole panel composed through PaintTo must equal the same pictures blended
// by hand, in painting order, with the blending helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/bitmap.h"
#include "effects/blend.h"
#include "gs/image_loader.h"
#include "gs/widget_factories.h"
#include "null_platform.h"

namespace {

// A premultiplied picture whose colour and alpha vary over every pixel.
platform::DecodedImage Gradient(int32_t width, int32_t height, int seed) {
  platform::DecodedImage image{width, height, {}};
  image.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  size_t i = 0;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x, i += 4) {
      const uint32_t a = static_cast<uint32_t>(x * 11 + y * 7 + seed * 37) % 256;
      image.pixels[i] = static_cast<uint8_t>(static_cast<uint32_t>(x * 5 + seed) % 256 * a / 255);
      image.pixels[i + 1] =
          static_cast<uint8_t>(static_cast<uint32_t>(y * 9 + seed * 3) % 256 * a / 255);
      image.pixels[i + 2] =
          static_cast<uint8_t>(static_cast<uint32_t>(x + y + seed * 5) % 256 * a / 255);
      image.pixels[i + 3] = static_cast<uint8_t>(a);
    }
  }
  return image;
}

std::unique_ptr<TBitmap> FreshTarget(int32_t width, int32_t height) {
  auto target = std::make_unique<TBitmap>();
  target->SetPixelFormat(TPixelFormat::pf32bit);
  target->Canvas().Brush().SetColor(0);
  target->SetSize(width, height);
  return target;
}

void Blend(TBitmap& target, int32_t left, int32_t top, const TBitmap& picture, uint8_t opacity) {
  AlphaBlendBitmap(target, {left, top, left + picture.Width(), top + picture.Height()}, picture,
                   {0, 0}, opacity);
}

std::string FirstDifference(const TBitmap& a, const TBitmap& b) {
  for (int32_t y = 0; y < a.Height(); ++y) {
    for (int32_t x = 0; x < a.Width(); ++x) {
      if (std::memcmp(a.ScanLine(y) + x * 4, b.ScanLine(y) + x * 4, 4) != 0) {
        return std::to_string(x) + "," + std::to_string(y);
      }
    }
  }
  return "none";
}

TEST(WidgetCompositionTest, PaintToMatchesTheSamePicturesBlendedByHand) {
  testing_support::NullPlatform platform;
  const std::wstring folder = gs::ImagesPath();
  platform.images.Add(folder + L"panel.png", Gradient(341, 113, 0));
  for (int i = 0; i < 4; ++i) {
    const std::wstring state = std::to_wstring(i);
    platform.images.Add(folder + L"b\\" + state + L".png", Gradient(48, 48, 10 + i));
  }
  const gs::ButtonImageNames names{L"b\\0.png", L"b\\1.png", L"b\\2.png", L"b\\3.png"};

  auto root = gs::CreateImage(L"panel.png");
  root->SetAutoSize(true);
  gs::WdgButton* plain = root->Adopt(gs::CreateButton(names));
  gs::WdgButton* faint = root->Adopt(gs::CreateButton(names));
  gs::WdgButton* hidden = root->Adopt(gs::CreateButton(names));
  gs::WdgButton* disabled = root->Adopt(gs::CreateButton(names));
  gs::WdgButton* hovered = root->Adopt(gs::CreateButton(names));
  plain->SetBounds(10, 20, plain->Width(), plain->Height());
  faint->SetBounds(40, 40, faint->Width(), faint->Height());  // overlaps plain
  faint->SetOpacity(128);
  hidden->SetBounds(100, 10, 48, 48);
  hidden->SetVisible(false);
  disabled->SetBounds(150, 30, 48, 48);
  disabled->SetEnabled(false);
  hovered->SetBounds(310, 80, 48, 48);  // reaches beyond the panel
  root->MouseMove({}, 320, 90);

  auto composed = FreshTarget(root->Width(), root->Height());
  root->PaintTo(*composed);

  auto expected = FreshTarget(341, 113);
  Blend(*expected, 0, 0, root->Picture(), 255);
  Blend(*expected, 10, 20, plain->Appearance().Raised(), 255);
  Blend(*expected, 40, 40, faint->Appearance().Raised(), 128);
  Blend(*expected, 150, 30, disabled->Appearance().Disabled(), 255);
  Blend(*expected, 310, 80, hovered->Appearance().Hovered(), 255);

  ASSERT_EQ(composed->Width(), 341);
  ASSERT_EQ(composed->Height(), 113);
  EXPECT_EQ(FirstDifference(*composed, *expected), "none");

  // The comparison sees a single widget more.
  hidden->SetVisible(true);
  auto withHidden = FreshTarget(341, 113);
  root->PaintTo(*withHidden);
  EXPECT_NE(FirstDifference(*withHidden, *expected), "none");
}

}  // namespace

#include "gs/per_pixel_layered_window.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/bitmap.h"
#include "base/form.h"
#include "null_platform.h"

namespace {

using platform::kExStyleLayered;
using platform::kExStyleTopmost;
using platform::kExStyleTransparent;

class LayeredTestForm : public TForm {
 public:
  LayeredTestForm() : TForm(Resource()) {}
  std::wstring ClassName() const override { return L"TLayeredTestForm"; }

 private:
  static TFormResource Resource() {
    TFormResource resource;
    resource.Left = 300;
    resource.Top = 20;
    resource.ClientWidth = 76;
    resource.ClientHeight = 27;
    resource.BorderStyle = TFormBorderStyle::bsNone;
    return resource;
  }
};

class LayeredWindowTest : public ::testing::Test {
 protected:
  // A window whose extended style already holds some bits of its own.
  platform::WindowHandle Window(uint32_t exStyle) {
    platform::WindowParams params;
    params.exStyle = exStyle;
    return platform.windows.CreateWindow(params, nullptr);
  }
  static void Picture(TBitmap& bitmap, TPixelFormat format, int32_t width, int32_t height) {
    bitmap.SetPixelFormat(format);
    bitmap.SetSize(width, height);
    for (int32_t y = 0; y < height; ++y) {
      uint8_t* row = bitmap.ScanLine(y);
      for (int32_t i = 0; i < bitmap.Stride(); ++i) row[i] = static_cast<uint8_t>(y * 31 + i);
    }
  }
  // The maker the program uses.
  static void ProgramSettings(gs::TPerPixelLayeredWindowMaker& maker) {
    maker.SetUseConstantAlpha(true);
    maker.SetAlpha(230);
    maker.SetUsePerPixelAlpha(true);
  }
  static std::vector<uint8_t> BlendMemory(const platform::BlendBytes& blend) {
    std::vector<uint8_t> bytes(sizeof blend);
    std::memcpy(bytes.data(), &blend, sizeof blend);
    return bytes;
  }

  testing_support::NullPlatform platform;
};

TEST_F(LayeredWindowTest, StartsWithTheDefaultsAndFindsTheLayeredUpdate) {
  gs::TPerPixelLayeredWindowMaker maker;
  EXPECT_EQ(maker.ColorKey(), 0xFFFFFFFFu);
  EXPECT_FALSE(maker.UseColorKey() || maker.ClickThrough() || maker.UseConstantAlpha() ||
               maker.UsePerPixelAlpha());
  EXPECT_EQ(maker.Alpha(), 255);
  EXPECT_TRUE(maker.UpdateLayeredWindowAvailable());
}

TEST_F(LayeredWindowTest, TheProgramsSettingsPushWithConstantAlpha230OverPerPixelAlpha) {
  gs::TPerPixelLayeredWindowMaker maker;
  ProgramSettings(maker);
  const platform::WindowHandle window = Window(kExStyleTopmost | kExStyleTransparent | 0x100);
  TBitmap bitmap;
  Picture(bitmap, TPixelFormat::pf32bit, 5, 3);
  maker.UpdateFromBitmap(window, bitmap);

  EXPECT_EQ(platform.windows.At(window).exStyle, kExStyleTopmost | 0x100 | kExStyleLayered);
  ASSERT_EQ(platform.windows.pushes.size(), 1u);
  const auto& push = platform.windows.pushes[0];
  EXPECT_EQ(push.window, window);
  EXPECT_EQ(BlendMemory(push.blend), (std::vector<uint8_t>{0x00, 0x00, 0xE6, 0x01}));
  EXPECT_EQ(push.flags, 2u);  // ULW_ALPHA
  EXPECT_EQ(push.colorKey, 0xFFFFFFFFu);
  EXPECT_EQ(push.bitsPerPixel, 32);
  EXPECT_EQ(push.width, 5);
  EXPECT_EQ(push.height, 3);
  EXPECT_EQ(push.pixels, std::vector<uint8_t>(bitmap.ScanLine(0), bitmap.ScanLine(0) + 5 * 3 * 4));

  // Already layered: the next push writes no style.
  maker.UpdateFromBitmap(window, bitmap);
  EXPECT_EQ(platform.windows.exStyleWrites.size(), 1u);
  EXPECT_EQ(platform.windows.pushes.size(), 2u);
  EXPECT_TRUE(platform.windows.redrawFlags.empty());
}

TEST_F(LayeredWindowTest, PerPixelAlphaAloneNeedsA32BitSourceAndKeepsFullConstantAlpha) {
  gs::TPerPixelLayeredWindowMaker maker;
  maker.SetUsePerPixelAlpha(true);
  const platform::WindowHandle window = Window(0);
  TBitmap bitmap;
  Picture(bitmap, TPixelFormat::pf32bit, 2, 2);
  maker.UpdateFromBitmap(window, bitmap);
  ASSERT_EQ(platform.windows.pushes.size(), 1u);
  EXPECT_EQ(BlendMemory(platform.windows.pushes[0].blend),
            (std::vector<uint8_t>{0x00, 0x00, 0xFF, 0x01}));

  bitmap.SetPixelFormat(TPixelFormat::pf24bit);
  maker.UpdateFromBitmap(window, bitmap);  // no mode applies: the window leaves layered mode
  EXPECT_EQ(platform.windows.pushes.size(), 1u);
  EXPECT_EQ(platform.windows.At(window).exStyle, 0u);
}

TEST_F(LayeredWindowTest, ConstantAlphaAloneSelectsAlphaModeEvenFor24Bits) {
  gs::TPerPixelLayeredWindowMaker maker;
  maker.SetUseConstantAlpha(true);
  maker.SetAlpha(99);
  const platform::WindowHandle window = Window(0);
  TBitmap bitmap;
  Picture(bitmap, TPixelFormat::pf24bit, 3, 2);
  maker.UpdateFromBitmap(window, bitmap);
  ASSERT_EQ(platform.windows.pushes.size(), 1u);
  const auto& push = platform.windows.pushes[0];
  // The per-pixel format flag stays, as the platform ignores it for 24 bits.
  EXPECT_EQ(BlendMemory(push.blend), (std::vector<uint8_t>{0x00, 0x00, 99, 0x01}));
  EXPECT_EQ(push.bitsPerPixel, 24);
  EXPECT_EQ(push.pixels.size(), 3u * 2u * 3u);
  EXPECT_EQ(platform.windows.At(window).exStyle, kExStyleLayered);
}

TEST_F(LayeredWindowTest, LeavingLayeredModeRedrawsOnceAndOnlyWhenTheStyleChanged) {
  gs::TPerPixelLayeredWindowMaker maker;
  maker.SetUsePerPixelAlpha(true);
  const platform::WindowHandle window = Window(kExStyleTopmost | kExStyleLayered);
  TBitmap bitmap;
  Picture(bitmap, TPixelFormat::pf24bit, 4, 4);
  maker.UpdateFromBitmap(window, bitmap);
  EXPECT_EQ(platform.windows.At(window).exStyle, kExStyleTopmost);
  EXPECT_EQ(platform.windows.redrawFlags, (std::vector<uint32_t>{0x485}));
  EXPECT_TRUE(platform.windows.pushes.empty());

  maker.UpdateFromBitmap(window, bitmap);
  EXPECT_EQ(platform.windows.redrawFlags.size(), 1u);
  EXPECT_EQ(platform.windows.exStyleWrites.size(), 1u);
}

TEST_F(LayeredWindowTest, ColourKeyModePushesTheKeyWithTheTemplateBlend) {
  gs::TPerPixelLayeredWindowMaker maker;
  maker.SetUseColorKey(true);
  maker.SetColorKey(0x00FF00FF);
  maker.SetClickThrough(true);
  maker.SetAlpha(10);  // no constant alpha in this mode
  const platform::WindowHandle window = Window(kExStyleTopmost);
  TBitmap bitmap;
  Picture(bitmap, TPixelFormat::pf32bit, 2, 1);
  maker.UpdateFromBitmap(window, bitmap);  // per-pixel alpha is off, so alpha mode does not apply
  ASSERT_EQ(platform.windows.pushes.size(), 1u);
  const auto& push = platform.windows.pushes[0];
  EXPECT_EQ(push.flags, 1u);  // ULW_COLORKEY
  EXPECT_EQ(push.colorKey, 0x00FF00FFu);
  EXPECT_EQ(BlendMemory(push.blend), (std::vector<uint8_t>{0x00, 0x00, 0xFF, 0x01}));
  EXPECT_EQ(platform.windows.At(window).exStyle,
            kExStyleTopmost | kExStyleLayered | kExStyleTransparent);
}

TEST_F(LayeredWindowTest, ClickThroughIsKeptWhenTheWindowLeavesLayeredMode) {
  gs::TPerPixelLayeredWindowMaker maker;
  maker.SetClickThrough(true);
  const platform::WindowHandle window = Window(kExStyleLayered);
  TBitmap bitmap;
  maker.UpdateFromBitmap(window, bitmap);
  EXPECT_EQ(platform.windows.At(window).exStyle, kExStyleTransparent);
  EXPECT_EQ(platform.windows.redrawFlags.size(), 1u);
}

TEST_F(LayeredWindowTest, AChangedAlphaShowsOnlyAtTheNextPush) {
  gs::TPerPixelLayeredWindowMaker maker;
  ProgramSettings(maker);
  const platform::WindowHandle window = Window(0);
  TBitmap bitmap;
  Picture(bitmap, TPixelFormat::pf32bit, 2, 2);
  maker.UpdateFromBitmap(window, bitmap);
  maker.SetAlpha(100);
  maker.SetUseConstantAlpha(true);
  EXPECT_EQ(platform.windows.pushes.size(), 1u);
  EXPECT_EQ(platform.windows.exStyleWrites.size(), 1u);
  maker.UpdateFromBitmap(window, bitmap);
  ASSERT_EQ(platform.windows.pushes.size(), 2u);
  EXPECT_EQ(platform.windows.pushes[0].blend.sourceConstantAlpha, 230);
  EXPECT_EQ(platform.windows.pushes[1].blend.sourceConstantAlpha, 100);
}

TEST_F(LayeredWindowTest, WithoutLayeredUpdatesTheWindowIsLeftAsItIs) {
  platform.windows.layeredAvailable = false;
  gs::TPerPixelLayeredWindowMaker maker;
  platform.windows.layeredAvailable = true;  // looked up once, at construction
  ProgramSettings(maker);
  EXPECT_FALSE(maker.UpdateLayeredWindowAvailable());
  const platform::WindowHandle window = Window(kExStyleTopmost);
  TBitmap bitmap;
  Picture(bitmap, TPixelFormat::pf32bit, 2, 2);
  maker.UpdateFromBitmap(window, bitmap);
  maker.SetUseConstantAlpha(false);
  maker.SetUsePerPixelAlpha(false);
  maker.SetUseColorKey(true);
  maker.UpdateFromBitmap(window, bitmap);
  EXPECT_TRUE(platform.windows.pushes.empty());
  EXPECT_TRUE(platform.windows.exStyleWrites.empty());
}

TEST_F(LayeredWindowTest, UpdateFormCreatesTheFormsWindowAndPushesToIt) {
  LayeredTestForm form;
  gs::TPerPixelLayeredWindowMaker maker;
  ProgramSettings(maker);
  TBitmap bitmap;
  Picture(bitmap, TPixelFormat::pf32bit, 341, 113);
  ASSERT_TRUE(platform.windows.windows.empty());
  maker.UpdateForm(form, bitmap);
  ASSERT_EQ(platform.windows.windows.size(), 1u);
  ASSERT_EQ(platform.windows.pushes.size(), 1u);
  EXPECT_EQ(platform.windows.pushes[0].window, form.Handle());
  EXPECT_EQ(platform.windows.windows.size(), 1u);
  maker.UpdateForm(form, bitmap);
  EXPECT_EQ(platform.windows.windows.size(), 1u);
  EXPECT_EQ(platform.windows.pushes[1].window, form.Handle());
}

TEST_F(LayeredWindowTest, ASourceThatIsNotABitmapGivesNoPixels) {
  gs::TPerPixelLayeredWindowMaker maker;
  TObject other;
  const platform::LayeredSource source = maker.GetBitmapHandle(other);
  EXPECT_EQ(source.pixels.bits, nullptr);
  EXPECT_EQ(source.bitsPerPixel, 0);
}

}  // namespace

#include "gs/per_pixel_layered_window.h"

#include <gtest/gtest.h>

#include "base/bitmap.h"
#include "base/form.h"
#include "null_platform.h"

namespace {

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
  // A window that is layered and click-through, or not, to start with.
  platform::WindowHandle Window(bool layered = false, bool clickThrough = false) {
    const platform::WindowHandle window =
        platform.windows.CreateWindow(platform::WindowParams{}, nullptr);
    platform.windows.At(window).layered = layered;
    platform.windows.At(window).clickThrough = clickThrough;
    return window;
  }
  const testing_support::NullWindowing::Window& At(platform::WindowHandle window) {
    return platform.windows.At(window);
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

  testing_support::NullPlatform platform;
};

TEST_F(LayeredWindowTest, TheProgramsSettingsPushWithConstantAlpha230OverPerPixelAlpha) {
  gs::TPerPixelLayeredWindowMaker maker;
  ProgramSettings(maker);
  const platform::WindowHandle window = Window(false, true);
  TBitmap bitmap;
  Picture(bitmap, TPixelFormat::pf32bit, 5, 3);
  maker.UpdateFromBitmap(window, bitmap);

  EXPECT_TRUE(At(window).layered);
  EXPECT_FALSE(At(window).clickThrough);
  ASSERT_EQ(platform.windows.pushes.size(), 1u);
  const auto& push = platform.windows.pushes[0];
  EXPECT_EQ(push.window, window);
  EXPECT_FALSE(push.colorKeyed);
  EXPECT_EQ(push.opacity, 230);
  EXPECT_EQ(push.bitsPerPixel, 32);
  EXPECT_EQ(push.width, 5);
  EXPECT_EQ(push.height, 3);
  EXPECT_EQ(push.pixels, std::vector<uint8_t>(bitmap.ScanLine(0), bitmap.ScanLine(0) + 5 * 3 * 4));

  // Already layered: the next push changes no mode.
  maker.UpdateFromBitmap(window, bitmap);
  EXPECT_EQ(platform.windows.layeredChanges, 1);
  EXPECT_EQ(platform.windows.pushes.size(), 2u);
  EXPECT_EQ(At(window).redraws, 0);
}

TEST_F(LayeredWindowTest, PerPixelAlphaAloneNeedsA32BitSourceAndKeepsFullConstantAlpha) {
  gs::TPerPixelLayeredWindowMaker maker;
  maker.SetUsePerPixelAlpha(true);
  const platform::WindowHandle window = Window();
  TBitmap bitmap;
  Picture(bitmap, TPixelFormat::pf32bit, 2, 2);
  maker.UpdateFromBitmap(window, bitmap);
  ASSERT_EQ(platform.windows.pushes.size(), 1u);
  EXPECT_FALSE(platform.windows.pushes[0].colorKeyed);
  EXPECT_EQ(platform.windows.pushes[0].opacity, 255);

  bitmap.SetPixelFormat(TPixelFormat::pf24bit);
  maker.UpdateFromBitmap(window, bitmap);  // no mode applies: the window leaves layered mode
  EXPECT_EQ(platform.windows.pushes.size(), 1u);
  EXPECT_FALSE(At(window).layered);
}

TEST_F(LayeredWindowTest, ConstantAlphaAloneSelectsAlphaModeEvenFor24Bits) {
  gs::TPerPixelLayeredWindowMaker maker;
  maker.SetUseConstantAlpha(true);
  maker.SetAlpha(99);
  const platform::WindowHandle window = Window();
  TBitmap bitmap;
  Picture(bitmap, TPixelFormat::pf24bit, 3, 2);
  maker.UpdateFromBitmap(window, bitmap);
  ASSERT_EQ(platform.windows.pushes.size(), 1u);
  const auto& push = platform.windows.pushes[0];
  EXPECT_FALSE(push.colorKeyed);
  EXPECT_EQ(push.opacity, 99);
  EXPECT_EQ(push.bitsPerPixel, 24);
  EXPECT_EQ(push.pixels.size(), 3u * 2u * 3u);
  EXPECT_TRUE(At(window).layered);
}

TEST_F(LayeredWindowTest, LeavingLayeredModeRedrawsOnceAndOnlyWhenTheStyleChanged) {
  gs::TPerPixelLayeredWindowMaker maker;
  maker.SetUsePerPixelAlpha(true);
  const platform::WindowHandle window = Window(true);
  TBitmap bitmap;
  Picture(bitmap, TPixelFormat::pf24bit, 4, 4);
  maker.UpdateFromBitmap(window, bitmap);
  EXPECT_FALSE(At(window).layered);
  EXPECT_EQ(At(window).redraws, 1);
  EXPECT_TRUE(platform.windows.pushes.empty());

  maker.UpdateFromBitmap(window, bitmap);
  EXPECT_EQ(At(window).redraws, 1);
  EXPECT_EQ(platform.windows.layeredChanges, 1);
}

TEST_F(LayeredWindowTest, ColourKeyModePushesTheKeyAndMakesTheWindowClickThrough) {
  gs::TPerPixelLayeredWindowMaker maker;
  maker.SetUseColorKey(true);
  maker.SetColorKey(0x00FF00FF);
  maker.SetClickThrough(true);
  maker.SetAlpha(10);  // no constant alpha in this mode
  const platform::WindowHandle window = Window();
  TBitmap bitmap;
  Picture(bitmap, TPixelFormat::pf32bit, 2, 1);
  maker.UpdateFromBitmap(window, bitmap);  // per-pixel alpha is off, so alpha mode does not apply
  ASSERT_EQ(platform.windows.pushes.size(), 1u);
  const auto& push = platform.windows.pushes[0];
  EXPECT_TRUE(push.colorKeyed);
  EXPECT_EQ(push.colorKey, 0x00FF00FFu);
  EXPECT_TRUE(At(window).layered);
  EXPECT_TRUE(At(window).clickThrough);
}

TEST_F(LayeredWindowTest, ClickThroughIsKeptWhenTheWindowLeavesLayeredMode) {
  gs::TPerPixelLayeredWindowMaker maker;
  maker.SetClickThrough(true);
  const platform::WindowHandle window = Window(true);
  TBitmap bitmap;
  maker.UpdateFromBitmap(window, bitmap);
  EXPECT_FALSE(At(window).layered);
  EXPECT_TRUE(At(window).clickThrough);
  EXPECT_EQ(At(window).redraws, 1);
}

TEST_F(LayeredWindowTest, AChangedAlphaShowsOnlyAtTheNextPush) {
  gs::TPerPixelLayeredWindowMaker maker;
  ProgramSettings(maker);
  const platform::WindowHandle window = Window();
  TBitmap bitmap;
  Picture(bitmap, TPixelFormat::pf32bit, 2, 2);
  maker.UpdateFromBitmap(window, bitmap);
  maker.SetAlpha(100);
  maker.SetUseConstantAlpha(true);
  EXPECT_EQ(platform.windows.pushes.size(), 1u);
  EXPECT_EQ(platform.windows.layeredChanges, 1);
  maker.UpdateFromBitmap(window, bitmap);
  ASSERT_EQ(platform.windows.pushes.size(), 2u);
  EXPECT_EQ(platform.windows.pushes[0].opacity, 230);
  EXPECT_EQ(platform.windows.pushes[1].opacity, 100);
}

TEST_F(LayeredWindowTest, WithoutLayeredUpdatesTheWindowIsLeftAsItIs) {
  platform.windows.layeredAvailable = false;
  gs::TPerPixelLayeredWindowMaker maker;
  platform.windows.layeredAvailable = true;  // looked up once, at construction
  ProgramSettings(maker);
  EXPECT_FALSE(maker.UpdateLayeredWindowAvailable());
  const platform::WindowHandle window = Window();
  TBitmap bitmap;
  Picture(bitmap, TPixelFormat::pf32bit, 2, 2);
  maker.UpdateFromBitmap(window, bitmap);
  maker.SetUseConstantAlpha(false);
  maker.SetUsePerPixelAlpha(false);
  maker.SetUseColorKey(true);
  maker.UpdateFromBitmap(window, bitmap);
  EXPECT_TRUE(platform.windows.pushes.empty());
  EXPECT_EQ(platform.windows.layeredChanges, 0);
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

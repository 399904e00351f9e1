// A button's caption under any margins, radius, shift and offset: the paint
// finishes without throwing, its temporaries stay near the size of the
// button's picture, and what shows is the caption where it belongs.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "base/bitmap.h"
#include "effects/scratch_area.h"
#include "gs/gs_widget.h"
#include "gs/image_loader.h"
#include "gs/wdg_button.h"
#include "gs/widget_factories.h"
#include "null_platform.h"
#include "text_painting.h"
#include "widget_probe.h"

namespace {

using testing_support::At;
using testing_support::Pixel;

const gs::ButtonImageNames kNames{L"Button\\X\\n.png", L"Button\\X\\d.png", L"Button\\X\\o.png",
                                  L"Button\\X\\un.png"};
constexpr Pixel kPicture{0x20, 0x20, 0x20, 0xFF};
constexpr Pixel kRed{0, 0, 255, 255};

// A 100 x 30 button at (10, 10) in a 120 x 50 root, caption "Caption" in red,
// glyph cells 6 x 10.
class CaptionSettingsTest : public ::testing::Test {
 protected:
  CaptionSettingsTest() {
    const std::wstring folder = gs::ImagesPath();
    for (const std::wstring& name : kNames)
      platform.images.AddSolid(folder + name, 100, 30, 0xFF202020);
    root.SetBounds(0, 0, 120, 50);
    button = root.Adopt(gs::CreateButton(kNames));
    button->SetLeft(10);
    button->SetTop(10);
    button->SetCaption(L"Caption");
    Raised().Font().SetHeight(-10);
    Raised().Font().SetColor(clRed);
  }

  gs::GsTextRadiationEffect& Raised() { return button->TextEffect().Raised(); }

  void Margins(int32_t value) {
    button->Margins().SetLeft(value);
    button->Margins().SetTop(value);
    button->Margins().SetRight(value);
    button->Margins().SetBottom(value);
  }

  // Paints the tree and requires that nothing escaped and that no temporary
  // went beyond the budget of the button's picture.
  void Compose(const std::string& what) {
    target.SetPixelFormat(TPixelFormat::pf32bit);
    target.SetSize(120, 50);
    target.Canvas().Brush().SetColor(clBlack);
    target.Canvas().FillRect({0, 0, 120, 50});
    ASSERT_NO_THROW(root.PaintTo(target)) << what;
    EXPECT_LE(noting.largest, ScratchBudget(100, 30)) << what;
  }

  testing_support::NullPlatform platform;
  testing_support::LargestTargetRasterizer noting{platform.text};
  testing_support::ScopedTextRasterizer useNoting{noting};
  gs::GsWidget root;
  gs::WdgButton* button = nullptr;
  TBitmap target;
};

TEST_F(CaptionSettingsTest, HugeNegativeMarginsWithALargeRadiusShowTheCentredCaption) {
  // Margins of -3000 and radius 2900: the text rectangle is (-100, -100, 200,
  // 130) of the button, "Caption" centred in it at x 29..70, y 10..19.
  Margins(-3000);
  Raised().SetRadius(2900);
  Compose("margins -3000, radius 2900");
  EXPECT_EQ(At(target, 10 + 29, 10 + 10), kRed);
  EXPECT_EQ(At(target, 10 + 70, 10 + 19), kRed);
  // The halo, pale yellow, right beside the text; the picture beyond the button.
  EXPECT_GE(At(target, 10 + 27, 10 + 12)[3], 250);
  EXPECT_GT(At(target, 10 + 27, 10 + 12)[1], At(target, 10 + 27, 10 + 12)[0]);
  EXPECT_EQ(At(target, 5, 5), (Pixel{0, 0, 0, 0}));
  EXPECT_EQ(Raised().GlowPainter().Factory().CachedFilter(), nullptr);
}

TEST_F(CaptionSettingsTest, ExtremeShiftsRadiiMarginsAndOffsetsNeverThrow) {
  const int32_t shifts[] = {INT32_MIN, -12000, 12000, INT32_MAX};
  for (int32_t shift : shifts) {
    Raised().SetRadius(2);
    Raised().SetRadiationX(shift);
    Raised().SetRadiationY(shift / 2);
    Compose("shift " + std::to_string(shift));
    Raised().SetRadiationX(0);
    Raised().SetRadiationY(0);
  }
  for (int32_t margin : {INT32_MIN, -1000000, -3000, 3000, INT32_MAX}) {
    for (uint32_t radius : {0U, 3U, 2900U, 0x7FFFFFFFU, 0xFFFFFFFFU}) {
      Margins(margin);
      Raised().SetRadius(radius);
      Compose("margin " + std::to_string(margin) + " radius " + std::to_string(radius));
    }
  }
  // A pressed, hovered button draws with the Sunken effect and its offsets.
  Margins(-5000);
  root.MouseMove(widget_testing::kNoButtons, 20, 20);
  root.MouseDown(mbLeft, widget_testing::kLeftHeld, 20, 20);
  for (int32_t offset : {INT32_MIN, -40, INT32_MAX}) {
    button->TextEffect().Sunken().SetRadius(4000);
    button->TextEffect().Sunken().SetOffsetX(offset);
    button->TextEffect().Sunken().SetOffsetY(offset / -3);
    Compose("offset " + std::to_string(offset));
  }
  EXPECT_EQ(button->State(), 1);
}

TEST_F(CaptionSettingsTest, AnExtremeShiftStillDrawsTheTextFromItsRectanglesStart) {
  // RadiationX -12000 widens the text rectangle to (0, 0, 12100, 30): the
  // centred caption moves far out of the button and only the picture shows.
  Raised().SetRadiationX(-12000);
  Compose("shift -12000");
  for (int32_t x = 10; x < 110; x += 3) EXPECT_EQ(At(target, x, 25), kPicture) << x;
  // Left-aligned it stays at the start.
  button->SetAlignment(gs::GsAlignment::Left);
  Compose("shift -12000, left");
  EXPECT_EQ(At(target, 10, 10 + 10), kRed);
}

}  // namespace

#include "gs/text_radiation_effect.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "base/font.h"
#include "function_handler.h"
#include "null_platform.h"
#include "same_font.h"
#include "text_painting.h"

namespace {

using testing_support::At;
using testing_support::Fill;
using testing_support::Pixel;

constexpr Pixel kClear{0, 0, 0, 0};
constexpr Pixel kRed{0, 0, 255, 255};

class TextRadiationEffectTest : public ::testing::Test {
 protected:
  testing_support::NullPlatform platform;
  int reports = 0;
  std::vector<TObject*> senders;
  testing_support::FunctionHandler<TObject*> recorder{[this](TObject* sender) {
    ++reports;
    senders.push_back(sender);
  }};
  gs::GsTextRadiationEffect effect{recorder.Event()};
};

TEST_F(TextRadiationEffectTest, ValueSettersReportOnlyRealChanges) {
  struct Setting {
    std::string name;
    std::function<void()> keep, change;
    std::function<bool()> changed;
  };
  const std::vector<Setting> settings{
      {"Opacity", [&] { effect.SetOpacity(255); }, [&] { effect.SetOpacity(0); },
       [&] { return effect.Opacity() == 0; }},
      {"Radius", [&] { effect.SetRadius(0); }, [&] { effect.SetRadius(7); },
       [&] { return effect.Radius() == 7; }},
      {"Spread", [&] { effect.SetSpread(0); }, [&] { effect.SetSpread(255); },
       [&] { return effect.Spread() == 255; }},
      {"Color", [&] { effect.SetColor(0xBFFFFF); }, [&] { effect.SetColor(clGrayText); },
       [&] { return effect.Color() == clGrayText; }},
      {"RadiationX", [&] { effect.SetRadiationX(0); }, [&] { effect.SetRadiationX(-3); },
       [&] { return effect.RadiationX() == -3; }},
      {"RadiationY", [&] { effect.SetRadiationY(0); }, [&] { effect.SetRadiationY(9); },
       [&] { return effect.RadiationY() == 9; }},
      {"OffsetX", [&] { effect.SetOffsetX(0); }, [&] { effect.SetOffsetX(2); },
       [&] { return effect.OffsetX() == 2; }},
      {"OffsetY", [&] { effect.SetOffsetY(0); }, [&] { effect.SetOffsetY(-2); },
       [&] { return effect.OffsetY() == -2; }},
  };
  for (const Setting& setting : settings) {
    reports = 0;
    setting.keep();
    EXPECT_EQ(reports, 0) << setting.name;
    setting.change();
    EXPECT_EQ(reports, 1) << setting.name;
    EXPECT_TRUE(setting.changed()) << setting.name;
    setting.change();
    EXPECT_EQ(reports, 1) << setting.name;
  }
  EXPECT_THAT(senders, ::testing::Each(&effect));
}

TEST_F(TextRadiationEffectTest, GlowSettingsLiveInTheGlowPainter) {
  effect.SetOpacity(10);
  effect.SetRadius(4);
  effect.SetSpread(20);
  effect.SetColor(0x123456);
  effect.SetRadiationX(5);
  effect.SetRadiationY(6);
  const TOuterGlowTextPainter& painter = effect.GlowPainter();
  EXPECT_EQ(painter.Opacity(), 10);
  EXPECT_EQ(painter.Radius(), 4);
  EXPECT_EQ(painter.Spread(), 20);
  EXPECT_EQ(painter.Color(), 0x123456U);
  EXPECT_EQ(painter.RadiationX(), 5);
  EXPECT_EQ(painter.RadiationY(), 6);
}

TEST_F(TextRadiationEffectTest, ARadiusAboveTheSignedRangeIsKeptButDrawsAsZero) {
  effect.SetRadius(0x80000000U);
  EXPECT_EQ(effect.Radius(), 0x80000000U);
  EXPECT_EQ(effect.GlowPainter().EffectiveRadius(), 0);
  reports = 0;
  effect.SetRadius(0x80000000U);
  EXPECT_EQ(reports, 0);
}

TEST_F(TextRadiationEffectTest, OwnFontIsNoChangeButAnEqualOtherFontIs) {
  effect.SetFont(effect.Font());
  EXPECT_EQ(reports, 0);
  TFont other;
  effect.SetFont(other);
  EXPECT_EQ(reports, 1);
  other.SetStyle(fsBold);
  other.SetHeight(-20);
  effect.SetFont(other);
  EXPECT_EQ(reports, 2);
  EXPECT_TRUE(testing_support::SameFont(effect.Font(), other));
  EXPECT_NE(&effect.Font(), &other);
  // Changes made on the font itself are not reported.
  effect.Font().SetColor(clRed);
  EXPECT_EQ(reports, 2);
}

TEST_F(TextRadiationEffectTest, AssignCopiesEverythingAndReportsOnceToTheDestination) {
  int sourceReports = 0;
  testing_support::FunctionHandler<TObject*> sourceCounter([&](TObject*) { ++sourceReports; });
  gs::GsTextRadiationEffect source(sourceCounter.Event());
  source.SetOpacity(1);
  source.SetRadius(2);
  source.SetSpread(3);
  source.SetColor(4);
  source.SetRadiationX(5);
  source.SetRadiationY(6);
  source.SetOffsetX(7);
  source.SetOffsetY(8);
  source.Font().SetName(L"Verdana");
  sourceReports = 0;
  TTextPainter& ownPainter = effect.GetPainter();
  effect.Assign(source);
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(sourceReports, 0);
  EXPECT_EQ(effect.Opacity(), 1);
  EXPECT_EQ(effect.Radius(), 2U);
  EXPECT_EQ(effect.Spread(), 3);
  EXPECT_EQ(effect.Color(), 4U);
  EXPECT_EQ(effect.RadiationX(), 5);
  EXPECT_EQ(effect.RadiationY(), 6);
  EXPECT_EQ(effect.OffsetX(), 7);
  EXPECT_EQ(effect.OffsetY(), 8);
  EXPECT_EQ(effect.Font().Name(), L"Verdana");
  EXPECT_NE(&effect.Font(), &source.Font());
  EXPECT_EQ(&effect.GetPainter(), &ownPainter);
}

// --- drawing through the effect -------------------------------------------------

class EffectPainterTest : public TextRadiationEffectTest {
 protected:
  void SetUp() override {
    Fill(target, 40, 20, kClear);
    Set(target, 35, 5, {1, 2, 3, 4});
    effect.Font().SetHeight(-10);
    effect.Font().SetColor(clRed);
  }
  static void Set(TBitmap& bitmap, int32_t x, int32_t y, Pixel value) {
    testing_support::Set(bitmap, x, y, value);
  }

  TBitmap target;
};

TEST_F(EffectPainterTest, DrawsIntoABitmapWithTheEffectsFont) {
  effect.GetPainter().PaintText(target, L"AAAAAA", {0, 0, 30, 20}, 0, 0, true);
  EXPECT_EQ(target.Canvas().Font().Height(), -10);
  EXPECT_EQ(At(target, 0, 5), kRed);
  EXPECT_EQ(At(target, 29, 5), kRed);
  EXPECT_EQ(At(target, 30, 5), kClear);
}

TEST_F(EffectPainterTest, AnOffsetMovesTheCaptionAndCutsItAtTheRectangle) {
  effect.SetOffsetX(3);
  effect.GetPainter().PaintText(target, L"AAAAAA", {0, 0, 30, 20}, 0, 0, true);
  EXPECT_EQ(At(target, 2, 5), kClear);
  EXPECT_EQ(At(target, 3, 5), kRed);
  EXPECT_EQ(At(target, 29, 5), kRed);
  EXPECT_EQ(At(target, 30, 5), kClear);  // drawn beyond the edge in the copy, not copied back
  EXPECT_EQ(At(target, 35, 5), (Pixel{1, 2, 3, 4}));

  effect.SetOffsetX(0);
  effect.SetOffsetY(12);
  Fill(target, 40, 20, kClear);
  effect.GetPainter().PaintText(target, "A", {0, 0, 30, 18}, 0, 0, true);
  EXPECT_EQ(At(target, 0, 11), kClear);
  EXPECT_EQ(At(target, 0, 12), kRed);
  EXPECT_EQ(At(target, 0, 17), kRed);
  EXPECT_EQ(At(target, 0, 18), kClear);
}

TEST_F(EffectPainterTest, CanvasDrawingAndMeasuringIgnoreTheOffset) {
  effect.SetOffsetX(3);
  effect.SetOffsetY(4);
  effect.GetPainter().PaintText(target.Canvas(), L"A", {0, 0, 30, 20}, 0, 0, true);
  EXPECT_EQ(At(target, 0, 0), kRed);
  EXPECT_EQ(target.Canvas().Font().Color(), clRed);
  TRect rect{0, 0, 0, 0};
  effect.SetRadius(1);
  effect.Font().SetHeight(-12);
  effect.GetPainter().MeasureText(target.Canvas(), "AB", rect, 0);
  EXPECT_EQ(rect, (TRect{0, 0, 14, 14}));
  rect = {};
  effect.GetPainter().MeasureText(target.Canvas(), L"ABC", rect, 0);
  EXPECT_EQ(rect, (TRect{0, 0, 20, 14}));
}

TEST_F(EffectPainterTest, GlowSettingsTakeEffectAtTheNextPaint) {
  TTextPainter& painter = effect.GetPainter();
  painter.PaintText(target, L"A", {0, 0, 40, 20}, 0, 0, true);
  EXPECT_EQ(At(target, 6, 5), kClear);
  effect.SetRadius(1);
  Fill(target, 40, 20, kClear);
  painter.PaintText(target, L"A", {0, 0, 40, 20}, 0, 0, true);
  EXPECT_EQ(At(target, 7, 5),
            (Pixel{148, 198, 198, 198}));  // halo in pale yellow, 1 right of the text
  painter.Release();                       // the effect owns it: nothing happens
  painter.PaintText(target, L"A", {0, 0, 40, 20}, 0, 0, true);
}

}  // namespace

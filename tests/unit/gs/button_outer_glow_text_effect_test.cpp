#include "gs/button_outer_glow_text_effect.h"

#include <gtest/gtest.h>

#include "base/font.h"
#include "function_handler.h"
#include "null_platform.h"

namespace {

class ButtonTextEffectTest : public ::testing::Test {
 protected:
  void SetUp() override { effect.OnChange = TNotifyEvent(this, &ButtonTextEffectTest::Changed); }
  void Changed(TObject* sender) {
    EXPECT_EQ(sender, &effect);
    ++reports;
  }

  testing_support::NullPlatform platform;
  gs::GsButtonOuterGlowTextEffect effect;
  int reports = 0;
};

TEST_F(ButtonTextEffectTest, StatesOutsideOneToFiveGetRaisedsPainter) {
  TTextPainter& raised = effect.Raised().GetPainter();
  for (int32_t state : {0, 6, 100, -1, INT32_MIN})
    EXPECT_EQ(&effect.GetStatePainter(state), &raised) << state;
  EXPECT_EQ(&effect.GetStatePainter(1), &effect.Sunken().GetPainter());
  EXPECT_EQ(&effect.GetStatePainter(2), &effect.Hovered().GetPainter());
  EXPECT_EQ(&effect.GetStatePainter(3), &effect.Disabled().GetPainter());
  EXPECT_EQ(&effect.GetStatePainter(4), &effect.Focused().GetPainter());
  EXPECT_EQ(&effect.GetStatePainter(5), &effect.Active().GetPainter());
}

TEST_F(ButtonTextEffectTest, FirstSunkenBorrowsOnlyTheFontAndShiftsByTwo) {
  effect.Raised().SetRadius(4);
  effect.Raised().SetColor(clRed);
  effect.Raised().Font().SetStyle(fsBold);
  effect.GetStatePainter(1);
  const gs::GsTextRadiationEffect& sunken = effect.Sunken();
  EXPECT_EQ(sunken.Font().Style(), fsBold);
  EXPECT_EQ(sunken.OffsetX(), 2);
  EXPECT_EQ(sunken.OffsetY(), 2);
  EXPECT_EQ(sunken.Radius(), 0U);
  EXPECT_EQ(sunken.Color(), 0x00BFFFFFU);
  EXPECT_EQ(sunken.Opacity(), 255);
}

TEST_F(ButtonTextEffectTest, FirstDisabledCopiesRaisedInGreyAndStaysAsItWas) {
  effect.Raised().SetRadius(3);
  effect.Raised().SetOffsetX(1);
  effect.Raised().Font().SetName(L"Verdana");
  effect.GetStatePainter(3);
  gs::GsTextRadiationEffect& disabled = effect.Disabled();
  EXPECT_EQ(disabled.Radius(), 3U);
  EXPECT_EQ(disabled.OffsetX(), 1);
  EXPECT_EQ(disabled.Font().Name(), L"Verdana");
  EXPECT_EQ(disabled.Font().Color(), clGrayText);
  EXPECT_EQ(effect.Raised().Font().Color(), clWindowText);

  effect.Raised().SetRadius(9);
  effect.Raised().Font().SetName(L"Arial");
  EXPECT_EQ(disabled.Radius(), 3U);
  EXPECT_EQ(disabled.Font().Name(), L"Verdana");
}

TEST_F(ButtonTextEffectTest, HoveredFocusedAndActiveStartAsCopiesOfRaised) {
  effect.Raised().SetSpread(77);
  effect.Raised().SetRadiationY(-4);
  for (gs::GsTextRadiationEffect* state :
       {&effect.Hovered(), &effect.Focused(), &effect.Active()}) {
    EXPECT_EQ(state->Spread(), 77);
    EXPECT_EQ(state->RadiationY(), -4);
    EXPECT_EQ(state->Font().Color(), clWindowText);
  }
}

TEST_F(ButtonTextEffectTest, ChangesOfAnyStateAreReportedAsTheButtonEffects) {
  effect.Raised().SetRadius(2);
  EXPECT_EQ(reports, 1);
  reports = 0;
  effect.Hovered();  // made and filled from Raised: one report for the copy
  EXPECT_EQ(reports, 1);
  effect.Hovered().SetRadius(5);
  EXPECT_EQ(reports, 2);
  effect.Hovered().SetRadius(5);
  EXPECT_EQ(reports, 2);
}

TEST_F(ButtonTextEffectTest, AssignLeavesAllSixStatesOnBothSides) {
  gs::GsButtonOuterGlowTextEffect source;
  int sourceReports = 0;
  testing_support::FunctionHandler<TObject*> sourceCounter([&](TObject*) { ++sourceReports; });
  source.OnChange = sourceCounter.Event();
  source.Raised().SetRadius(6);
  source.Disabled().SetColor(clRed);
  effect.Assign(source);
  for (int32_t state = 0; state <= 5; ++state) {
    EXPECT_TRUE(effect.HasStateEffect(state)) << state;
    EXPECT_TRUE(source.HasStateEffect(state)) << state;
  }
  EXPECT_EQ(effect.Raised().Radius(), 6U);
  EXPECT_EQ(effect.Disabled().Color(), clRed);
  EXPECT_EQ(effect.Sunken().OffsetX(), 2);
  EXPECT_EQ(effect.Hovered().Radius(), 6U);
  EXPECT_NE(&effect.Sunken(), &source.Sunken());
  EXPECT_GT(reports, 6);
  EXPECT_GT(sourceReports, 1);
}

TEST_F(ButtonTextEffectTest, StateSettersCopyAndIgnoreTheirOwnEffect) {
  effect.SetSunken(effect.Sunken());
  const int before = reports;
  effect.SetSunken(effect.Sunken());
  EXPECT_EQ(reports, before);

  gs::GsTextRadiationEffect given;
  given.SetRadius(8);
  effect.SetActive(given);
  EXPECT_EQ(effect.Active().Radius(), 8U);
  EXPECT_NE(&effect.Active(), &given);
  effect.SetRaised(given);
  EXPECT_EQ(effect.Raised().Radius(), 8U);
  EXPECT_FALSE(effect.HasStateEffect(4));
}

}  // namespace

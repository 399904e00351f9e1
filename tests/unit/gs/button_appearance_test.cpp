#include "gs/button_appearance.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "null_platform.h"

namespace {

using gs::GsButtonAppearance;
using ::testing::ElementsAre;
using Slot = TBitmap& (GsButtonAppearance::*)();

std::unique_ptr<TBitmap> Picture(int32_t width, int32_t height) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(TPixelFormat::pf32bit);
  bitmap->SetSize(width, height);
  return bitmap;
}

class ButtonAppearanceTest : public ::testing::Test {
 protected:
  ButtonAppearanceTest()
      : appearance(gs::GsAppearanceChangeEvent(this, &ButtonAppearanceTest::Changed)) {}

  void Changed(TObject* sender, int32_t index) {
    EXPECT_EQ(sender, &appearance);
    reports.push_back(index);
  }

  // Loads the given states with pictures whose size names them (state i:
  // (10 + i) x (20 + i)), directly into the slots.
  void Load(std::initializer_list<int32_t> states) {
    static constexpr Slot kSlots[] = {&GsButtonAppearance::Raised,  &GsButtonAppearance::Sunken,
                                      &GsButtonAppearance::Hovered, &GsButtonAppearance::Disabled,
                                      &GsButtonAppearance::Focused, &GsButtonAppearance::Active};
    for (int32_t state : states)
      (appearance.*kSlots[state])().Assign(*Picture(10 + state, 20 + state));
    reports.clear();
  }

  // Which slot's picture state `state` shows, by its size; -1 for an empty one.
  int32_t Shown(int32_t state) {
    const TBitmap& shown = appearance.GetStateBitmap(state);
    return shown.Empty() ? -1 : shown.Width() - 10;
  }

  testing_support::NullPlatform platform;
  std::vector<int32_t> reports;
  GsButtonAppearance appearance;
};

TEST_F(ButtonAppearanceTest, WithOnlyRaisedEveryStateShowsRaised) {
  Load({0});
  for (int32_t state = 0; state < 6; ++state) EXPECT_EQ(Shown(state), 0) << state;
}

TEST_F(ButtonAppearanceTest, PressedFocusedAndActiveFallBackToHoveredAndDisabledToRaised) {
  Load({0, 2});
  EXPECT_EQ(Shown(1), 2);
  EXPECT_EQ(Shown(4), 2);
  EXPECT_EQ(Shown(5), 2);
  EXPECT_EQ(Shown(2), 2);
  EXPECT_EQ(Shown(3), 0);
}

TEST_F(ButtonAppearanceTest, EveryLoadedStateShowsItsOwnPicture) {
  Load({0, 1, 2, 3, 4, 5});
  for (int32_t state = 0; state < 6; ++state) EXPECT_EQ(Shown(state), state) << state;
}

TEST_F(ButtonAppearanceTest, FallbacksSkipEmptyLinksDownToRaised) {
  Load({0, 1, 3});
  EXPECT_EQ(Shown(1), 1);
  EXPECT_EQ(Shown(3), 3);
  EXPECT_EQ(Shown(4), 0);  // Focused, no Hovered, so Raised
  EXPECT_EQ(Shown(5), 0);
  EXPECT_EQ(Shown(2), 0);
}

TEST_F(ButtonAppearanceTest, APictureWithoutWidthOrHeightCountsAsEmpty) {
  Load({0});
  appearance.Hovered().Assign(*Picture(40, 0));
  appearance.Sunken().Assign(*Picture(0, 40));
  EXPECT_EQ(Shown(2), 0);
  EXPECT_EQ(Shown(1), 0);
}

TEST_F(ButtonAppearanceTest, StatesOutsideTheSlotsShowRaised) {
  Load({0, 1, 2, 3, 4, 5});
  EXPECT_EQ(Shown(6), 0);
  EXPECT_EQ(Shown(-1), 0);
  EXPECT_EQ(Shown(INT32_MIN), 0);
}

TEST_F(ButtonAppearanceTest, WithoutRaisedTheChainsEndAtTheEmptyRaisedPicture) {
  Load({1});
  EXPECT_EQ(&appearance.GetStateBitmap(0), &appearance.Raised());
  EXPECT_EQ(&appearance.GetStateBitmap(2), &appearance.Raised());
  EXPECT_EQ(&appearance.GetStateBitmap(4), &appearance.Raised());
  EXPECT_EQ(Shown(1), 1);
}

// Takes over the Hovered picture; the fallbacks of the other states follow it.
class HoverEverywhere : public GsButtonAppearance {
 public:
  HoverEverywhere() : GsButtonAppearance({}) { special_.SetSize(7, 7); }
  const TBitmap& GetStateBitmap(int32_t state) const override {
    return state == kHovered ? special_ : GsButtonAppearance::GetStateBitmap(state);
  }

 private:
  TBitmap special_;
};

TEST_F(ButtonAppearanceTest, FallbacksGoThroughTheOverridableLookup) {
  HoverEverywhere derived;
  derived.Raised().Assign(*Picture(10, 20));
  EXPECT_EQ(derived.GetStateBitmap(1).Width(), 7);
  EXPECT_EQ(derived.GetStateBitmap(3).Width(), 10);
}

TEST_F(ButtonAppearanceTest, ASetterCopiesIntoItsSlotAndReportsTwice) {
  Load({4});
  const auto owned = Picture(33, 44);
  const TBitmap& picture = *owned;
  appearance.SetActive(picture);
  EXPECT_THAT(reports, ElementsAre(5, 5));
  EXPECT_EQ(appearance.Active().Width(), 33);
  EXPECT_NE(&appearance.Active(), &picture);
  EXPECT_EQ(appearance.Focused().Width(), 14);  // untouched

  reports.clear();
  appearance.SetRaised(picture);
  appearance.SetStateBitmap(7, picture);
  EXPECT_THAT(reports, ElementsAre(0, 0));
}

TEST_F(ButtonAppearanceTest, ChangingASlotInPlaceIsReportedWithItsIndex) {
  appearance.Disabled().SetPixelFormat(TPixelFormat::pf32bit);
  appearance.Hovered().SetSize(3, 3);
  TBitmap stranger;
  appearance.BitmapChanged(&stranger);
  EXPECT_THAT(reports, ElementsAre(3, 2, 6));
}

TEST_F(ButtonAppearanceTest, AssignCopiesEverySlotAndReportsOncePerSlot) {
  GsButtonAppearance source({});
  for (int32_t i = 0; i < 6; ++i) source.SetStateBitmap(i, *Picture(50 + i, 60));
  appearance.Assign(source);
  EXPECT_THAT(reports, ElementsAre(0, 1, 2, 3, 4, 5));
  EXPECT_EQ(appearance.Raised().Width(), 50);
  EXPECT_EQ(appearance.Active().Width(), 55);
  EXPECT_NE(&appearance.Raised(), &source.Raised());
}

}  // namespace

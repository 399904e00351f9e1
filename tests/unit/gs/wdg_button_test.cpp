#include "gs/wdg_button.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "base/bitmap.h"
#include "gs/button_appearance.h"
#include "gs/image_loader.h"
#include "gs/widget_factories.h"
#include "null_platform.h"
#include "widget_probe.h"

namespace {

using ::testing::ElementsAre;
using widget_testing::CountingHost;
using widget_testing::kLeftHeld;
using widget_testing::kNoButtons;

constexpr uint32_t kRed = 0xFFFF0000;    // raised
constexpr uint32_t kGreen = 0xFF00FF00;  // sunken
constexpr uint32_t kBlue = 0xFF0000FF;   // hovered
constexpr uint32_t kGray = 0xFF808080;   // disabled

const gs::ButtonImageNames kNames{L"Button\\X\\n.png", L"Button\\X\\d.png", L"Button\\X\\o.png",
                                  L"Button\\X\\un.png"};

uint32_t PixelAt(const TBitmap& bitmap, int32_t x, int32_t y) {
  const uint8_t* p = bitmap.ScanLine(y) + x * 4;
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// A root of 200 x 200 with one button at (20, 30), its pictures 48 x 40.
class ButtonTest : public ::testing::Test {
 protected:
  ButtonTest() {
    const std::wstring folder = gs::ImagesPath();
    platform.images.AddSolid(folder + kNames[0], 48, 40, kRed);
    platform.images.AddSolid(folder + kNames[1], 48, 40, kGreen);
    platform.images.AddSolid(folder + kNames[2], 48, 40, kBlue);
    platform.images.AddSolid(folder + kNames[3], 48, 40, kGray);
    root.SetBounds(0, 0, 200, 200);
    root.SetHost(&host);
    button = root.Adopt(gs::CreateButton(kNames));
    button->SetLeft(20);
    button->SetTop(30);
    button->OnClick = gs::GsNotifyEvent(this, &ButtonTest::Clicked);
  }

  void Clicked(gs::GsWidget* sender) {
    EXPECT_EQ(sender, button);
    ++clicks;
  }

  // Composes the root as the controller does and returns the colour shown at the button's middle.
  uint32_t Shown() {
    TBitmap target;
    target.SetPixelFormat(TPixelFormat::pf32bit);
    target.Canvas().Brush().SetColor(0);
    target.SetSize(200, 200);
    root.PaintTo(target);
    return PixelAt(target, 44, 50);
  }

  void Move(int32_t x, int32_t y, TShiftState shift = kNoButtons) { root.MouseMove(shift, x, y); }

  testing_support::NullPlatform platform;
  CountingHost host;
  gs::GsWidget root;
  gs::WdgButton* button = nullptr;
  int clicks = 0;
};

TEST_F(ButtonTest, TakesTheSizeOfItsRaisedPictureFromTheImagesFolder) {
  EXPECT_EQ(button->Width(), 48);
  EXPECT_EQ(button->Height(), 40);
  EXPECT_THAT(platform.images.decoded, ElementsAre(L"C:\\Zentara\\images\\Button\\X\\n.png",
                                                   L"C:\\Zentara\\images\\Button\\X\\d.png",
                                                   L"C:\\Zentara\\images\\Button\\X\\o.png",
                                                   L"C:\\Zentara\\images\\Button\\X\\un.png"));
  EXPECT_TRUE(platform.system.messages.empty());
  EXPECT_EQ(button->Appearance().Disabled().Width(), 48);
}

TEST_F(ButtonTest, ShowsEachStateOfTheTableAtTheNextPaint) {
  EXPECT_EQ(Shown(), kRed);
  EXPECT_EQ(button->State(), 0);

  // Entering asks for nothing by itself; the move that comes with it does.
  Move(30, 40);
  EXPECT_EQ(host.invalidations, 1);
  EXPECT_EQ(Shown(), kBlue);
  EXPECT_EQ(button->State(), 2);
  Move(31, 40);
  EXPECT_EQ(host.invalidations, 1);  // already shown hovered

  root.MouseDown(mbLeft, kLeftHeld, 31, 40);
  EXPECT_TRUE(button->Pressed());
  EXPECT_EQ(host.invalidations, 2);
  EXPECT_EQ(Shown(), kGreen);

  Move(150, 150, kLeftHeld);  // dragged off: it keeps the press and its moves
  EXPECT_TRUE(button->Hovered());
  EXPECT_EQ(Shown(), kGreen);
  EXPECT_EQ(button->State(), 1);

  root.MouseUp(mbLeft, {}, 150, 150);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(button->Pressed());
  EXPECT_EQ(Shown(), kBlue);  // still marked hovered

  const int before = host.invalidations;
  Move(150, 151);
  EXPECT_EQ(host.invalidations, before + 1);
  EXPECT_EQ(button->State(), 0);
  EXPECT_EQ(Shown(), kRed);

  button->SetEnabled(false);
  EXPECT_EQ(Shown(), kGray);
  EXPECT_EQ(button->State(), 3);
}

TEST_F(ButtonTest, ADisabledButtonWithoutItsOwnPictureShowsRaised) {
  gs::WdgButton* other = root.Adopt(gs::CreateButton({kNames[0], kNames[1], kNames[2], L""}));
  other->SetLeft(100);
  other->SetEnabled(false);
  button->SetVisible(false);
  TBitmap target;
  target.SetPixelFormat(TPixelFormat::pf32bit);
  target.SetSize(200, 200);
  root.PaintTo(target);
  EXPECT_EQ(other->State(), 3);
  EXPECT_EQ(PixelAt(target, 110, 10), kRed);
}

TEST_F(ButtonTest, OnlyTheLeftButtonPressesAndAnyOtherLetsGoOfAPress) {
  Move(30, 40);
  root.MouseDown(mbRight, {ssRight}, 30, 40);
  EXPECT_FALSE(button->Pressed());
  root.MouseUp(mbRight, {}, 30, 40);
  EXPECT_EQ(clicks, 0);

  root.MouseDown(mbLeft, kLeftHeld, 30, 40);
  ASSERT_TRUE(button->Pressed());
  root.MouseDown(mbRight, {ssLeft, ssRight}, 30, 40);
  EXPECT_FALSE(button->Pressed());
  EXPECT_EQ(Shown(), kBlue);
  // The press is still held, so the left release clicks though the button no longer shows it.
  root.MouseUp(mbRight, kLeftHeld, 30, 40);
  root.MouseUp(mbLeft, {}, 30, 40);
  EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonTest, ALostReleaseLeavesThePressShownWheneverTheButtonIsHovered) {
  Move(30, 40);
  root.MouseDown(mbLeft, kLeftHeld, 30, 40);
  // The platform took over the drag, so the release never reaches the tree.
  Move(32, 41, kNoButtons);
  EXPECT_EQ(root.Capture(), nullptr);
  EXPECT_EQ(button->Capture(), nullptr);
  EXPECT_TRUE(button->Pressed());
  EXPECT_EQ(Shown(), kGreen);

  Move(150, 150);
  EXPECT_EQ(Shown(), kRed);
  Move(30, 40);
  EXPECT_EQ(Shown(), kGreen);

  root.MouseUp(mbLeft, {}, 30, 40);
  EXPECT_FALSE(button->Pressed());
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(Shown(), kBlue);
}

TEST_F(ButtonTest, ReloadingKeepsStatesWithoutANameAndFollowsTheNewRaisedSize) {
  const std::wstring folder = gs::ImagesPath();
  platform.images.AddSolid(folder + L"Button\\Y\\n.png", 64, 48, kBlue);
  platform.images.AddSolid(folder + L"Button\\Y\\d.png", 64, 48, kRed);
  const int before = host.invalidations;
  gs::ReloadButtonImages(*button, {L"Button\\Y\\n.png", L"Button\\Y\\d.png", L"", L""});
  EXPECT_EQ(host.invalidations, before);
  EXPECT_EQ(button->Width(), 64);
  EXPECT_EQ(button->Height(), 48);
  EXPECT_EQ(button->Appearance().Sunken().Width(), 64);
  EXPECT_EQ(button->Appearance().Hovered().Width(), 48);   // kept
  EXPECT_EQ(button->Appearance().Disabled().Width(), 48);  // kept

  // Only the Raised picture sizes the button.
  button->Appearance().Hovered().SetSize(10, 10);
  EXPECT_EQ(button->Width(), 64);
}

// A state named like every state it falls back to keeps no copy of the picture
// and shows it all the same; one whose fallback shows another picture keeps its own.
TEST_F(ButtonTest, AStateShowingTheRaisedPictureThroughItsFallbackKeepsNoCopy) {
  const std::wstring n = kNames[0], o = kNames[2];
  gs::ReloadButtonImages(*button, {n, n, n, L""});
  const gs::GsButtonAppearance& looks = button->Appearance();
  EXPECT_TRUE(button->Appearance().Sunken().Empty());
  EXPECT_TRUE(button->Appearance().Hovered().Empty());
  EXPECT_EQ(PixelAt(looks.GetStateBitmap(gs::GsCtrlAppearance::kSunken), 0, 0), kRed);
  EXPECT_EQ(PixelAt(looks.GetStateBitmap(gs::GsCtrlAppearance::kHovered), 0, 0), kRed);

  gs::ReloadButtonImages(*button, {n, n, o, L""});
  EXPECT_EQ(PixelAt(looks.GetStateBitmap(gs::GsCtrlAppearance::kSunken), 0, 0), kRed);
  EXPECT_EQ(PixelAt(looks.GetStateBitmap(gs::GsCtrlAppearance::kHovered), 0, 0), kBlue);
}

TEST_F(ButtonTest, CreateButtonThenSetParentAttachesTheButtonForTheRootToOwn) {
  gs::WidgetPtr<gs::WdgButton> made = gs::CreateButton(kNames);
  made->SetParent(&root);
  EXPECT_EQ(made->Parent(), &root);
  EXPECT_THAT(root.Children(), ElementsAre(button, made.get()));
  made->SetLeft(120);
  made->SetTop(120);
  gs::WdgButton* shown = made.get();
  made = gs::WidgetPtr<gs::WdgButton>();  // the root keeps it
  ASSERT_EQ(root.ChildAt(130, 130), shown);
  EXPECT_EQ(shown->Width(), 48);
}

TEST_F(ButtonTest, AMissingPictureIsReportedAndLeavesItsStateEmpty) {
  auto broken = gs::CreateButton({L"Button\\Missing\\n.png", kNames[1], L"", L""});
  ASSERT_EQ(platform.system.messages.size(), 1u);
  EXPECT_EQ(platform.system.messages[0].text,
            L"Can not load image C:\\Zentara\\images\\Button\\Missing\\n.png");
  EXPECT_EQ(platform.system.messages[0].caption, L"LoadImage");
  EXPECT_EQ(broken->Width(), 0);
  EXPECT_EQ(broken->Height(), 0);
  EXPECT_TRUE(broken->Appearance().Raised().Empty());
  EXPECT_EQ(broken->Appearance().Sunken().Width(), 48);

  // A failed reload empties the state it names.
  gs::ReloadButtonImages(*button, {L"", L"", L"Button\\Missing\\o.png", L""});
  EXPECT_TRUE(button->Appearance().Hovered().Empty());
  EXPECT_EQ(button->Width(), 48);
}

}  // namespace

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "effects/text_painter.h"
#include "gs/image_loader.h"
#include "gs/wdg_button.h"
#include "gs/wdg_custom_control.h"
#include "gs/widget_factories.h"
#include "null_platform.h"
#include "text_painting.h"
#include "widget_probe.h"

namespace {

using testing_support::At;
using testing_support::Pixel;

// Records what a control asks of its painter and measures every text as
// `measuredHeight` tall.
class RecordingPainter : public TTextPainter {
 public:
  struct Call {
    std::string what;
    std::wstring text;
    TRect rect;
    int32_t format;
    int32_t asLayer = 0;
    bool premultiplied = false;
  };

  // Narrow text or a canvas target shows in the record, as the caption code asks for neither.
  void Paint(PaintTarget target, PainterText text, const TRect& rect, int32_t format,
             int32_t asLayer, bool premultiplied) override {
    calls.push_back({std::holds_alternative<TBitmap*>(target) ? "paint" : "paint on a canvas",
                     Wide(text), rect, format, asLayer, premultiplied});
  }
  int32_t Measure(TCanvas&, PainterText text, TRect& rect, int32_t format) override {
    calls.push_back({"measure", Wide(text), rect, format});
    rect.Bottom = rect.Top + measuredHeight;
    return measuredHeight;
  }
  static std::wstring Wide(PainterText text) {
    const wchar_t* const* wide = std::get_if<const wchar_t*>(&text);
    return wide != nullptr ? std::wstring(*wide) : L"(narrow text)";
  }

  int32_t measuredHeight = 10;
  std::vector<Call> calls;
};

class RecordingControl : public gs::WdgCustomControl {
 public:
  TTextPainter* GetTextPainter(int32_t state) override {
    states.push_back(state);
    return &painter;
  }
  RecordingPainter painter;
  std::vector<int32_t> states;
};

class CaptionTest : public ::testing::Test {
 protected:
  CaptionTest() {
    control.SetBounds(0, 0, 100, 40);
    control.SetCaption(L"Turn left");
    target.SetPixelFormat(TPixelFormat::pf32bit);
    target.SetSize(100, 40);
  }
  const RecordingPainter::Call& Painted() const { return control.painter.calls.back(); }

  testing_support::NullPlatform platform;
  RecordingControl control;
  TBitmap target;
};

TEST_F(CaptionTest, TextRectIsTheClientAreaInsideTheMargins) {
  EXPECT_EQ(control.TextRect(), (TRect{0, 0, 100, 40}));
  for (auto set : {&gs::GsTextMargins::SetLeft, &gs::GsTextMargins::SetRight,
                   &gs::GsTextMargins::SetTop, &gs::GsTextMargins::SetBottom}) {
    (control.Margins().*set)(5);
  }
  EXPECT_EQ(control.TextRect(), (TRect{5, 5, 95, 35}));
  control.Margins().SetLeft(1);
  control.Margins().SetRight(2);
  control.Margins().SetTop(3);
  control.Margins().SetBottom(4);
  EXPECT_EQ(control.TextRect(), (TRect{1, 3, 98, 36}));
  control.Margins().SetRight(INT32_MIN);
  EXPECT_EQ(control.TextRect().Right, INT32_MAX);
}

TEST_F(CaptionTest, FlagsComeFromAlignmentLayoutAndWordWrap) {
  struct Case {
    gs::GsAlignment alignment;
    gs::GsTextLayout layout;
    bool wrap;
    int32_t flags;
  };
  using A = gs::GsAlignment;
  using L = gs::GsTextLayout;
  const Case cases[] = {
      {A::Left, L::Top, false, 0x24},     {A::Center, L::Center, false, 0x25},
      {A::Right, L::Bottom, false, 0x2E}, {A::Left, L::Top, true, 0x10},
      {A::Center, L::Center, true, 0x15}, {A::Right, L::Bottom, true, 0x1A},
      {A::Center, L::Top, true, 0x11},    {A::Left, L::Bottom, false, 0x2C},
  };
  for (const Case& c : cases) {
    control.SetAlignment(c.alignment);
    control.SetLayout(c.layout);
    control.SetWordWrap(c.wrap);
    EXPECT_EQ(control.TextFlags(), c.flags)
        << static_cast<int>(c.alignment) << static_cast<int>(c.layout) << c.wrap;
  }
}

TEST_F(CaptionTest, DrawsTheWideCaptionAsAPremultipliedOverlay) {
  control.Margins().SetLeft(4);
  control.DrawCaption(target, 2);
  EXPECT_THAT(control.states, ::testing::ElementsAre(2));
  ASSERT_EQ(control.painter.calls.size(), 1U);  // a single line is never measured
  EXPECT_EQ(Painted().what, "paint");
  EXPECT_EQ(Painted().text, L"Turn left");
  EXPECT_EQ(Painted().rect, (TRect{4, 0, 100, 40}));
  EXPECT_EQ(Painted().format, 0x25);
  EXPECT_EQ(Painted().asLayer, 0);
  EXPECT_TRUE(Painted().premultiplied);
}

TEST_F(CaptionTest, WrappedTextIsPlacedByItsMeasuredHeight) {
  control.SetWordWrap(true);
  control.painter.measuredHeight = 10;
  control.DrawCaption(target, 0);
  ASSERT_EQ(control.painter.calls.size(), 2U);
  EXPECT_EQ(control.painter.calls[0].what, "measure");
  EXPECT_EQ(control.painter.calls[0].rect, (TRect{0, 0, 100, 40}));
  EXPECT_EQ(control.painter.calls[0].format, 0x15);
  EXPECT_EQ(Painted().rect, (TRect{0, 15, 100, 40}));  // (40 - 10) / 2

  control.SetLayout(gs::GsTextLayout::Bottom);
  control.DrawCaption(target, 0);
  EXPECT_EQ(Painted().rect, (TRect{0, 30, 100, 40}));

  control.SetLayout(gs::GsTextLayout::Center);
  control.Margins().SetBottom(1);  // room 39: 29 / 2 truncates to 14
  control.DrawCaption(target, 0);
  EXPECT_EQ(Painted().rect, (TRect{0, 14, 100, 39}));

  control.SetLayout(gs::GsTextLayout::Top);
  control.painter.calls.clear();
  control.DrawCaption(target, 0);
  ASSERT_EQ(control.painter.calls.size(), 1U);
  EXPECT_EQ(Painted().rect, (TRect{0, 0, 100, 39}));
}

TEST_F(CaptionTest, ATallWrappedCaptionStartsAtTheTopWhateverTheLayout) {
  control.SetWordWrap(true);
  for (int32_t height : {39, 40, 70}) {
    control.painter.measuredHeight = height;
    for (auto layout : {gs::GsTextLayout::Center, gs::GsTextLayout::Bottom}) {
      control.SetLayout(layout);
      control.DrawCaption(target, 0);
      EXPECT_EQ(Painted().rect.Top, height < 40 ? (layout == gs::GsTextLayout::Center ? 0 : 1) : 0)
          << height;
    }
  }
}

// --- buttons --------------------------------------------------------------------

const gs::ButtonImageNames kNames{L"Button\\X\\n.png", L"Button\\X\\d.png", L"Button\\X\\o.png",
                                  L"Button\\X\\un.png"};

class ButtonCaptionTest : public ::testing::Test {
 protected:
  ButtonCaptionTest() {
    const std::wstring folder = gs::ImagesPath();
    for (const std::wstring& name : kNames)
      platform.images.AddSolid(folder + name, 60, 20, 0xFF202020);
    root.SetBounds(0, 0, 100, 50);
    root.SetHost(&host);
    button = root.Adopt(gs::CreateButton(kNames));
    button->SetLeft(10);
    button->SetTop(10);
    button->TextEffect().Raised().Font().SetHeight(-10);
    button->TextEffect().Raised().Font().SetColor(clRed);
  }

  TBitmap& Compose() {
    target.SetPixelFormat(TPixelFormat::pf32bit);
    target.Canvas().Brush().SetColor(clBlack);
    target.SetSize(100, 50);
    target.Canvas().FillRect({0, 0, 100, 50});
    root.PaintTo(target);
    return target;
  }
  std::vector<int32_t> CreatedStates() const {
    std::vector<int32_t> states;
    for (int32_t state = 1; state <= 5; ++state) {
      if (button->TextEffect().HasStateEffect(state)) states.push_back(state);
    }
    return states;
  }

  testing_support::NullPlatform platform;
  widget_testing::CountingHost host;
  gs::GsWidget root;
  gs::WdgButton* button = nullptr;
  TBitmap target;
};

TEST_F(ButtonCaptionTest, AStateTakesItsLookFromRaisedOnlyWhenItFirstDrawsACaption) {
  // Hovered and pressed without a caption: the pictures alone.
  root.MouseMove(widget_testing::kNoButtons, 20, 20);
  Compose();
  root.MouseDown(mbLeft, widget_testing::kLeftHeld, 20, 20);
  Compose();
  EXPECT_EQ(At(target, 40, 20), (Pixel{0x20, 0x20, 0x20, 0xFF}));
  // So a look changed since then still reaches the pressed and the hovered caption.
  button->TextEffect().Raised().Font().SetColor(clBlue);
  button->SetCaption(L"AB");
  Compose();
  EXPECT_EQ(At(target, 10 + 26, 10 + 7), (Pixel{255, 0, 0, 255}));  // Sunken, shifted by 2
  root.MouseUp(mbLeft, widget_testing::kNoButtons, 20, 20);
  Compose();
  EXPECT_EQ(At(target, 10 + 24, 10 + 5), (Pixel{255, 0, 0, 255}));
}

TEST_F(ButtonCaptionTest, TheCaptionIsDrawnOnACopyOfTheStatePicture) {
  button->SetCaption(L"AB");
  Compose();
  // "AB" is 12 x 10, centred in 60 x 20: x 24..35, y 5..14 of the button.
  EXPECT_EQ(At(target, 10 + 24, 10 + 5), (Pixel{0, 0, 255, 255}));
  EXPECT_EQ(At(target, 10 + 35, 10 + 14), (Pixel{0, 0, 255, 255}));
  EXPECT_EQ(At(target, 10 + 23, 10 + 5), (Pixel{0x20, 0x20, 0x20, 0xFF}));
  EXPECT_EQ(At(target, 10 + 36, 10 + 5), (Pixel{0x20, 0x20, 0x20, 0xFF}));
  EXPECT_EQ(At(button->Appearance().Raised(), 24, 5), (Pixel{0x20, 0x20, 0x20, 0xFF}));
  EXPECT_TRUE(CreatedStates().empty());
}

TEST_F(ButtonCaptionTest, ADisabledButtonDrawsWithTheDisabledLook) {
  button->SetCaption(L"AB");
  button->SetEnabled(false);
  Compose();
  EXPECT_EQ(CreatedStates(), std::vector<int32_t>{3});
  EXPECT_EQ(At(target, 10 + 24, 10 + 5), (Pixel{0x6D, 0x6D, 0x6D, 0xFF}));  // grey text
}

TEST_F(ButtonCaptionTest, APressedHoveredButtonDrawsWithTheSunkenLook) {
  button->SetCaption(L"AB");
  root.MouseMove(widget_testing::kNoButtons, 20, 20);
  Compose();
  EXPECT_EQ(CreatedStates(), std::vector<int32_t>{2});
  root.MouseDown(mbLeft, widget_testing::kLeftHeld, 20, 20);
  Compose();
  EXPECT_EQ(CreatedStates(), (std::vector<int32_t>{1, 2}));
  // Sunken is shifted by 2 and 2: x 26..37, y 7..16.
  EXPECT_EQ(At(target, 10 + 25, 10 + 7), (Pixel{0x20, 0x20, 0x20, 0xFF}));
  EXPECT_EQ(At(target, 10 + 26, 10 + 7), (Pixel{0, 0, 255, 255}));
  EXPECT_EQ(At(target, 10 + 37, 10 + 16), (Pixel{0, 0, 255, 255}));
}

}  // namespace

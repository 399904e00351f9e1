#include "platform/x11/pango_text_rasterizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// fontconfig loses a few bytes of its own while it reads its configuration;
// nothing of ours is hidden by this.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

using platform::Ellipsis;
using platform::HorizontalPlacement;
using platform::PixelBuffer;
using platform::PrefixHandling;
using platform::Rect;
using platform::TextLayout;
using platform::VerticalPlacement;
using platform::x11::PangoTextRasterizer;

constexpr int32_t kWidth = 200;
constexpr int32_t kHeight = 80;

// A black 32-bit target whose alpha bytes carry a mark that drawing must keep.
class Canvas {
 public:
  Canvas() : pixels_(kWidth * kHeight * 4, 0) {
    for (size_t i = 3; i < pixels_.size(); i += 4) pixels_[i] = 0x5A;
  }
  PixelBuffer Buffer() { return {pixels_.data(), kWidth, kHeight, kWidth * 4, 4}; }
  const uint8_t* At(int32_t x, int32_t y) const { return &pixels_[(y * kWidth + x) * 4]; }
  // The box around every pixel with coverage.
  Rect Ink() const {
    Rect ink{kWidth, kHeight, 0, 0};
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) {
        if (At(x, y)[0] == 0) continue;
        ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
               std::max(ink.bottom, y + 1)};
      }
    }
    return ink;
  }
  const std::vector<uint8_t>& Pixels() const { return pixels_; }

 private:
  std::vector<uint8_t> pixels_;
};

platform::TextStyle White() {
  platform::TextStyle style;
  style.font.name = L"DejaVu Sans";
  style.font.height = -14;
  style.color = 0xFFFFFF;
  style.transparent = true;
  return style;
}

class PangoTextRasterizerTest : public ::testing::Test {
 protected:
  Rect Draw(const wchar_t* text, Rect rect, const TextLayout& layout) {
    PixelBuffer target = canvas.Buffer();
    text_.Draw(target, White(), text, rect, layout);
    return canvas.Ink();
  }

  // A fresh canvas with the text drawn on it.
  Canvas Drawn(const wchar_t* text, Rect rect, const TextLayout& layout) {
    Canvas drawn;
    PixelBuffer target = drawn.Buffer();
    text_.Draw(target, White(), text, rect, layout);
    return drawn;
  }
  int32_t MeasuredWidth(const wchar_t* text, Rect rect, const TextLayout& layout) {
    TextLayout measure = layout;
    measure.measureOnly = true;
    PixelBuffer target = canvas.Buffer();
    text_.Draw(target, White(), text, rect, measure);
    return rect.right - rect.left;
  }

  PangoTextRasterizer text_;
  Canvas canvas;
};

// The box around the pixels where two canvases differ.
Rect Difference(const Canvas& a, const Canvas& b) {
  Rect box{kWidth, kHeight, 0, 0};
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      if (a.At(x, y)[0] == b.At(x, y)[0]) continue;
      box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
             std::max(box.bottom, y + 1)};
    }
  }
  return box;
}

TEST_F(PangoTextRasterizerTest, WhiteOnBlackLeavesTheCoverageInEveryChannelAndTheAlphaAlone) {
  const Rect ink = Draw(L"Hello", {10, 10, 190, 70}, {.singleLine = true});
  ASSERT_LT(ink.left, ink.right);
  bool partial = false;
  for (size_t i = 0; i < canvas.Pixels().size(); i += 4) {
    const uint8_t* p = &canvas.Pixels()[i];
    ASSERT_EQ(p[0], p[1]);
    ASSERT_EQ(p[0], p[2]);
    ASSERT_EQ(p[3], 0x5A);
    partial = partial || (p[0] > 0 && p[0] < 255);
  }
  EXPECT_TRUE(partial) << "the text is not anti-aliased";
  EXPECT_GE(ink.left, 10);
  EXPECT_GE(ink.top, 10);
}

// The rules themselves are the text placement's (its table test); here, that
// Pango's ink lands and is clipped where they say.
TEST_F(PangoTextRasterizerTest, PlacesAndClipsALineWhereTheTextPlacementSays) {
  const Rect centred = Draw(L"Mid", {20, 10, 180, 70},
                            {.horizontal = HorizontalPlacement::kCentre,
                             .vertical = VerticalPlacement::kCentre,
                             .singleLine = true});
  EXPECT_NEAR((centred.left + centred.right) / 2, 100, 3);
  EXPECT_NEAR((centred.top + centred.bottom) / 2, 40, 4);

  canvas = Canvas();
  const Rect ink = Draw(L"A rather long line of text", {-30, 5, 60, 15}, {.singleLine = true});
  EXPECT_GE(ink.left, 0);
  EXPECT_LE(ink.right, 60);
  EXPECT_GE(ink.top, 5);
  EXPECT_LE(ink.bottom, 15);
}

TEST_F(PangoTextRasterizerTest, MeasuresWithoutDrawingAndBreaksWordsToTheWidth) {
  PixelBuffer target = canvas.Buffer();
  Rect line{5, 7, 5, 7};
  const int32_t lineHeight =
      text_.Draw(target, White(), L"two words", line, {.singleLine = true, .measureOnly = true});
  EXPECT_EQ(line.left, 5);
  EXPECT_EQ(line.top, 7);
  EXPECT_GT(line.right - line.left, 30);
  EXPECT_EQ(line.bottom - line.top, lineHeight);
  EXPECT_GT(lineHeight, 10);

  Rect wrapped{5, 7, 5 + (line.right - line.left) - 10, 7};
  const int32_t height =
      text_.Draw(target, White(), L"two words", wrapped, {.wordWrap = true, .measureOnly = true});
  EXPECT_EQ(height, 2 * lineHeight);
  EXPECT_LE(wrapped.right - wrapped.left, line.right - line.left - 10);
  EXPECT_EQ(canvas.Ink().right, 0) << "measuring drew";
}

TEST_F(PangoTextRasterizerTest, AnAmpersandUnderlinesTheNextCharacterUnlessPrefixesAreOff) {
  const Rect box{10, 10, 190, 70};
  const auto line = [](PrefixHandling prefix) {
    return TextLayout{.singleLine = true, .prefix = prefix};
  };
  const Canvas plain = Drawn(L"RD", box, line(PrefixHandling::kNone));
  const Canvas mnemonic = Drawn(L"R&D", box, line(PrefixHandling::kMnemonic));
  // The only new ink is a line under the D, below the letters.
  const Rect underline = Difference(plain, mnemonic);
  ASSERT_LT(underline.left, underline.right) << "nothing is underlined";
  EXPECT_GE(underline.top, plain.Ink().bottom - 1);
  EXPECT_GT(underline.left, (plain.Ink().left + plain.Ink().right) / 2 - 2);
  EXPECT_LE(underline.bottom - underline.top, 3);
  // Only that line, where the mnemonic's underline lies; nothing at all where
  // the underlines are hidden or '&' is ordinary.
  const auto only = [](PrefixHandling prefix) {
    return TextLayout{.singleLine = true, .prefix = prefix, .prefixOnly = true};
  };
  const Rect alone = Drawn(L"R&D", box, only(PrefixHandling::kMnemonic)).Ink();
  EXPECT_NEAR(alone.left, underline.left, 1);
  EXPECT_NEAR(alone.right, underline.right, 1);
  EXPECT_NEAR(alone.top, underline.top, 1);
  EXPECT_NEAR(alone.bottom, underline.bottom, 1);
  EXPECT_TRUE(Drawn(L"R&D", box, only(PrefixHandling::kHide)).Pixels() == Canvas().Pixels());
  EXPECT_TRUE(Drawn(L"R&D", box, only(PrefixHandling::kNone)).Pixels() == Canvas().Pixels());

  EXPECT_TRUE(Drawn(L"R&D", box, line(PrefixHandling::kHide)).Pixels() == plain.Pixels());
  EXPECT_TRUE(Drawn(L"R&&D", box, line(PrefixHandling::kMnemonic)).Pixels() ==
              Drawn(L"R&D", box, line(PrefixHandling::kNone)).Pixels())
      << "a doubled ampersand is not one ampersand";
  EXPECT_GT(Drawn(L"R&D", box, line(PrefixHandling::kNone)).Ink().right, plain.Ink().right + 5)
      << "the ampersand is not drawn";
}

TEST_F(PangoTextRasterizerTest, AnEllipsisShortensALineToItsRectangle) {
  const wchar_t* const path = L"/usr/share/zentara/images/turn.png";
  const Rect box{10, 10, 110, 40};
  const TextLayout clipped{.singleLine = true};
  EXPECT_GT(MeasuredWidth(path, box, clipped), 100);
  TextLayout end = clipped, middle = clipped;
  end.ellipsis = Ellipsis::kEnd;
  middle.pathEllipsis = true;
  EXPECT_LE(MeasuredWidth(path, box, end), 100);
  EXPECT_LE(MeasuredWidth(path, box, middle), 100);

  const Canvas whole = Drawn(path, box, clipped);
  const Canvas ended = Drawn(path, box, end);
  const Canvas shortened = Drawn(path, box, middle);
  // The end keeps the start of the path, the middle its start and its end.
  const Rect endChanged = Difference(whole, ended);
  const Rect middleChanged = Difference(whole, shortened);
  ASSERT_LT(endChanged.left, endChanged.right);
  ASSERT_LT(middleChanged.left, middleChanged.right);
  EXPECT_GT(endChanged.left, 10 + 30);
  EXPECT_LT(middleChanged.left, endChanged.left);
  EXPECT_TRUE(ended.Pixels() != shortened.Pixels()) << "the middle is shortened like the end";
  EXPECT_LE(shortened.Ink().right, 110);
  EXPECT_GT(shortened.Ink().right, 110 - 12) << "the end of the path is not kept";
}

TEST_F(PangoTextRasterizerTest, RightToLeftReadingPutsTrailingPunctuationFirstInPlace) {
  const Rect box{20, 10, 180, 70};
  TextLayout rightToLeft{.singleLine = true};
  rightToLeft.rightToLeft = true;
  const Canvas read = Drawn(L"ab.", box, rightToLeft);
  // The full stop ends a right-to-left paragraph, on its left; the line stays left-aligned.
  EXPECT_TRUE(read.Pixels() == Drawn(L".ab", box, {.singleLine = true}).Pixels());
  EXPECT_TRUE(read.Pixels() != Drawn(L"ab.", box, {.singleLine = true}).Pixels());
  EXPECT_LT(read.Ink().left, 20 + 4);

  // A wrapped caption of a right-to-left script, asked to align left without
  // the flag, keeps every line at the left; its short last line shows it.
  const std::wstring word = L"\u05E9\u05DC\u05D5\u05DD\u05E9\u05DC\u05D5\u05DD";
  const std::wstring hebrew = word + L" \u05E2";
  const Rect wrapBox{20, 10, 20 + MeasuredWidth(word.c_str(), box, {}) + 2, 70};
  const Canvas wrapped = Drawn(hebrew.c_str(), wrapBox, {.wordWrap = true});
  const Rect whole = wrapped.Ink();
  ASSERT_GT(whole.bottom - whole.top, 20) << "the caption is not wrapped";
  Rect lastLine{kWidth, kHeight, 0, 0};
  for (int32_t y = whole.top + (whole.bottom - whole.top) / 2 + 2; y < whole.bottom; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      if (wrapped.At(x, y)[0] != 0)
        lastLine = {std::min(lastLine.left, x), 0, std::max(lastLine.right, x + 1), 0};
    }
  }
  EXPECT_LT(lastLine.left, 20 + 4);
  EXPECT_LT(lastLine.right, wrapBox.right - 30);
}

}  // namespace

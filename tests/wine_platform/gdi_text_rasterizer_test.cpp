// The GDI text rasteriser hands GDI only the part of the target its rectangle
// covers, and a layout rather than DrawText's flags; the text must still land
// exactly where DrawText puts it with the flags the layout came from, drawing
// over the whole target at the rectangle itself.
#include "platform/win32/gdi_text_rasterizer.h"

#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "base/text_format.h"
#include "platform/win32/dib_section.h"
#include "platform/win32/gdi_font.h"

namespace {

using platform::PixelBuffer;
using platform::Rect;
using platform::TextStyle;

constexpr int32_t kWidth = 96, kHeight = 30;

std::vector<uint8_t> Background() {
  std::vector<uint8_t> pixels(kWidth * kHeight * 4);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 5 + 3);
  return pixels;
}

TextStyle Style(bool transparent) {
  TextStyle style;
  style.font.name = L"Tahoma";
  style.font.height = -16;
  style.font.bold = true;
  style.color = 0x00FFFFFF;
  style.transparent = transparent;
  style.backgroundColor = 0x00203040;
  return style;
}

// DrawText in a device context over the whole target, at the rectangle itself;
// `rect` receives what DrawText leaves in it.
std::vector<uint8_t> DrawnInPlace(const TextStyle& style, const wchar_t* text, Rect& rect,
                                  uint32_t format) {
  std::vector<uint8_t> pixels = Background();
  const PixelBuffer whole{pixels.data(), kWidth, kHeight, kWidth * 4, 4};
  platform::win32::DibSection dib(whole, 32);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HFONT font =
      ::CreateFontW(style.font.height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, static_cast<BYTE>(style.font.quality),
                    DEFAULT_PITCH | FF_DONTCARE, style.font.name.c_str());
  HGDIOBJ previousBitmap = ::SelectObject(dc, dib.Handle());
  HGDIOBJ previousFont = ::SelectObject(dc, font);
  ::SetTextColor(dc, style.color);
  ::SetBkColor(dc, style.backgroundColor);
  ::SetBkMode(dc, style.transparent ? TRANSPARENT : OPAQUE);
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  ::DrawTextW(dc, text, -1, &r, format);
  rect = {r.left, r.top, r.right, r.bottom};
  ::SelectObject(dc, previousFont);
  ::SelectObject(dc, previousBitmap);
  ::DeleteObject(font);
  ::DeleteDC(dc);
  dib.CopyTo(whole);
  return pixels;
}

TEST(GdiTextRasterizerTest, TextWiderOrTallerThanItsRectangleLandsWhereDrawTextPutsItInPlace) {
  platform::win32::GdiTextRasterizer gdi;
  // Bold "Zentara" is some 70 pixels wide, wider than every rectangle here,
  // and taller than some. DrawText centres a line by the sign and parity of
  // left + right - width, which the lefts and widths vary.
  const uint32_t formats[] = {0x25, 0x01, 0x2A, 0x11};  // centred; right and bottom; wrapped
  int cases = 0, inked = 0, misplaced = 0;
  for (uint32_t format : formats) {
    for (bool transparent : {true, false}) {
      for (int32_t left : {-3, 0, 1, 30, 31, 88}) {
        for (int32_t width : {5, 11}) {
          for (int32_t top : {-2, 1, 25}) {
            for (int32_t height : {9, 20}) {
              const TextStyle style = Style(transparent);
              Rect rect{left, top, left + width, top + height};
              std::vector<uint8_t> pixels = Background();
              PixelBuffer target{pixels.data(), kWidth, kHeight, kWidth * 4, 4};
              Rect drawn = rect;
              gdi.Draw(target, style, L"Zentara", drawn, TextLayoutOf(format));
              const std::vector<uint8_t> expected = DrawnInPlace(style, L"Zentara", rect, format);
              ++cases;
              inked += expected != Background();
              if (pixels == expected) continue;
              ADD_FAILURE() << "format " << format << (transparent ? " transparent" : " opaque")
                            << ", rectangle " << left << ", " << top << " of " << width << " x "
                            << height;
              if (++misplaced >= 8) return;
            }
          }
        }
      }
    }
  }
  // Text and background reached the target in most cases, so that the
  // comparisons are not between untouched targets.
  EXPECT_GT(inked, cases / 2);
}

// DrawText's answer to a contradiction: centring wins over right or bottom placement.
uint32_t Resolved(uint32_t format) {
  if (format & DT_CENTER) format &= ~uint32_t{DT_RIGHT};
  if (format & DT_VCENTER) format &= ~uint32_t{DT_BOTTOM};
  return format;
}

TEST(GdiTextRasterizerTest, EveryFlagReachesDrawTextAndDrawsAndMeasuresAsDrawTextDoes) {
  platform::win32::GdiTextRasterizer gdi;
  // A line break, spaces, prefixes, a tab and a long path, so that every flag
  // below has something to change.
  const wchar_t* const text = L"Zen &tara\tR&&D\nturns C:\\Program Files\\Zentara\\x.png";
  const uint32_t layoutFlags[] = {kTextCenter, kTextRight,     kTextVCenter,
                                  kTextBottom, kTextWordBreak, kTextSingleLine};
  // Each further flag alone or with those it combines with; with the tab
  // stop, bits 8-15 are the tab length, whatever flags share those bits.
  const uint32_t furtherFlags[] = {
      0, DT_EXPANDTABS, DT_EXPANDTABS | DT_TABSTOP | (3U << 8),
      DT_TABSTOP | DT_NOCLIP | DT_CALCRECT | DT_EDITCONTROL, DT_NOCLIP, DT_EXTERNALLEADING,
      DT_NOPREFIX, DT_INTERNAL, DT_EDITCONTROL, DT_PATH_ELLIPSIS, DT_END_ELLIPSIS, DT_RTLREADING,
      DT_WORD_ELLIPSIS, DT_NOFULLWIDTHCHARBREAK, DT_HIDEPREFIX, DT_PREFIXONLY,
      // and the ones DrawText combines
      DT_PATH_ELLIPSIS | DT_END_ELLIPSIS, DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS,
      DT_HIDEPREFIX | DT_PREFIXONLY, DT_NOPREFIX | DT_PREFIXONLY};
  int differing = 0;
  for (uint32_t further : furtherFlags) {
    for (uint32_t combination = 0; combination < (1U << 6); ++combination) {
      uint32_t format = further;
      for (int bit = 0; bit < 6; ++bit) {
        if (combination & (1U << bit)) format |= layoutFlags[bit];
      }
      for (uint32_t measure : {0U, uint32_t{kTextCalcRect}}) {
        const uint32_t flags = format | measure;
        const platform::TextLayout layout = TextLayoutOf(flags);
        const uint32_t given = platform::win32::DrawTextFlags(layout);
        // Two rectangles for the placement flags alone, one with each further flag.
        for (const Rect& rect : {Rect{4, 2, 60, 28}, Rect{30, 0, 94, 30}}) {
          if (further != 0 && rect.left != 4) continue;
          std::vector<uint8_t> pixels = Background();
          PixelBuffer target{pixels.data(), kWidth, kHeight, kWidth * 4, 4};
          Rect drawn = rect, expectedRect = rect;
          const int32_t height = gdi.Draw(target, Style(true), text, drawn, layout);
          const std::vector<uint8_t> expected =
              DrawnInPlace(Style(true), text, expectedRect, flags);
          if (given == Resolved(flags) && pixels == expected && drawn == expectedRect && height > 0)
            continue;
          ADD_FAILURE() << "format 0x" << std::hex << flags << " came back as 0x" << given
                        << std::dec << " at " << rect.left << ", " << rect.top << ": height "
                        << height << (pixels == expected ? "" : ", other pixels");
          if (++differing >= 8) return;
        }
      }
    }
  }
}

TEST(GdiTextRasterizerTest, AFontQualityReachesGdiUnchangedWithOrWithoutAName) {
  // 6 is ClearType with natural widths, 200 no quality at all.
  for (int quality : {0, 3, 5, 6, 200}) {
    platform::FontDescription description;
    description.name = L"Tahoma";
    description.quality = static_cast<platform::FontQuality>(quality);
    HFONT font = platform::win32::CreateGdiFont(description);
    ASSERT_NE(font, nullptr);
    LOGFONTW asked{};
    ASSERT_EQ(::GetObjectW(font, sizeof(asked), &asked), static_cast<int>(sizeof(asked)));
    EXPECT_EQ(asked.lfQuality, quality);
    ::DeleteObject(font);
  }
}

}  // namespace

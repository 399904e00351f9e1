#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"

namespace platform {

enum class HorizontalPlacement : uint8_t { kLeft, kCentre, kRight };
enum class VerticalPlacement : uint8_t { kTop, kCentre, kBottom };

// How text is laid out in its rectangle.
struct TextLayout {
  // Where each line goes across the rectangle.
  HorizontalPlacement horizontal = HorizontalPlacement::kLeft;
  // Where a single line goes down the rectangle; text of several lines always
  // starts at the top.
  VerticalPlacement vertical = VerticalPlacement::kTop;
  // One line, line breaks included; otherwise lines end at line breaks.
  bool singleLine = false;
  // Lines also break between words to stay within the rectangle's width.
  bool wordWrap = false;
  // Nothing is drawn; the rectangle receives the text's extent instead.
  bool measureOnly = false;

  friend bool operator==(const TextLayout&, const TextLayout&) = default;
};

// What a font asks of its glyphs' edges.
enum class FontQuality : uint8_t {
  kDefault,
  kDraft,
  kProof,
  kNonAntialiased,
  kAntialiased,
  kClearType,
};

struct FontDescription {
  std::wstring name;
  int32_t height = 0;  // negative: character height in pixels
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  uint8_t charset = 1;  // character set, numbered as Windows does (1: the system's)
  FontQuality quality = FontQuality::kDefault;
};

struct TextStyle {
  FontDescription font;
  uint32_t color = 0;            // 0x00BBGGRR, already resolved
  bool transparent = false;      // background mode TRANSPARENT
  uint32_t backgroundColor = 0;  // used when not transparent
};

class TextRasterizer {
 public:
  virtual ~TextRasterizer() = default;

  // Draws zero-terminated text into `target` inside `rect`, laid out as
  // `layout` says, clipped to the rectangle. Narrow text is in the system's
  // 8-bit character set, wide text in UTF-16 (UTF-32 where wchar_t is 32-bit).
  // Returns the height of the text.
  virtual int32_t Draw(PixelBuffer& target, const TextStyle& style, const char* text, Rect& rect,
                       const TextLayout& layout) = 0;
  virtual int32_t Draw(PixelBuffer& target, const TextStyle& style, const wchar_t* text, Rect& rect,
                       const TextLayout& layout) = 0;
};

}  // namespace platform

#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/types.h"

namespace platform {

enum class HorizontalPlacement : uint8_t { kLeft, kCentre, kRight };
enum class VerticalPlacement : uint8_t { kTop, kCentre, kBottom };

// What an '&' in the text means.
enum class PrefixHandling : uint8_t {
  kMnemonic,  // '&' underlines the character after it; "&&" is a literal '&'
  kNone,      // '&' is an ordinary character
  kHide,      // '&' is read as a mnemonic, but nothing is underlined
};

// How the end of a line too wide for the rectangle is shortened.
enum class Ellipsis : uint8_t {
  kNone,  // it is clipped
  kEnd,   // its end is replaced by an ellipsis
  kWord,  // the word that does not fit is cut and ends in an ellipsis
};

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
  PrefixHandling prefix = PrefixHandling::kMnemonic;
  // Only the mnemonic underlines are drawn, none of the text: nothing at all
  // where '&' is ordinary or its underlines are hidden.
  bool prefixOnly = false;
  // A line too wide first has its middle replaced, keeping the end of a path
  // in sight; what still does not fit is shortened at its end by `ellipsis`.
  bool pathEllipsis = false;
  Ellipsis ellipsis = Ellipsis::kNone;
  // Tabs move to the next tab stop rather than being drawn as characters.
  bool expandTabs = false;
  // Tab stops every this many average character widths; unset (or 0) means 8.
  std::optional<uint8_t> tabLength = std::nullopt;
  // Drawing may go beyond the rectangle (the target still bounds it).
  bool noClip = false;
  // Lines are spaced by the font's height plus its external leading.
  bool externalLeading = false;
  // The paragraph reads from right to left (bidirectional text).
  bool rightToLeft = false;
  // Lines break as a multi-line edit control breaks them, and a last line that
  // shows only in part is not drawn.
  bool editControl = false;
  // A run of full-width characters is not broken between its characters.
  bool noFullWidthCharBreak = false;
  // The system's own font measures the text, not the style's.
  bool systemFont = false;

  friend bool operator==(const TextLayout&, const TextLayout&) = default;
};

// What a font asks of its glyphs' edges, numbered as Windows numbers them.
// Other values are carried through unchanged for the platform to read.
enum class FontQuality : uint8_t {
  kDefault = 0,
  kDraft = 1,
  kProof = 2,
  kNonAntialiased = 3,
  kAntialiased = 4,
  kClearType = 5,
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

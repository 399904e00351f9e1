#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"

namespace platform {

// Text-format flags as the platform's DrawText takes them.
enum TextFormat : uint32_t {
  kTextLeft = 0x0,
  kTextCenter = 0x1,
  kTextRight = 0x2,
  kTextVCenter = 0x4,
  kTextBottom = 0x8,
  kTextWordBreak = 0x10,
  kTextSingleLine = 0x20,
  kTextCalcRect = 0x400,
};

struct FontDescription {
  std::wstring name;
  int32_t height = 0;  // negative: character height in pixels
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  uint8_t charset = 1;  // DEFAULT_CHARSET
  uint8_t quality = 0;  // DEFAULT_QUALITY
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

  // Draws zero-terminated text into `target` inside `rect`, placed by `format`.
  // With kTextCalcRect nothing is drawn and `rect` receives the text's extent.
  // Returns the height of the text.
  virtual int32_t DrawTextA(PixelBuffer& target, const TextStyle& style, const char* text,
                            Rect& rect, uint32_t format) = 0;
  virtual int32_t DrawTextW(PixelBuffer& target, const TextStyle& style, const wchar_t* text,
                            Rect& rect, uint32_t format) = 0;
};

}  // namespace platform

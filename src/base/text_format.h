#pragma once
#include <cstdint>

#include "platform/text_rasterizer.h"

// Text-format flags of TCanvas::DrawText and the text painters, with the
// values of the Windows DrawText flags of the same meaning.
enum TTextFormat : uint32_t {
  kTextLeft = 0x0,
  kTextCenter = 0x1,
  kTextRight = 0x2,
  kTextVCenter = 0x4,
  kTextBottom = 0x8,
  kTextWordBreak = 0x10,
  kTextSingleLine = 0x20,
  kTextCalcRect = 0x400,
};

// The layout the flags ask for, read as DrawText reads them: centring wins
// over right or bottom placement; other bits are ignored.
platform::TextLayout TextLayoutOf(uint32_t format);

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
  kTextExpandTabs = 0x40,
  // Bits 8-15 hold the tab length instead of the flags below that share them.
  kTextTabStop = 0x80,
  kTextNoClip = 0x100,
  kTextExternalLeading = 0x200,
  kTextCalcRect = 0x400,
  kTextNoPrefix = 0x800,
  kTextInternal = 0x1000,
  kTextEditControl = 0x2000,
  kTextPathEllipsis = 0x4000,
  kTextEndEllipsis = 0x8000,
  kTextRtlReading = 0x20000,
  kTextWordEllipsis = 0x40000,
  kTextNoFullWidthCharBreak = 0x80000,
  kTextHidePrefix = 0x100000,
  kTextPrefixOnly = 0x200000,
};

// The layout the flags ask for, read as DrawText reads them: with the tab-stop
// flag, bits 8-15 are the tab length; centring wins over right or bottom
// placement, no prefix over hidden, and end over word ellipsis, while
// prefix-only and path ellipsis combine with the others as DrawText combines
// them. Flags that would let DrawText write into the text, and bits DrawText
// does not know, are ignored.
platform::TextLayout TextLayoutOf(uint32_t format);

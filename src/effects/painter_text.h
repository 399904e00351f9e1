#pragma once
#include <cstdint>
#include <variant>

#include "base/geometry.h"

class TCanvas;

// The text of a paint or measure call as its caller handed it, zero-terminated:
// narrow (8-bit, drawn with the platform's 8-bit DrawText) or wide (UTF-16,
// drawn with its UTF-16 DrawText). A null pointer reads as an empty text.
using PainterText = std::variant<const char*, const wchar_t*>;

// The canvas's DrawText for the kind of the text; `format` holds DrawText flags.
int32_t DrawPainterText(TCanvas& canvas, PainterText text, TRect& rect, uint32_t format);

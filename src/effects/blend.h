#pragma once
#include <cstdint>

#include "base/geometry.h"

class TBitmap;
class TCanvas;

// Premultiplies a 32-bit bitmap in place: each colour byte becomes c * a / 255,
// truncated, and alpha stays. Any other pixel format is left alone, and so is
// an empty bitmap; otherwise the bitmap reports one change.
void PremultiplyBitmap(TBitmap& bitmap);

// Sizes `bitmap` to `rect` and copies that area of `canvas` into it (with the
// bitmap canvas's copy mode); `canvas` is left in the plain copy mode.
void CopyCanvasRect(TCanvas& canvas, TBitmap& bitmap, const TRect& rect);

// Copies the area of `bitmap` that starts at `origin` onto `canvas` at `rect`,
// unblended: `canvas` is set to the plain copy mode first, and stays in it.
void CopyBitmapToCanvas(TCanvas& canvas, const TRect& rect, TBitmap& bitmap, TPoint origin);

// Clips a blend of `source` (from `origin`) into `rect` of `dest`; returns the
// destination rectangle to blend and moves `origin` to match. The result lies
// inside both bitmaps; an empty result blends nothing.
TRect ClipBlendRect(const TBitmap& dest, const TRect& rect, const TBitmap& source, TPoint& origin);

// Software blend of a straight-alpha 32-bit source; `dest` becomes 24-bit.
void SoftBlendBitmap(TBitmap& dest, const TRect& rect, const TBitmap& source, TPoint origin,
                     uint8_t opacity);

// Source-over blend as the platform's AlphaBlend composes it: a premultiplied
// 32-bit source gives every destination channel, alpha included,
// src * k + dst * (1 - srcAlpha * k / 255) with k = opacity / 255; a 24-bit
// source blends with the constant opacity only (it counts as opaque, alpha
// 255, for a 32-bit destination's alpha). Each channel is rounded once to the
// nearest value.
void AlphaBlendBitmap(TBitmap& dest, const TRect& rect, const TBitmap& source, TPoint origin,
                      uint8_t opacity);

void SoftBlendToCanvas(TCanvas& canvas, const TRect& rect, const TBitmap& source, TPoint origin,
                       uint8_t opacity);
void AlphaBlendToCanvas(TCanvas& canvas, const TRect& rect, const TBitmap& source, TPoint origin,
                        uint8_t opacity);

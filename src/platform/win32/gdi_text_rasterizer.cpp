#include "platform/win32/gdi_text_rasterizer.h"

#include "platform/win32/windows_api.h"

#include <algorithm>

#include "platform/win32/dib_section.h"

namespace platform::win32 {
namespace {

BYTE GdiQuality(FontQuality quality) {
  switch (quality) {
    case FontQuality::kDraft:
      return DRAFT_QUALITY;
    case FontQuality::kProof:
      return PROOF_QUALITY;
    case FontQuality::kNonAntialiased:
      return NONANTIALIASED_QUALITY;
    case FontQuality::kAntialiased:
      return ANTIALIASED_QUALITY;
    case FontQuality::kClearType:
      return CLEARTYPE_QUALITY;
    case FontQuality::kDefault:
      break;
  }
  return DEFAULT_QUALITY;
}

HFONT CreateGdiFont(const FontDescription& font) {
  return ::CreateFontW(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                       font.underline, font.strikeOut, font.charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, GdiQuality(font.quality), DEFAULT_PITCH | FF_DONTCARE,
                       font.name.c_str());
}

// A memory device context with the style's font selected, restored and freed with the object.
class TextContext {
 public:
  TextContext(const TextStyle& style, HBITMAP bitmap)
      : dc_(::CreateCompatibleDC(nullptr)), font_(CreateGdiFont(style.font)) {
    if (bitmap != nullptr) previousBitmap_ = ::SelectObject(dc_, bitmap);
    previousFont_ = ::SelectObject(dc_, font_);
    ::SetTextColor(dc_, style.color);
    ::SetBkColor(dc_, style.backgroundColor);
    ::SetBkMode(dc_, style.transparent ? TRANSPARENT : OPAQUE);
  }
  ~TextContext() {
    ::SelectObject(dc_, previousFont_);
    if (previousBitmap_ != nullptr) ::SelectObject(dc_, previousBitmap_);
    ::DeleteObject(font_);
    ::DeleteDC(dc_);
  }
  TextContext(const TextContext&) = delete;
  TextContext& operator=(const TextContext&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ previousFont_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
};

// The DrawText flags for a layout.
UINT DrawTextFormat(const TextLayout& layout) {
  UINT format = 0;
  switch (layout.horizontal) {
    case HorizontalPlacement::kLeft:
      format |= DT_LEFT;
      break;
    case HorizontalPlacement::kCentre:
      format |= DT_CENTER;
      break;
    case HorizontalPlacement::kRight:
      format |= DT_RIGHT;
      break;
  }
  switch (layout.vertical) {
    case VerticalPlacement::kTop:
      format |= DT_TOP;
      break;
    case VerticalPlacement::kCentre:
      format |= DT_VCENTER;
      break;
    case VerticalPlacement::kBottom:
      format |= DT_BOTTOM;
      break;
  }
  if (layout.singleLine) format |= DT_SINGLELINE;
  if (layout.wordWrap) format |= DT_WORDBREAK;
  if (layout.measureOnly) format |= DT_CALCRECT;
  return format;
}

}  // namespace

template <typename Drawing>
int32_t GdiTextRasterizer::Render(PixelBuffer& target, const TextStyle& style, Rect& rect,
                                  bool measureOnly, Drawing draw) {
  if (measureOnly) {
    TextContext context(style, nullptr);
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    const int height = draw(context.Dc(), r);
    rect = {r.left, r.top, r.right, r.bottom};
    return height;
  }
  // Text is clipped to its rectangle, so only that part of the target travels through GDI.
  const int32_t left = std::max(rect.left, 0), top = std::max(rect.top, 0);
  const int32_t right = std::min(rect.right, target.width),
                bottom = std::min(rect.bottom, target.height);
  if (target.bits == nullptr || right <= left || bottom <= top) return 0;
  PixelBuffer area{
      target.bits + static_cast<ptrdiff_t>(top) * target.stride + left * target.bytesPerPixel,
      right - left, bottom - top, target.stride, target.bytesPerPixel};
  DibSection dib(area, target.bytesPerPixel * 8);
  if (!dib.Valid()) return 0;
  int height = 0;
  {
    TextContext context(style, dib.Handle());
    // DrawText gets the rectangle as it is, so that its rounding (a centred line
    // wider than the rectangle) places the text exactly as over the whole
    // target; the viewport origin moves the output onto the area.
    ::SetViewportOrgEx(context.Dc(), -left, -top, nullptr);
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    height = draw(context.Dc(), r);
  }
  dib.CopyTo(area);
  return height;
}

int32_t GdiTextRasterizer::Draw(PixelBuffer& target, const TextStyle& style, const char* text,
                                Rect& rect, const TextLayout& layout) {
  const UINT format = DrawTextFormat(layout);
  return Render(target, style, rect, layout.measureOnly,
                [&](HDC dc, RECT& r) { return ::DrawTextA(dc, text, -1, &r, format); });
}

int32_t GdiTextRasterizer::Draw(PixelBuffer& target, const TextStyle& style, const wchar_t* text,
                                Rect& rect, const TextLayout& layout) {
  const UINT format = DrawTextFormat(layout);
  return Render(target, style, rect, layout.measureOnly,
                [&](HDC dc, RECT& r) { return ::DrawTextW(dc, text, -1, &r, format); });
}

}  // namespace platform::win32

#include "platform/win32/gdi_text_rasterizer.h"

#include "platform/win32/windows_api.h"

#include <algorithm>

#include "platform/win32/dib_section.h"
#include "platform/win32/gdi_font.h"

namespace platform::win32 {
namespace {

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

// DrawTextEx's flags for a layout; its tab length travels beside them, so that
// no bit stands for two things.
UINT DrawTextExFlags(const TextLayout& layout) {
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
  switch (layout.prefix) {
    case PrefixHandling::kMnemonic:
      break;
    case PrefixHandling::kNone:
      format |= DT_NOPREFIX;
      break;
    case PrefixHandling::kHide:
      format |= DT_HIDEPREFIX;
      break;
  }
  switch (layout.ellipsis) {
    case Ellipsis::kNone:
      break;
    case Ellipsis::kEnd:
      format |= DT_END_ELLIPSIS;
      break;
    case Ellipsis::kWord:
      format |= DT_WORD_ELLIPSIS;
      break;
  }
  if (layout.prefixOnly) format |= DT_PREFIXONLY;
  if (layout.pathEllipsis) format |= DT_PATH_ELLIPSIS;
  if (layout.singleLine) format |= DT_SINGLELINE;
  if (layout.wordWrap) format |= DT_WORDBREAK;
  if (layout.expandTabs) format |= DT_EXPANDTABS;
  if (layout.externalLeading) format |= DT_EXTERNALLEADING;
  if (layout.rightToLeft) format |= DT_RTLREADING;
  if (layout.editControl) format |= DT_EDITCONTROL;
  if (layout.noFullWidthCharBreak) format |= DT_NOFULLWIDTHCHARBREAK;
  if (layout.systemFont) format |= DT_INTERNAL;
  if (layout.noClip) format |= DT_NOCLIP;
  if (layout.measureOnly) format |= DT_CALCRECT;
  if (layout.tabLength) format |= DT_TABSTOP;
  return format;
}

DRAWTEXTPARAMS DrawTextParams(const TextLayout& layout) {
  DRAWTEXTPARAMS params{};
  params.cbSize = sizeof(params);
  params.iTabLength = layout.tabLength.value_or(0);
  return params;
}

}  // namespace

// The qualities are numbered as GDI numbers them, so a value without a name
// reaches GDI unchanged too.
static_assert(static_cast<BYTE>(FontQuality::kDraft) == DRAFT_QUALITY);
static_assert(static_cast<BYTE>(FontQuality::kProof) == PROOF_QUALITY);
static_assert(static_cast<BYTE>(FontQuality::kNonAntialiased) == NONANTIALIASED_QUALITY);
static_assert(static_cast<BYTE>(FontQuality::kAntialiased) == ANTIALIASED_QUALITY);
static_assert(static_cast<BYTE>(FontQuality::kClearType) == CLEARTYPE_QUALITY);
static_assert(static_cast<BYTE>(FontQuality::kDefault) == DEFAULT_QUALITY);

HFONT CreateGdiFont(const FontDescription& font) {
  return ::CreateFontW(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                       font.underline, font.strikeOut, font.charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, static_cast<BYTE>(font.quality),
                       DEFAULT_PITCH | FF_DONTCARE, font.name.c_str());
}

uint32_t DrawTextFlags(const TextLayout& layout) {
  const UINT format = DrawTextExFlags(layout);
  // DrawText reads bits 8-15 as the tab length whenever the tab-stop flag is set.
  if (!layout.tabLength) return format;
  return (format & ~0xFF00U) | (UINT{*layout.tabLength} << 8);
}

template <typename Drawing>
int32_t GdiTextRasterizer::Render(PixelBuffer& target, const TextStyle& style, Rect& rect,
                                  const TextLayout& layout, Drawing draw) {
  if (layout.measureOnly) {
    TextContext context(style, nullptr);
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    const int height = draw(context.Dc(), r);
    rect = {r.left, r.top, r.right, r.bottom};
    return height;
  }
  // Text is clipped to its rectangle, so only that part of the target travels
  // through GDI; unclipped text may reach anywhere in the target.
  const Rect reach = layout.noClip ? Rect{0, 0, target.width, target.height} : rect;
  const int32_t left = std::max(reach.left, 0), top = std::max(reach.top, 0);
  const int32_t right = std::min(reach.right, target.width),
                bottom = std::min(reach.bottom, target.height);
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
  const UINT format = DrawTextExFlags(layout);
  DRAWTEXTPARAMS params = DrawTextParams(layout);
  // The text is never written to: no flag that would allow it is passed.
  char* const readOnly = const_cast<char*>(text);
  return Render(target, style, rect, layout, [&](HDC dc, RECT& r) {
    return ::DrawTextExA(dc, readOnly, -1, &r, format, &params);
  });
}

int32_t GdiTextRasterizer::Draw(PixelBuffer& target, const TextStyle& style, const wchar_t* text,
                                Rect& rect, const TextLayout& layout) {
  const UINT format = DrawTextExFlags(layout);
  DRAWTEXTPARAMS params = DrawTextParams(layout);
  // The text is never written to: no flag that would allow it is passed.
  wchar_t* const readOnly = const_cast<wchar_t*>(text);
  return Render(target, style, rect, layout, [&](HDC dc, RECT& r) {
    return ::DrawTextExW(dc, readOnly, -1, &r, format, &params);
  });
}

}  // namespace platform::win32

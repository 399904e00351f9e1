#include "platform/x11/pango_text_rasterizer.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/mnemonic_text.h"
#include "platform/posix/path_resolver.h"
#include "platform/text_placement.h"

namespace platform::x11 {
namespace {

constexpr int32_t kDefaultPixelHeight = 12;

struct GObjectUnref {
  void operator()(void* object) const { g_object_unref(object); }
};
struct FontDescriptionFree {
  void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};
struct AttrListUnref {
  void operator()(PangoAttrList* list) const { pango_attr_list_unref(list); }
};
struct FontMetricsUnref {
  void operator()(PangoFontMetrics* metrics) const { pango_font_metrics_unref(metrics); }
};
struct SurfaceDestroy {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct CairoDestroy {
  void operator()(cairo_t* cairo) const { cairo_destroy(cairo); }
};
using Layout = std::unique_ptr<PangoLayout, GObjectUnref>;
using Font = std::unique_ptr<PangoFontDescription, FontDescriptionFree>;

// A negative height is the character (em) height in pixels, a positive one the
// height of the whole cell, ascent and descent.
Font MakeFont(PangoContext* context, const FontDescription& description) {
  Font font(pango_font_description_new());
  pango_font_description_set_family(font.get(), posix::ToUtf8(description.name).c_str());
  pango_font_description_set_weight(font.get(),
                                    description.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(font.get(),
                                   description.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  const int32_t height = description.height == 0 ? -kDefaultPixelHeight : description.height;
  const double em = height < 0 ? -static_cast<double>(height) : static_cast<double>(height);
  pango_font_description_set_absolute_size(font.get(), em * PANGO_SCALE);
  if (height > 0) {
    std::unique_ptr<PangoFontMetrics, FontMetricsUnref> metrics(
        pango_context_get_metrics(context, font.get(), nullptr));
    const int cell = pango_font_metrics_get_ascent(metrics.get()) +
                     pango_font_metrics_get_descent(metrics.get());
    if (cell > 0) {
      pango_font_description_set_absolute_size(font.get(),
                                               em * em * PANGO_SCALE * PANGO_SCALE / cell);
    }
  }
  return font;
}

PangoAlignment Alignment(HorizontalPlacement placement) {
  switch (placement) {
    case HorizontalPlacement::kCentre:
      return PANGO_ALIGN_CENTER;
    case HorizontalPlacement::kRight:
      return PANGO_ALIGN_RIGHT;
    case HorizontalPlacement::kLeft:
      break;
  }
  return PANGO_ALIGN_LEFT;
}

using Metrics = std::unique_ptr<PangoFontMetrics, FontMetricsUnref>;

// The spacing the font asks for between lines beyond its ascent and descent.
int ExternalLeading(PangoFontMetrics* metrics) {
  return std::max(pango_font_metrics_get_height(metrics) - pango_font_metrics_get_ascent(metrics) -
                      pango_font_metrics_get_descent(metrics),
                  0);
}

// Attributes that keep each run of full-width characters from breaking
// inside it, as a run of narrow characters would not.
void KeepFullWidthRunsWhole(PangoAttrList* attributes, std::string_view text) {
  size_t run = std::string_view::npos;
  for (size_t i = 0; i <= text.size();) {
    size_t length = 1;
    bool wide = false;
    if (i < text.size()) {
      const gunichar c =
          g_utf8_get_char_validated(text.data() + i, static_cast<gssize>(text.size() - i));
      if (c < 0x110000) {
        wide = g_unichar_iswide(c);
        length = static_cast<size_t>(g_utf8_skip[static_cast<unsigned char>(text[i])]);
      }
    }
    if (wide && run == std::string_view::npos) run = i;
    if (!wide && run != std::string_view::npos) {
      PangoAttribute* whole = pango_attr_allow_breaks_new(FALSE);
      whole->start_index = static_cast<guint>(run);
      whole->end_index = static_cast<guint>(i);
      pango_attr_list_insert(attributes, whole);
      run = std::string_view::npos;
    }
    i += length;
  }
}

// Byte ranges of the characters a mnemonic marks.
struct Span {
  size_t start, end;
};
std::vector<Span> MarkedSpans(std::string_view text, const std::vector<size_t>& marks) {
  std::vector<Span> spans;
  for (size_t mark : marks) {
    const size_t length = static_cast<size_t>(g_utf8_skip[static_cast<unsigned char>(text[mark])]);
    spans.push_back({mark, std::min(mark + length, text.size())});
  }
  return spans;
}

// A path ellipsis goes first; Pango's shortens the middle until the line
// fits, so an end or word ellipsis beside it has nothing left to shorten.
PangoEllipsizeMode EllipsizeMode(const TextLayout& placement) {
  if (placement.pathEllipsis) return PANGO_ELLIPSIZE_MIDDLE;
  return placement.ellipsis == Ellipsis::kNone ? PANGO_ELLIPSIZE_NONE : PANGO_ELLIPSIZE_END;
}

Layout MakeLayout(PangoContext* context, const TextStyle& style, std::string_view text,
                  const std::vector<Span>& underlined, const Rect& rect,
                  const TextLayout& placement) {
  Layout layout(pango_layout_new(context));
  FontDescription description = style.font;
  // The desktop's own interface font stands for the system font.
  if (placement.systemFont) description.name = L"Sans";
  const Font font = MakeFont(context, description);
  pango_layout_set_font_description(layout.get(), font.get());
  pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
  std::unique_ptr<PangoAttrList, AttrListUnref> attributes(pango_attr_list_new());
  if (style.font.underline)
    pango_attr_list_insert(attributes.get(), pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (style.font.strikeOut)
    pango_attr_list_insert(attributes.get(), pango_attr_strikethrough_new(TRUE));
  for (const Span& span : underlined) {
    PangoAttribute* underline = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
    underline->start_index = static_cast<guint>(span.start);
    underline->end_index = static_cast<guint>(span.end);
    pango_attr_list_insert(attributes.get(), underline);
  }
  if (placement.noFullWidthCharBreak) KeepFullWidthRunsWhole(attributes.get(), text);
  pango_layout_set_attributes(layout.get(), attributes.get());

  if (placement.expandTabs || placement.externalLeading) {
    const Metrics metrics(pango_context_get_metrics(context, font.get(), nullptr));
    if (placement.expandTabs) {
      const int length = placement.tabLength.value_or(0) == 0 ? 8 : *placement.tabLength;
      PangoTabArray* tabs = pango_tab_array_new_with_positions(
          1, FALSE, PANGO_TAB_LEFT,
          length * pango_font_metrics_get_approximate_char_width(metrics.get()));
      pango_layout_set_tabs(layout.get(), tabs);
      pango_tab_array_free(tabs);
    }
    if (placement.externalLeading)
      pango_layout_set_spacing(layout.get(), ExternalLeading(metrics.get()));
  }
  // The paragraph reads in the direction the right-to-left flag gives, not
  // the one its letters suggest, and the placement follows the flags alone:
  // left stays left, whatever the script.
  pango_layout_set_auto_dir(layout.get(), FALSE);

  pango_layout_set_single_paragraph_mode(layout.get(), placement.singleLine);
  const int32_t width = std::max(rect.right - rect.left, 0) * PANGO_SCALE;
  const bool wraps = placement.wordWrap && !placement.singleLine;
  const PangoEllipsizeMode ellipsize = EllipsizeMode(placement);
  if (wraps || ellipsize != PANGO_ELLIPSIZE_NONE) pango_layout_set_width(layout.get(), width);
  if (wraps) pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD);
  if (ellipsize != PANGO_ELLIPSIZE_NONE) {
    pango_layout_set_ellipsize(layout.get(), ellipsize);
    // Wrapped lines run down to the rectangle's bottom, where the last is shortened.
    if (wraps) {
      pango_layout_set_height(layout.get(), std::max(rect.bottom - rect.top, 0) * PANGO_SCALE);
    }
  }
  pango_layout_set_alignment(layout.get(), Alignment(placement.horizontal));
  return layout;
}

// Where the underlines of marked characters lie, in layout pixels.
std::vector<Rect> UnderlinesOf(PangoContext* context, PangoLayout* layout,
                               const std::vector<Span>& spans) {
  std::vector<Rect> lines;
  const Metrics metrics(
      pango_context_get_metrics(context, pango_layout_get_font_description(layout), nullptr));
  const int position = pango_font_metrics_get_underline_position(metrics.get());
  const int thickness = std::max(pango_font_metrics_get_underline_thickness(metrics.get()), 1);
  for (const Span& span : spans) {
    PangoRectangle at{};
    pango_layout_index_to_pos(layout, static_cast<int>(span.start), &at);
    int lineNumber = 0, xPos = 0;
    pango_layout_index_to_line_x(layout, static_cast<int>(span.start), FALSE, &lineNumber, &xPos);
    PangoLayoutLine* line = pango_layout_get_line_readonly(layout, lineNumber);
    if (line == nullptr) continue;
    PangoRectangle logical{};
    pango_layout_line_get_extents(line, nullptr, &logical);
    const int baseline = at.y - logical.y;
    const int left = std::min(at.x, at.x + at.width), right = std::max(at.x, at.x + at.width);
    PangoRectangle underline{left, baseline - position, right - left, thickness};
    pango_extents_to_pixels(&underline, nullptr);
    lines.push_back(
        {underline.x, underline.y, underline.x + underline.width, underline.y + underline.height});
  }
  return lines;
}

// The bottom, in layout pixels, of the last line that shows whole in `room`
// pixels; the first line shows whatever the room.
int32_t LastWholeLineBottom(PangoLayout* layout, int32_t room) {
  int32_t bottom = 0;
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  do {
    PangoRectangle logical{};
    pango_layout_iter_get_line_extents(iter, nullptr, &logical);
    pango_extents_to_pixels(&logical, nullptr);
    if (bottom > 0 && logical.y + logical.height > room) break;
    bottom = logical.y + logical.height;
  } while (pango_layout_iter_next_line(iter));
  pango_layout_iter_free(iter);
  return bottom;
}

// The 0x00BBGGRR colour's channel in the pixel's byte order (blue first).
uint8_t Channel(uint32_t color, int byte) {
  return static_cast<uint8_t>(color >> (8 * (2 - byte)));
}

// Lays `color` over the target where `coverage` says, in the area given.
void Compose(PixelBuffer& target, const Rect& area, const uint8_t* coverage, int coverageStride,
             uint32_t color) {
  for (int32_t y = area.top; y < area.bottom; ++y) {
    const uint8_t* c = coverage + static_cast<ptrdiff_t>(y - area.top) * coverageStride;
    uint8_t* d = target.bits + static_cast<ptrdiff_t>(y) * target.stride +
                 static_cast<ptrdiff_t>(area.left) * target.bytesPerPixel;
    for (int32_t x = area.left; x < area.right; ++x, ++c, d += target.bytesPerPixel) {
      const uint32_t a = *c;
      if (a == 0) continue;
      for (int byte = 0; byte < 3; ++byte)
        d[byte] =
            static_cast<uint8_t>((Channel(color, byte) * a + d[byte] * (255 - a) + 127) / 255);
    }
  }
}

void Fill(PixelBuffer& target, const Rect& area, uint32_t color) {
  for (int32_t y = area.top; y < area.bottom; ++y) {
    uint8_t* d = target.bits + static_cast<ptrdiff_t>(y) * target.stride +
                 static_cast<ptrdiff_t>(area.left) * target.bytesPerPixel;
    for (int32_t x = area.left; x < area.right; ++x, d += target.bytesPerPixel) {
      for (int byte = 0; byte < 3; ++byte) d[byte] = Channel(color, byte);
    }
  }
}

// The part of `area` that the box from (left, top) to (right, bottom) covers.
Rect Within(const Rect& area, int64_t left, int64_t top, int64_t right, int64_t bottom) {
  const auto clamp = [](int64_t v, int32_t low, int32_t high) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, low, high));
  };
  const int32_t l = clamp(left, area.left, area.right), t = clamp(top, area.top, area.bottom);
  return {l, t, clamp(right, l, area.right), clamp(bottom, t, area.bottom)};
}

std::string Latin1ToUtf8(const char* text) {
  std::wstring wide;
  for (const char* c = text; *c != '\0'; ++c) wide.push_back(static_cast<unsigned char>(*c));
  return posix::ToUtf8(wide);
}

// Lays the layout's text, placed at (x, y), over the target in `color`
// within `area`; with `underlinesOnly`, only the underlines of those spans.
void ComposeText(PangoContext* context, PixelBuffer& target, const Rect& area, int64_t x, int64_t y,
                 PangoLayout* layout, const std::vector<Span>* underlinesOnly, uint32_t color) {
  std::unique_ptr<cairo_surface_t, SurfaceDestroy> mask(
      cairo_image_surface_create(CAIRO_FORMAT_A8, area.Width(), area.Height()));
  if (cairo_surface_status(mask.get()) != CAIRO_STATUS_SUCCESS) return;
  {
    std::unique_ptr<cairo_t, CairoDestroy> cairo(cairo_create(mask.get()));
    pango_cairo_update_context(cairo.get(), context);
    pango_layout_context_changed(layout);
    cairo_translate(cairo.get(), static_cast<double>(x - area.left),
                    static_cast<double>(y - area.top));
    if (underlinesOnly != nullptr) {
      // Only the underlines of the marked characters, where the text would put them.
      for (const Rect& line : UnderlinesOf(context, layout, *underlinesOnly))
        cairo_rectangle(cairo.get(), line.left, line.top, line.Width(), line.Height());
      cairo_fill(cairo.get());
    } else {
      cairo_move_to(cairo.get(), 0, 0);
      pango_cairo_show_layout(cairo.get(), layout);
    }
  }
  cairo_surface_flush(mask.get());
  Compose(target, area, cairo_image_surface_get_data(mask.get()),
          cairo_image_surface_get_stride(mask.get()), color);
}

}  // namespace

PangoTextRasterizer::PangoTextRasterizer() = default;

PangoTextRasterizer::~PangoTextRasterizer() {
  if (context_ != nullptr) g_object_unref(context_);
  if (fontMap_ != nullptr) g_object_unref(fontMap_);
}

void PangoTextRasterizer::OpenFonts() {
  if (context_ != nullptr) return;
  fontMap_ = pango_cairo_font_map_new();
  context_ = pango_font_map_create_context(fontMap_);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(context_, options);
  cairo_font_options_destroy(options);
}

int32_t PangoTextRasterizer::Draw(PixelBuffer& target, const TextStyle& style, const char* text,
                                  Rect& rect, const TextLayout& layout) {
  return DrawUtf8(target, style, Latin1ToUtf8(text != nullptr ? text : ""), rect, layout);
}

int32_t PangoTextRasterizer::Draw(PixelBuffer& target, const TextStyle& style, const wchar_t* text,
                                  Rect& rect, const TextLayout& layout) {
  return DrawUtf8(target, style, posix::ToUtf8(text != nullptr ? text : L""), rect, layout);
}

void PangoTextRasterizer::PrepareContext(const TextStyle& style, const TextLayout& placement) {
  OpenFonts();
  // Text is smoothed unless its font asks for no anti-aliasing.
  cairo_font_options_t* options =
      cairo_font_options_copy(pango_cairo_context_get_font_options(context_));
  cairo_font_options_set_antialias(options, style.font.quality == FontQuality::kNonAntialiased
                                                ? CAIRO_ANTIALIAS_NONE
                                                : CAIRO_ANTIALIAS_GRAY);
  pango_cairo_context_set_font_options(context_, options);
  cairo_font_options_destroy(options);
  pango_context_set_base_dir(context_,
                             placement.rightToLeft ? PANGO_DIRECTION_RTL : PANGO_DIRECTION_LTR);
}

int32_t PangoTextRasterizer::DrawUtf8(PixelBuffer& target, const TextStyle& style,
                                      std::string_view source, Rect& rect,
                                      const TextLayout& placement) {
  PrepareContext(style, placement);
  const bool prefixed = placement.prefix != PrefixHandling::kNone;
  const MnemonicText<char> read =
      prefixed ? ReadMnemonics(source) : MnemonicText<char>{std::string(source), {}};
  const std::string_view text = read.text;
  // The marks whose underlines show: none where they are hidden.
  const std::vector<Span> underlined = placement.prefix == PrefixHandling::kMnemonic
                                           ? MarkedSpans(text, read.marks)
                                           : std::vector<Span>{};
  const Layout layout =
      MakeLayout(context_, style, text, placement.prefixOnly ? std::vector<Span>{} : underlined,
                 rect, placement);
  PangoRectangle logical{};
  pango_layout_get_pixel_extents(layout.get(), nullptr, &logical);
  const int32_t textWidth = text.empty() ? 0 : logical.width;
  int32_t textHeight = SpansLines(text.empty(), placement) ? logical.height : 0;
  // Each line is as tall as the font plus its leading, the last one too.
  if (placement.externalLeading && textHeight > 0)
    textHeight += pango_layout_get_spacing(layout.get()) / PANGO_SCALE;

  if (placement.measureOnly) {
    rect = MeasuredRect(rect, textWidth, textHeight);
    return textHeight;
  }

  // Where the block of lines goes inside the rectangle. A layout with a width
  // (wrapped or shortened lines) is as wide as the rectangle and places each
  // line across it itself; otherwise the block is as wide as its widest line,
  // within which Pango places the others.
  const bool wrapped = pango_layout_get_width(layout.get()) >= 0;
  const int64_t x =
      wrapped ? rect.left : LineLeft(rect, textWidth, placement.horizontal) - logical.x;
  const int64_t y = BlockTop(rect, textHeight, placement);
  const int32_t result = DrawnHeight(rect, textHeight, placement);

  if (target.bits == nullptr || (target.bytesPerPixel != 3 && target.bytesPerPixel != 4) ||
      text.empty() || (placement.prefixOnly && underlined.empty())) {
    return result;
  }
  Rect area = DrawingArea(rect, placement, target);
  // A last line that shows only in part is left out, as an edit control does.
  if (placement.editControl && !placement.singleLine) {
    const int64_t room = std::clamp<int64_t>(rect.bottom - y, INT32_MIN, INT32_MAX);
    area.bottom = static_cast<int32_t>(std::clamp<int64_t>(
        y + LastWholeLineBottom(layout.get(), static_cast<int32_t>(room)), area.top, area.bottom));
  }
  if (area.IsEmpty()) return result;
  if (!style.transparent && !placement.prefixOnly) {
    const int64_t blockLeft = x + (wrapped ? logical.x : 0);
    Fill(target, Within(area, blockLeft, y, blockLeft + textWidth, y + textHeight),
         style.backgroundColor);
  }
  ComposeText(context_, target, area, x, y, layout.get(),
              placement.prefixOnly ? &underlined : nullptr, style.color);
  return result;
}

}  // namespace platform::x11

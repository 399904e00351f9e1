#pragma once
#include <cstdint>
#include <memory>

#include "gs/gs_widget.h"
#include "gs/text_margins.h"

class TTextPainter;

namespace gs {

enum class GsAlignment : uint8_t { Left = 0, Right = 1, Center = 2 };
enum class GsTextLayout : uint8_t { Top = 0, Center = 1, Bottom = 2 };

// The base of the widgets that draw a caption over their picture, with the
// look of their current visual state.
class WdgCustomControl : public GsWidget {
 public:
  WdgCustomControl();
  ~WdgCustomControl() override;

  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value) { wordWrap_ = value; }
  GsAlignment Alignment() const { return alignment_; }
  void SetAlignment(GsAlignment value) { alignment_ = value; }
  GsTextLayout Layout() const { return layout_; }
  void SetLayout(GsTextLayout value) { layout_ = value; }
  GsTextMargins& Margins() { return *margins_; }
  const GsTextMargins& Margins() const { return *margins_; }

  // The caption's rectangle in the widget's own coordinates: the client area
  // inset by the margins.
  TRect TextRect() const;
  // The text-drawing format from Alignment, Layout and WordWrap; a single line
  // is always centred vertically.
  int32_t TextFlags() const;

  // Draws Caption onto `target` with the look of visual state `state`, laid
  // over it as a premultiplied layer.
  virtual void DrawCaption(TBitmap& target, int32_t state);
  // The painter for `state`; it stays owned by the control.
  virtual TTextPainter* GetTextPainter(int32_t state) = 0;

 private:
  bool wordWrap_ = false;
  GsAlignment alignment_ = GsAlignment::Center;
  GsTextLayout layout_ = GsTextLayout::Center;
  std::unique_ptr<GsTextMargins> margins_;
};

}  // namespace gs

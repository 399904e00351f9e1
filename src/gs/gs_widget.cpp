#include "gs/gs_widget.h"

#include <algorithm>
#include <cassert>
#include <utility>
#include <vector>

#include "base/bitmap.h"
#include "base/host_control.h"
#include "effects/blend.h"

namespace gs {

namespace {

// Widget arithmetic saturates, so that no position or size can overflow.
int32_t Add(int32_t a, int32_t b) {
  return SaturateInt32(int64_t{a} + b);
}

int32_t Sub(int32_t a, int32_t b) {
  return SaturateInt32(int64_t{a} - b);
}

// The widgets taken out of their trees, which no handle owns (UI thread only).
std::list<std::unique_ptr<GsWidget>>& OutOfTree() {
  static std::list<std::unique_ptr<GsWidget>> widgets;
  return widgets;
}

}  // namespace

GsWidget::GsWidget() = default;

GsWidget::~GsWidget() {
  capture_ = nullptr;
  // Each child once, first to last.
  while (!children_.empty()) {
    const std::unique_ptr<GsWidget> child = std::move(children_.front());
    children_.pop_front();
    child->parent_ = nullptr;
  }
  if (looseOwner_ != nullptr) looseOwner_->owned_ = nullptr;
}

bool GsWidget::HitTest(int32_t x, int32_t y) const {
  return left_ <= x && int64_t{x} < int64_t{left_} + width_ && top_ <= y &&
         int64_t{y} < int64_t{top_} + height_;
}

void GsWidget::SetParent(GsWidget* parent) {
  if (parent == parent_) return;
  if (parent != nullptr && Contains(parent)) return;  // would make a cycle
  std::unique_ptr<GsWidget> self = TakeFromOwner();
  assert(self != nullptr && "SetParent on a widget owned outside the toolkit: Adopt attaches it");
  if (self == nullptr) return;
  if (parent != nullptr) {
    parent->AddChild(std::move(self));
  } else {
    KeepOutOfTree(std::move(self));
  }
}

void GsWidget::SetLeft(int32_t value) {
  left_ = value;
}

void GsWidget::SetTop(int32_t value) {
  top_ = value;
}

void GsWidget::SetWidth(int32_t value) {
  width_ = value;
}

void GsWidget::SetHeight(int32_t value) {
  height_ = value;
}

void GsWidget::SetEnabled(bool value) {
  enabled_ = value;
  Invalidate();
}

void GsWidget::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Invalidate();
}

void GsWidget::SetCaption(const std::wstring& value) {
  if (value == caption_) return;
  caption_ = value;
  Invalidate();
}

void GsWidget::DoPaint(TBitmap& /*target*/, const TRect& /*rect*/) {}

void GsWidget::DoMouseMove(TShiftState /*shift*/, int32_t /*x*/, int32_t /*y*/) {}

void GsWidget::DoMouseDown(TMouseButton /*button*/, TShiftState /*shift*/, int32_t /*x*/,
                           int32_t /*y*/) {}

void GsWidget::DoMouseUp(TMouseButton /*button*/, TShiftState /*shift*/, int32_t /*x*/,
                         int32_t /*y*/) {}

void GsWidget::DoMouseLeave() {}

void GsWidget::DoMouseEnter() {}

std::unique_ptr<GsWidget> GsWidget::Detach() {
  if (parent_ == nullptr && !outOfTree_) return nullptr;
  return TakeFromOwner();
}

std::vector<GsWidget*> GsWidget::Children() const {
  std::vector<GsWidget*> children;
  children.reserve(children_.size());
  for (const auto& child : children_) children.push_back(child.get());
  return children;
}

TRect GsWidget::BoundsRect() const {
  return TRect::Saturated(left_, top_, int64_t{left_} + width_, int64_t{top_} + height_);
}

void GsWidget::Invalidate() {
  GsWidget* root = this;
  while (root->parent_ != nullptr) root = root->parent_;
  if (root->host_ != nullptr) root->host_->Invalidate();
}

void GsWidget::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

void GsWidget::PaintTo(TBitmap& target) {
  Paint(target, BoundsRect());
}

void GsWidget::Paint(TBitmap& target, const TRect& rect) {
  if (!visible_) return;
  DoPaint(target, rect);
  PaintChildren(target, rect);
  OnPaint(this);
}

void GsWidget::PaintChildren(TBitmap& target, const TRect& rect) {
  // A handler may rearrange the tree while it is painted: the children are
  // painted from a list taken beforehand.
  std::vector<GsWidget*> order = std::move(paintOrder_);
  order.clear();
  for (const auto& child : children_) order.push_back(child.get());
  for (GsWidget* child : order) {
    const int32_t left = Add(rect.Left, child->left_);
    const int32_t top = Add(rect.Top, child->top_);
    child->Paint(target, {left, top, Add(left, child->width_), Add(top, child->height_)});
  }
  paintOrder_ = std::move(order);
}

GsWidget* GsWidget::ChildAt(int32_t x, int32_t y) const {
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    GsWidget* child = it->get();
    if (child->visible_ && child->enabled_ && child->HitTest(x, y)) return child;
  }
  return nullptr;
}

void GsWidget::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (!enabled_ || !visible_) return;
  const int32_t lx = Sub(x, left_);
  const int32_t ly = Sub(y, top_);
  if (GsWidget* child = ChildAt(lx, ly)) {
    SetCapture(child);
    child->MouseDown(button, shift, lx, ly);
    return;
  }
  SetCapture(this);
  DoMouseDown(button, shift, lx, ly);
  OnMouseDown(this, button, shift, lx, ly);
}

void GsWidget::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  if (!enabled_ || !visible_) return;
  const int32_t lx = Sub(x, left_);
  const int32_t ly = Sub(y, top_);
  GsWidget* target = CapturedChild();
  // Without the left button the press is over, even if its release never came.
  if (target != nullptr && !shift.Contains(ssLeft)) {
    SetCapture(nullptr);
    target = nullptr;
  }
  const std::vector<GsWidget*> children = Children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    GsWidget* child = *it;
    if (target == nullptr && child->visible_ && child->enabled_ && child->HitTest(lx, ly)) {
      target = child;
    } else if (child != target) {
      child->MouseLeave();
    }
  }
  MouseEnter();
  if (target != nullptr) {
    target->MouseMove(shift, lx, ly);
    return;
  }
  DoMouseMove(shift, lx, ly);
  OnMouseMove(this, shift, lx, ly);
}

void GsWidget::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (!enabled_ || !visible_) return;
  const int32_t lx = Sub(x, left_);
  const int32_t ly = Sub(y, top_);
  GsWidget* target = CapturedChild();
  if (target == nullptr) target = ChildAt(lx, ly);
  if (target != nullptr) {
    target->MouseUp(button, shift, lx, ly);
    // A handler may have taken the child out of this widget (and so dropped the press).
    if (!IsChild(target) || !target->HasCapture()) SetCapture(nullptr);
    return;
  }
  DoMouseUp(button, shift, lx, ly);
  OnMouseUp(this, button, shift, lx, ly);
  if (button == mbLeft && HasCapture()) {
    OnClick(this);
    SetCapture(nullptr);
  }
}

void GsWidget::MouseEnter() {
  if (hovered_) return;
  hovered_ = true;
  DoMouseEnter();
  OnMouseEnter(this);
}

void GsWidget::MouseLeave() {
  if (!hovered_) return;
  for (GsWidget* child : Children()) child->MouseLeave();
  SetCapture(nullptr);
  hovered_ = false;
  DoMouseLeave();
  OnMouseLeave(this);
}

void GsWidget::SetCapture(GsWidget* widget) {
  if (widget == capture_) return;
  if (capture_ != nullptr) capture_->ClearCapture();
  capture_ = widget;
}

void GsWidget::ClearCapture() {
  if (capture_ == nullptr) return;
  if (capture_ != this) capture_->ClearCapture();
  capture_ = nullptr;
}

void GsWidget::DrawBitmap(TBitmap& target, const TRect& rect, const TBitmap& source) const {
  const TRect dest{rect.Left, rect.Top, Add(rect.Left, source.Width()),
                   Add(rect.Top, source.Height())};
  AlphaBlendBitmap(target, dest, source, {0, 0}, opacity_);
}

bool GsWidget::AddChild(std::unique_ptr<GsWidget> child) {
  if (child->Contains(this)) return false;  // would make a cycle
  child->parent_ = this;
  children_.push_back(std::move(child));
  return true;
}

std::unique_ptr<GsWidget> GsWidget::RemoveChild(GsWidget* child) {
  const auto found = std::find_if(children_.begin(), children_.end(),
                                  [child](const auto& each) { return each.get() == child; });
  if (found == children_.end()) return nullptr;
  if (capture_ == child) DropPress();
  std::unique_ptr<GsWidget> removed = std::move(*found);
  children_.erase(found);
  removed->parent_ = nullptr;
  return removed;
}

void GsWidget::KeepOutOfTree(std::unique_ptr<GsWidget> widget) {
  widget->outOfTree_ = true;
  OutOfTree().push_back(std::move(widget));
}

std::unique_ptr<GsWidget> GsWidget::TakeOutOfTree() {
  std::list<std::unique_ptr<GsWidget>>& widgets = OutOfTree();
  const auto found = std::find_if(widgets.begin(), widgets.end(),
                                  [this](const auto& each) { return each.get() == this; });
  if (found == widgets.end()) return nullptr;
  std::unique_ptr<GsWidget> removed = std::move(*found);
  widgets.erase(found);
  outOfTree_ = false;
  return removed;
}

std::unique_ptr<GsWidget> GsWidget::TakeFromOwner() {
  if (parent_ != nullptr) return parent_->RemoveChild(this);
  if (outOfTree_) return TakeOutOfTree();
  if (looseOwner_ != nullptr) return looseOwner_->Release();
  return nullptr;
}

bool GsWidget::IsChild(const GsWidget* widget) const {
  return std::any_of(children_.begin(), children_.end(),
                     [widget](const auto& each) { return each.get() == widget; });
}

bool GsWidget::Contains(const GsWidget* widget) const {
  for (; widget != nullptr; widget = widget->parent_) {
    if (widget == this) return true;
  }
  return false;
}

void GsWidget::DropPress() {
  // The chain runs down from the root; clearing at its top keeps every chain
  // ending at a widget that holds the press itself.
  GsWidget* top = this;
  while (top->parent_ != nullptr && top->parent_->capture_ == top) top = top->parent_;
  top->ClearCapture();
}

// --- the loose owner ----------------------------------------------------------

LooseWidgetOwner::LooseWidgetOwner(LooseWidgetOwner&& other) noexcept {
  Own(other.Release());
}

LooseWidgetOwner& LooseWidgetOwner::operator=(LooseWidgetOwner&& other) noexcept {
  if (this != &other) Own(other.Release());
  return *this;
}

LooseWidgetOwner::~LooseWidgetOwner() {
  Reset();
}

void LooseWidgetOwner::Own(std::unique_ptr<GsWidget> widget) {
  Reset();
  if (widget == nullptr) return;
  owned_ = widget.release();
  owned_->looseOwner_ = this;
}

std::unique_ptr<GsWidget> LooseWidgetOwner::Release() {
  if (owned_ == nullptr) return nullptr;
  owned_->looseOwner_ = nullptr;
  return std::unique_ptr<GsWidget>(std::exchange(owned_, nullptr));
}

void LooseWidgetOwner::Reset() {
  const std::unique_ptr<GsWidget> widget = Release();
}

}  // namespace gs

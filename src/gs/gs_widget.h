#pragma once
#include <concepts>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/callback.h"
#include "base/geometry.h"
#include "base/mouse.h"

class TBitmap;
class THostControl;

namespace gs {

class GsWidget;
class LooseWidgetOwner;
template <std::derived_from<GsWidget> T>
class WidgetPtr;

using GsNotifyEvent = Callback<GsWidget*>;
using GsMouseEvent = Callback<GsWidget*, TMouseButton, TShiftState, int32_t, int32_t>;
using GsMouseMoveEvent = Callback<GsWidget*, TShiftState, int32_t, int32_t>;

// A window-less widget. Widgets form a tree inside one host control: the host
// hands its mouse input to the root, the tree routes it to the widget under
// the pointer (the widget that took a press keeps it until the release), and a
// widget that changes its look asks the root's host to repaint.
//
// Ownership: every widget has exactly one owner at a time.
// - An attached widget belongs to its parent, which holds it in its children
//   (std::unique_ptr) and destroys it with itself.
// - A widget that was never attached belongs to whoever holds it: a WidgetPtr
//   (what the factories hand out) or a std::unique_ptr.
// - SetParent(p) appends the widget to p's children. A widget held by a
//   WidgetPtr is taken over by the tree, and the WidgetPtr goes on pointing at
//   it without owning it, like the pointer Adopt returns.
// - SetParent(nullptr) takes the widget out of the tree. No handle owns it
//   then, and nothing of its former tree: the program keeps it out of every
//   tree (neither painted nor given input) until a later SetParent or Detach
//   takes it from there, or the program ends.
// - Detach takes an attached or out-of-tree widget out and hands it to the caller.
// - A widget held by a std::unique_ptr (or living anywhere else) cannot be
//   taken: Adopt attaches it instead. SetParent on such a widget is a mistake
//   that a debug build stops at; otherwise it is refused.
// A widget never becomes the owner of one of its owners: such a move is refused.
//
// Event handlers must not destroy any widget of the tree, not only the one
// that fires the event: painting and mouse routing walk a copy of a widget's
// children and go on to the next one without checking that it still exists.
// Handlers may rearrange the tree (attach, detach, hide), but a widget they
// detach must stay alive until the event has been handled.
class GsWidget {
 public:
  GsWidget();
  virtual ~GsWidget();
  GsWidget(const GsWidget&) = delete;
  GsWidget& operator=(const GsWidget&) = delete;

  // x, y in the parent's coordinates; the rectangle is half-open, with no alpha test.
  virtual bool HitTest(int32_t x, int32_t y) const;
  // Moves this widget to the end of `parent`'s children, or out of the tree
  // with nullptr (see Ownership above). The parent it already has changes
  // nothing. Refused: a parent inside this widget's own subtree, and (see
  // above) a widget that the toolkit does not own, in any way.
  virtual void SetParent(GsWidget* parent);
  // These four only store the value.
  virtual void SetLeft(int32_t value);
  virtual void SetTop(int32_t value);
  virtual void SetWidth(int32_t value);
  virtual void SetHeight(int32_t value);
  // Asks for a repaint even when the value stays the same.
  virtual void SetEnabled(bool value);
  virtual void SetVisible(bool value);
  virtual void SetCaption(const std::wstring& value);

  GsWidget* Parent() const { return parent_; }
  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool Visible() const { return visible_; }
  bool Enabled() const { return enabled_; }
  uint8_t Opacity() const { return opacity_; }
  void SetOpacity(uint8_t value) { opacity_ = value; }
  bool Hovered() const { return hovered_; }
  GsWidget* Capture() const { return capture_; }
  THostControl* Host() const { return host_; }
  // Only the root's host is asked to repaint.
  void SetHost(THostControl* host) { host_ = host; }
  const std::wstring& Caption() const { return caption_; }
  // The children in painting order, first to last.
  std::vector<GsWidget*> Children() const;
  // The rectangle the widget covers in its parent's coordinates.
  TRect BoundsRect() const;

  // Attaches a widget that is not attached at the end of the children and
  // keeps it; returns it for the caller to observe. A widget that contains
  // this one is refused (and so destroyed): nullptr.
  template <std::derived_from<GsWidget> T>
  T* Adopt(std::unique_ptr<T> child) {
    T* widget = child.get();
    return widget != nullptr && AddChild(std::move(child)) ? widget : nullptr;
  }
  // The same for a widget a WidgetPtr owns; one it only points at is refused.
  template <std::derived_from<GsWidget> T>
  T* Adopt(WidgetPtr<T> child);
  // Takes an attached or out-of-tree widget out and hands it to the caller;
  // any other already has an owner elsewhere, so this gives none.
  [[nodiscard]] std::unique_ptr<GsWidget> Detach();

  // Asks the root's host, if any, to repaint the whole tree.
  void Invalidate();
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);

  // Paints this widget and its children at the widget's own position.
  void PaintTo(TBitmap& target);
  void Paint(TBitmap& target, const TRect& rect);
  void PaintChildren(TBitmap& target, const TRect& rect);
  // The topmost visible, enabled child under (x, y), in this widget's coordinates.
  GsWidget* ChildAt(int32_t x, int32_t y) const;

  // X, Y in the parent's coordinates (for the root: the host's client coordinates).
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  void MouseMove(TShiftState shift, int32_t x, int32_t y);
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  void MouseEnter();
  void MouseLeave();

  GsWidget* CapturedChild() const { return capture_ == this ? nullptr : capture_; }
  bool HasCapture() const { return capture_ != nullptr; }
  void SetCapture(GsWidget* widget);
  // Clears this widget's capture and the whole chain below it.
  void ClearCapture();

  GsNotifyEvent OnPaint;
  GsNotifyEvent OnClick;
  GsMouseEvent OnMouseDown;
  GsMouseEvent OnMouseUp;
  GsMouseMoveEvent OnMouseMove;
  GsNotifyEvent OnMouseEnter;
  GsNotifyEvent OnMouseLeave;

 protected:
  // `rect` is where the widget lies in the target.
  virtual void DoPaint(TBitmap& target, const TRect& rect);
  // Coordinates are this widget's own.
  virtual void DoMouseMove(TShiftState shift, int32_t x, int32_t y);
  virtual void DoMouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void DoMouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void DoMouseLeave();
  virtual void DoMouseEnter();

  // Blends `source` with its own size at rect's top-left corner, with its
  // per-pixel alpha and this widget's Opacity.
  void DrawBitmap(TBitmap& target, const TRect& rect, const TBitmap& source) const;

 private:
  friend class LooseWidgetOwner;

  // Appends a widget that is not attached; refused when it contains this one.
  bool AddChild(std::unique_ptr<GsWidget> child);
  // Takes a child out of the list and hands it over; a press it held is dropped.
  std::unique_ptr<GsWidget> RemoveChild(GsWidget* child);
  // Keeps a widget taken out of its tree out of every tree, and hands it back.
  static void KeepOutOfTree(std::unique_ptr<GsWidget> widget);
  std::unique_ptr<GsWidget> TakeOutOfTree();
  // Takes this widget from whichever owner can hand it over; null if none can.
  std::unique_ptr<GsWidget> TakeFromOwner();
  bool IsChild(const GsWidget* widget) const;
  // Whether `widget` is this one or lies, through parents, below this one.
  bool Contains(const GsWidget* widget) const;
  // Drops the press whose capture chain runs through this widget, from the chain's top.
  void DropPress();

  GsWidget* parent_ = nullptr;
  int32_t left_ = 0;
  int32_t top_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  uint8_t opacity_ = 255;
  bool hovered_ = false;
  GsWidget* capture_ = nullptr;
  THostControl* host_ = nullptr;
  std::wstring caption_;
  std::list<std::unique_ptr<GsWidget>> children_;
  // Taken out of its tree with SetParent(nullptr), and kept out of every tree.
  bool outOfTree_ = false;
  // The WidgetPtr that owns this widget while it has never been attached.
  LooseWidgetOwner* looseOwner_ = nullptr;
  // The children in paint order, kept for the next paint so that a steady
  // frame allocates nothing; a paint nested inside a paint makes its own.
  std::vector<GsWidget*> paintOrder_;
};

// The owning half of WidgetPtr, which the widget reaches when a tree takes it.
class LooseWidgetOwner {
 public:
  LooseWidgetOwner(const LooseWidgetOwner&) = delete;
  LooseWidgetOwner& operator=(const LooseWidgetOwner&) = delete;

 protected:
  LooseWidgetOwner() = default;
  LooseWidgetOwner(LooseWidgetOwner&& other) noexcept;
  LooseWidgetOwner& operator=(LooseWidgetOwner&& other) noexcept;
  ~LooseWidgetOwner();

  // Takes over a widget no one else owns (one fresh from make_unique or Detach).
  void Own(std::unique_ptr<GsWidget> widget);
  bool Owns() const { return owned_ != nullptr; }
  // Hands the owned widget over; null once a tree has taken it.
  std::unique_ptr<GsWidget> Release();

 private:
  friend class GsWidget;
  void Reset();

  GsWidget* owned_ = nullptr;
};

// A widget no parent holds yet, as the factories hand it out: it owns the
// widget until SetParent attaches it, then only points at it (it then dangles
// once the tree destroys the widget, like any observer). Without ever being
// attached the widget dies with the WidgetPtr.
template <std::derived_from<GsWidget> T>
class WidgetPtr : private LooseWidgetOwner {
 public:
  WidgetPtr() = default;
  explicit WidgetPtr(std::unique_ptr<T> widget) : widget_(widget.get()) { Own(std::move(widget)); }
  WidgetPtr(WidgetPtr&& other) noexcept
      : LooseWidgetOwner(std::move(other)), widget_(std::exchange(other.widget_, nullptr)) {}
  WidgetPtr& operator=(WidgetPtr&& other) noexcept {
    if (this != &other) {
      LooseWidgetOwner::operator=(std::move(other));
      widget_ = std::exchange(other.widget_, nullptr);
    }
    return *this;
  }
  ~WidgetPtr() = default;

  T* get() const { return widget_; }
  T* operator->() const { return widget_; }
  T& operator*() const { return *widget_; }
  explicit operator bool() const { return widget_ != nullptr; }
  // Whether the widget is still this pointer's own (no tree has taken it).
  bool OwnsWidget() const { return Owns(); }

  // Hands an owned widget over to a std::unique_ptr; one a tree has taken
  // gives an empty one. Either way this pointer is empty afterwards.
  template <typename U>
  requires std::convertible_to<T*, U*>
  operator std::unique_ptr<U>() && {  // NOLINT(google-explicit-constructor)
    widget_ = nullptr;
    return std::unique_ptr<U>(static_cast<T*>(Release().release()));
  }

 private:
  T* widget_ = nullptr;
};

template <std::derived_from<GsWidget> T>
T* GsWidget::Adopt(WidgetPtr<T> child) {
  return Adopt(std::unique_ptr<T>(std::move(child)));
}

}  // namespace gs

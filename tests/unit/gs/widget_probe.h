#pragma once
// Test helpers for the widget tree: a host that counts repaint requests and a
// widget that logs its hooks and events into a shared journal.
#include <memory>
#include <string>
#include <vector>

#include "base/host_control.h"
#include "gs/gs_widget.h"

namespace widget_testing {

class CountingHost : public THostControl {
 public:
  void Invalidate() override { ++invalidations; }
  int invalidations = 0;
};

using Journal = std::vector<std::string>;

// Logs "<name>.<what>" for every hook ("do-down", "do-up", "do-move",
// "do-enter", "do-leave", "paint") and every event ("down", "up", "move",
// "click", "enter", "leave", "painted"), with local coordinates or the paint
// rectangle where there are any.
class ProbeWidget : public gs::GsWidget {
 public:
  ProbeWidget(std::string name, Journal& journal) : name_(std::move(name)), journal_(journal) {
    OnMouseDown = gs::GsMouseEvent(this, &ProbeWidget::Down);
    OnMouseUp = gs::GsMouseEvent(this, &ProbeWidget::Up);
    OnMouseMove = gs::GsMouseMoveEvent(this, &ProbeWidget::Moved);
    OnClick = gs::GsNotifyEvent(this, &ProbeWidget::Clicked);
    OnMouseEnter = gs::GsNotifyEvent(this, &ProbeWidget::Entered);
    OnMouseLeave = gs::GsNotifyEvent(this, &ProbeWidget::Exited);
    OnPaint = gs::GsNotifyEvent(this, &ProbeWidget::Painted);
  }

  const std::string& Name() const { return name_; }

 protected:
  void DoPaint(TBitmap&, const TRect& r) override {
    journal_.push_back(name_ + ".paint " + std::to_string(r.Left) + "," + std::to_string(r.Top) +
                       "," + std::to_string(r.Right) + "," + std::to_string(r.Bottom));
  }
  void DoMouseDown(TMouseButton b, TShiftState, int32_t x, int32_t y) override {
    Log("do-down", b, x, y);
  }
  void DoMouseUp(TMouseButton b, TShiftState, int32_t x, int32_t y) override {
    Log("do-up", b, x, y);
  }
  void DoMouseMove(TShiftState, int32_t, int32_t) override {
    journal_.push_back(name_ + ".do-move");
  }
  void DoMouseEnter() override { journal_.push_back(name_ + ".do-enter"); }
  void DoMouseLeave() override { journal_.push_back(name_ + ".do-leave"); }

 private:
  // The events, logged without their sender (always this widget).
  void Down(gs::GsWidget*, TMouseButton b, TShiftState, int32_t x, int32_t y) {
    Log("down", b, x, y);
  }
  void Up(gs::GsWidget*, TMouseButton b, TShiftState, int32_t x, int32_t y) { Log("up", b, x, y); }
  void Moved(gs::GsWidget*, TShiftState, int32_t x, int32_t y) {
    journal_.push_back(name_ + ".move " + std::to_string(x) + "," + std::to_string(y));
  }
  void Clicked(gs::GsWidget*) { journal_.push_back(name_ + ".click"); }
  void Entered(gs::GsWidget*) { journal_.push_back(name_ + ".enter"); }
  void Exited(gs::GsWidget*) { journal_.push_back(name_ + ".leave"); }
  void Painted(gs::GsWidget*) { journal_.push_back(name_ + ".painted"); }
  void Log(const char* what, TMouseButton b, int32_t x, int32_t y) {
    journal_.push_back(name_ + "." + what + " " + std::to_string(static_cast<int>(b)) + " " +
                       std::to_string(x) + "," + std::to_string(y));
  }

  std::string name_;
  Journal& journal_;
};

inline ProbeWidget* AddProbe(gs::GsWidget& parent, const std::string& name, Journal& journal,
                             int32_t left, int32_t top, int32_t width, int32_t height) {
  auto probe = std::make_unique<ProbeWidget>(name, journal);
  probe->SetBounds(left, top, width, height);
  return parent.Adopt(std::move(probe));
}

// Journal entries that start with `prefix`, in order.
inline Journal Entries(const Journal& journal, const std::string& prefix) {
  Journal found;
  for (const auto& entry : journal) {
    if (entry.rfind(prefix, 0) == 0) found.push_back(entry);
  }
  return found;
}

inline constexpr TShiftState kLeftHeld{ssLeft};
inline constexpr TShiftState kNoButtons{};

}  // namespace widget_testing

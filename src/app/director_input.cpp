// The Director's handling of the form's paint and mouse events and of button clicks.
#include <cstdlib>

#include "app/director.h"
#include "base/form.h"
#include "base/timer.h"
#include "gs/wdg_button.h"
#include "gs/wdg_image.h"

namespace {

// A press that moves further than this on either axis becomes a window drag.
constexpr int32_t kDragThreshold = 3;
// The handle of each state, on the 100 % panel.
constexpr TRect kCollapsedHandle{227, 0, 341, 113};
constexpr TRect kExpandedHandle{0, 0, 91, 113};

}  // namespace

void Director::ConnectFormEvents() {
  form_.OnPaint = TNotifyEvent(this, &Director::OnFormPaint);
  form_.OnMouseMove = TMouseMoveEvent(this, &Director::OnFormMouseMove);
  form_.OnMouseDown = TMouseEvent(this, &Director::OnFormMouseDown);
  form_.OnMouseUp = TMouseEvent(this, &Director::OnFormMouseUp);
  form_.OnMouseLeave = TNotifyEvent(this, &Director::OnFormMouseLeave);
  form_.OnDpiChange = TDpiChangeEvent(this, &Director::OnFormDpiChange);
  form_.OnScreenChange = TNotifyEvent(this, &Director::OnFormScreenChange);
  form_.OnMoveStart = TNotifyEvent(this, &Director::OnFormMoveStart);
  form_.OnMoveEnd = TNotifyEvent(this, &Director::OnFormMoveEnd);
  form_.OnInputDevicesChange = TNotifyEvent(&inputFollower_, &InputFollower::OnDevicesChange);
}

void Director::OnFormPaint(TObject* /*sender*/) {
  Repaint();
}

void Director::OnFormMouseDown(TObject* /*sender*/, TMouseButton button, TShiftState shift,
                               int32_t x, int32_t y) {
  root_->MouseDown(button, shift, x, y);
  pressX_ = x;
  pressY_ = y;
}

void Director::OnFormMouseMove(TObject* /*sender*/, TShiftState shift, int32_t x, int32_t y) {
  idleTimer_->SetEnabled(false);
  ShowActiveLook();
  root_->MouseMove(shift, x, y);
  const bool pressPending = pressX_ != -1 && pressY_ != -1;
  if (pressPending && (std::abs(pressX_ - x) > Scaled(kDragThreshold) ||
                       std::abs(pressY_ - y) > Scaled(kDragThreshold))) {
    pressX_ = -1;
    pressY_ = -1;
    // The window moves with the pointer until the button comes up; the release goes with it.
    form_.BeginDrag();
  }
}

void Director::OnFormMouseUp(TObject* /*sender*/, TMouseButton button, TShiftState shift, int32_t x,
                             int32_t y) {
  root_->MouseUp(button, shift, x, y);
  pressX_ = -1;
  pressY_ = -1;
  if (!IsOnHandle(x, y)) return;
  if (panelState_ == PanelStates::StateCollapsed) {
    SetState(PanelStates::StateExpanded, true);
  } else if (panelState_ == PanelStates::StateExpanded) {
    SetState(PanelStates::StateCollapsed, true);
  }
}

void Director::OnFormMouseLeave(TObject* /*sender*/) {
  if (panelState_ == PanelStates::StateCollapsed) idleTimer_->SetEnabled(true);

  // A screen that changed under the window is its change's to answer, whose
  // notice may come after the pointer left (the window pushed away from under
  // it as the screen shrank): the notice re-anchors from the screen before.
  if (PrimaryScreen() != screen_) return;
  // Pull the window back inside the primary screen.
  MoveForm(panel_placement::PulledBack(screen_, PanelRect(), scale_));
}

void Director::OnFormScreenChange(TObject* /*sender*/) {
  // A window that was flush with an edge stays flush with it, collapsed or expanded alike.
  // During a scale change the new placement reads the new screen anyway.
  if (rescaling_) return;
  const TRect screen = PrimaryScreen();
  if (screen == screen_) return;
  MoveForm(panel_placement::Reanchored(screen_, screen, PanelRect(), PanelSize(), scale_, scale_));
  screen_ = screen;
}

bool Director::IsOnHandle(int32_t x, int32_t y) const {
  // A fixed area where the handle's button sits, whatever its picture: a
  // missing picture must not leave a panel that cannot be opened.
  const TRect handle =
      panelState_ == PanelStates::StateCollapsed ? kCollapsedHandle : kExpandedHandle;
  return TRect{Scaled(handle.Left), Scaled(handle.Top), Scaled(handle.Right), Scaled(handle.Bottom)}
      .Contains(x, y);
}

void Director::OnCloseClick(gs::GsWidget* /*sender*/) {
  form_.Close();
}

void Director::OnTurnLeftClick(gs::GsWidget* /*sender*/) {
  rotation_.TurnLeft();
}

void Director::OnTurnRightClick(gs::GsWidget* /*sender*/) {
  rotation_.TurnRight();
}

void Director::OnLockClick(gs::GsWidget* /*sender*/) {
  SetAutoRotation(true);
}

void Director::OnUnlockClick(gs::GsWidget* /*sender*/) {
  SetAutoRotation(false);
}

void Director::OnHandleClick(gs::GsWidget* /*sender*/) {
  // Nothing: the handles act through OnFormMouseUp.
}

void Director::SetAutoRotation(bool on) {
  // The buttons swap whether or not the library could be asked, without reading the state back.
  rotation_.SwitchAutoRotation(on);
  lockButton_->SetVisible(!on);
  unlockButton_->SetVisible(on);
  turnLeftButton_->SetEnabled(on);
  turnRightButton_->SetEnabled(on);
}

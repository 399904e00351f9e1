// The Director's handling of the form's paint and mouse events and of button clicks.
#include <cstdlib>

#include "app/director.h"
#include "base/application.h"
#include "base/form.h"
#include "base/timer.h"
#include "gs/wdg_button.h"
#include "gs/wdg_image.h"

namespace {

// A press that moves further than this on either axis becomes a window drag.
constexpr int32_t kDragThreshold = 3;

// Dragged off to the left, the window comes back with its handle at the screen's left edge.
constexpr int32_t kLeftEdgeReach = 114;
constexpr int32_t kLeftEdgeParking = -228;

}  // namespace

void Director::ConnectFormEvents() {
  form_.OnPaint = TNotifyEvent(this, &Director::OnFormPaint);
  form_.OnMouseMove = TMouseMoveEvent(this, &Director::OnFormMouseMove);
  form_.OnMouseDown = TMouseEvent(this, &Director::OnFormMouseDown);
  form_.OnMouseUp = TMouseEvent(this, &Director::OnFormMouseUp);
  form_.OnMouseLeave = TNotifyEvent(this, &Director::OnFormMouseLeave);
  form_.OnDpiChange = TDpiChangeEvent(this, &Director::OnFormDpiChange);
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
    const int32_t pressX = pressX_;
    const int32_t pressY = pressY_;
    pressX_ = -1;
    pressY_ = -1;
    // The window moves with the pointer until the button comes up; the release goes with it.
    form_.BeginDrag(pressX, pressY);
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

  // Pull the window back inside the primary screen.
  const int32_t screenWidth = form_.Screen().Width();
  const int32_t screenHeight = form_.Screen().Height();
  const TRect window = form_.BoundsRect();
  const int32_t width = root_->Width();
  const int32_t height = root_->Height();
  if (screenWidth - width < window.Left) {
    form_.SetLeft(screenWidth - width);
  } else if (window.Right < Scaled(kLeftEdgeReach)) {
    form_.SetLeft(ParkedLeft());
  }
  if (window.Top < 0) {
    form_.SetTop(0);
  } else if (screenHeight - height < window.Top) {
    form_.SetTop(screenHeight - height);
  }
}

int32_t Director::ParkedLeft() const {
  return Scaled(kLeftEdgeParking);
}

bool Director::IsOnHandle(int32_t x, int32_t y) const {
  // The handle is where its button sits, whether or not it is shown: the
  // root lies at the form's origin, so its coordinates are the form's.
  const gs::WdgButton* handle =
      panelState_ == PanelStates::StateCollapsed ? stage1Button_ : stage2Button_;
  return handle->BoundsRect().Contains(x, y);
}

void Director::OnCloseClick(gs::GsWidget* /*sender*/) {
  if (Application != nullptr) Application->Terminate();
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

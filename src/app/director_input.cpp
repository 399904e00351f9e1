// The Director's handling of the form's paint and mouse events and of button clicks.
#include <cstdlib>

#include "app/director.h"
#include "app/panel_form.h"
#include "base/application.h"
#include "base/timer.h"
#include "gs/wdg_button.h"
#include "gs/wdg_image.h"
#include "platform/services.h"
#include "platform/windowing.h"

namespace {

// A press that moves further than this on either axis becomes a window drag.
constexpr int32_t kDragThreshold = 3;

// Dragged off to the left, the window comes back with its handle at the screen's left edge.
constexpr int32_t kLeftEdgeReach = 114;
constexpr int32_t kLeftEdgeParking = -228;

}  // namespace

void Director::ConnectFormEvents() {
  PanelForm->OnPaint = TNotifyEvent(this, &Director::OnFormPaint);
  PanelForm->OnMouseMove = TMouseMoveEvent(this, &Director::OnFormMouseMove);
  PanelForm->OnMouseDown = TMouseEvent(this, &Director::OnFormMouseDown);
  PanelForm->OnMouseUp = TMouseEvent(this, &Director::OnFormMouseUp);
  PanelForm->OnMouseLeave = TNotifyEvent(this, &Director::OnFormMouseLeave);
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
  if (pressPending &&
      (std::abs(pressX_ - x) > kDragThreshold || std::abs(pressY_ - y) > kDragThreshold)) {
    pressX_ = -1;
    pressY_ = -1;
    // The platform moves the window until the button comes up, and takes the release.
    platform::GetWindowing().BeginWindowDrag(PanelForm->Handle());
  }
}

void Director::OnFormMouseUp(TObject* /*sender*/, TMouseButton button, TShiftState shift, int32_t x,
                             int32_t y) {
  root_->MouseUp(button, shift, x, y);
  pressX_ = -1;
  pressY_ = -1;
  if (!IsOnHandle(x, y)) return;
  if (panelState_ == StateCollapsed) {
    SetState(StateExpanded, true);
  } else if (panelState_ == StateExpanded) {
    SetState(StateCollapsed, true);
  }
}

void Director::OnFormMouseLeave(TObject* /*sender*/) {
  if (panelState_ == StateCollapsed) idleTimer_->SetEnabled(true);

  // Pull the window back inside the primary screen.
  platform::Windowing& windows = platform::GetWindowing();
  const int32_t screenWidth = windows.ScreenWidth();
  const int32_t screenHeight = windows.ScreenHeight();
  const platform::Rect window = windows.GetWindowRect(PanelForm->Handle());
  const int32_t width = root_->Width();
  const int32_t height = root_->Height();
  if (screenWidth - width < window.left) {
    PanelForm->SetLeft(screenWidth - width);
  } else if (window.right < kLeftEdgeReach) {
    PanelForm->SetLeft(kLeftEdgeParking);
  }
  if (window.top < 0) {
    PanelForm->SetTop(0);
  } else if (screenHeight - height < window.top) {
    PanelForm->SetTop(screenHeight - height);
  }
}

bool Director::IsOnHandle(int32_t x, int32_t y) const {
  // Where Stage1Button sits while collapsed, and Stage2Button otherwise.
  const TRect handle =
      panelState_ == StateCollapsed ? TRect{227, 0, 341, 113} : TRect{0, 0, 91, 113};
  return handle.Contains(x, y);
}

void Director::OnButtonClick(gs::GsWidget* sender) {
  if (sender == closeButton_) {
    if (Application != nullptr) Application->Terminate();
  } else if (sender == turnLeftButton_) {
    TurnLeft();
  } else if (sender == turnRightButton_) {
    TurnRight();
  } else if (sender == lockButton_ || sender == unlockButton_) {
    // The buttons swap whether or not the library could be asked, without reading the state back.
    const bool on = sender == lockButton_;
    SwitchAutoRotation(on);
    lockButton_->SetVisible(!on);
    unlockButton_->SetVisible(on);
    turnLeftButton_->SetEnabled(on);
    turnRightButton_->SetEnabled(on);
  }
  // The handles act through OnFormMouseUp.
}

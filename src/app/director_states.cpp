// The panel's two states, the slide animation between them and the two timers.
#include "app/director.h"
#include "app/panel_artwork.h"
#include "base/bitmap.h"
#include "base/form.h"
#include "base/sys_utils.h"
#include "base/timer.h"
#include "gs/button_appearance.h"
#include "gs/image_loader.h"
#include "gs/wdg_button.h"
#include "gs/wdg_image.h"

namespace {

constexpr uint32_t kForegroundInterval = 100;
constexpr uint32_t kIdleInterval = 3000;
constexpr uint32_t kFramePause = 30;

}  // namespace

void Director::CreateTimers() {
  foregroundTimer_ = std::make_unique<TTimer>();
  foregroundTimer_->SetInterval(kForegroundInterval);
  foregroundTimer_->SetOnTimer(Callback<TObject*>(this, &Director::OnTimer));
  idleTimer_ = std::make_unique<TTimer>();
  idleTimer_->SetInterval(kIdleInterval);
  idleTimer_->SetOnTimer(Callback<TObject*>(this, &Director::OnTimer));
}

void Director::Pause() {
  SleepMilliseconds(kFramePause);
}

void Director::ShowOnlyFrame(const gs::WdgButton* frame) {
  for (gs::WdgButton* each : extendFrames_) each->SetVisible(each == frame);
}

void Director::FetchFramePicture(size_t index) {
  // A picture found wanting has been reported: no path, and its frame stays empty.
  framePictureFetch_.Start(framePicturePaths_[index]);
}

void Director::Slide(bool expanding) {
  const size_t count = extendFrames_.size();
  const auto frameAt = [&](size_t step) { return expanding ? step : count - 1 - step; };
  // Each frame's picture is decoded while the pause before it runs, pushed
  // once and let go of at once: one frame's pixels are kept at a time. The
  // expanded background is decoded during the pause after the last frame.
  const auto fetchFor = [&](size_t step) {
    if (step < count) {
      FetchFramePicture(frameAt(step));
    } else if (expanding) {
      framePictureFetch_.Start(expandedPicturePath_);
    }
  };
  fetchFor(0);
  Pause();
  root_ = noneImage_.get();
  AttachToRoot();
  for (size_t step = 0; step < count; ++step) {
    gs::WdgButton& frame = *extendFrames_[frameAt(step)];
    const bool decoded = framePictureFetch_.Finish(frame.Appearance().Raised());
    if (!decoded && firstSlideFailures_) (*firstSlideFailures_)[frameAt(step)] = true;
    ShowOnlyFrame(&frame);
    Repaint();
    frame.Appearance().Raised().TakePixels(0, 0, {});
    fetchFor(step + 1);
    Pause();
  }
  ShowOnlyFrame(nullptr);
  // Found wanting since it was checked, it stays empty, as a frame does.
  if (expanding) framePictureFetch_.Finish(expandedImage_->Picture());
}

void Director::SetState(PanelStates newState, bool touchIdleTimer) {
  if (newState == panelState_) return;
  panelState_ = newState;
  if (panelState_ == PanelStates::StateExpanded) {
    stage1Button_->SetVisible(false);
    Slide(true);
  } else if (panelState_ == PanelStates::StateCollapsed) {
    for (gs::WdgButton* button : {stage2Button_, closeButton_, turnLeftButton_, turnRightButton_,
                                  lockButton_, unlockButton_}) {
      button->SetVisible(false);
    }
    Slide(false);
    expandedImage_->Picture().TakePixels(0, 0, {});
  }

  // From here on nothing is pushed directly: the changes below invalidate the
  // form, and the paint that follows composes the new root.
  root_ = panelState_ == PanelStates::StateExpanded ? expandedImage_.get() : collapsedImage_.get();
  AttachToRoot();
  const bool expanded = panelState_ != PanelStates::StateCollapsed;
  closeButton_->SetVisible(expanded);
  turnLeftButton_->SetVisible(expanded);
  turnRightButton_->SetVisible(expanded);
  stage1Button_->SetVisible(!expanded);
  stage2Button_->SetVisible(expanded);
  const bool on = rotation_.IsAutoRotationOn();
  lockButton_->SetVisible(expanded && !on);
  unlockButton_->SetVisible(expanded && on);
  turnLeftButton_->SetEnabled(unlockButton_->Visible());
  turnRightButton_->SetEnabled(unlockButton_->Visible());
  foregroundTimer_->SetEnabled(panelState_ == PanelStates::StateExpanded);
  if (touchIdleTimer) idleTimer_->SetEnabled(panelState_ == PanelStates::StateCollapsed);
}

void Director::OnTimer(TObject* sender) {
  if (sender == foregroundTimer_.get()) {
    if (form_.AnotherWindowActive()) {
      foregroundTimer_->SetEnabled(false);
      SetState(PanelStates::StateCollapsed, true);
    }
  } else if (sender == idleTimer_.get()) {
    idleTimer_->SetEnabled(false);
    ShowIdleLook();
  }
}

void Director::SetHandleLook(bool idle) {
  // A message about a missing picture runs a message loop of its own; a look
  // asked for meanwhile waits for the next pointer move or idle tick.
  if (idleLookShown_ == idle || changingLook_) return;
  changingLook_ = true;
  idleLookShown_ = idle;
  gs::ReloadButtonImages(*stage1Button_, panel_artwork::HandlePictures(set_, L"Stage1", idle));
  changingLook_ = false;
  Repaint();
}

void Director::ShowIdleLook() {
  SetHandleLook(true);
}

void Director::ShowActiveLook() {
  SetHandleLook(false);
}

void Director::ReportFirstSlideFailures() {
  for (size_t i = 0; i < framePicturePaths_.size(); ++i) {
    if (!(*firstSlideFailures_)[i]) continue;
    gs::ReportUnloadableImage(framePicturePaths_[i]);
    framePicturePaths_[i].clear();
  }
  firstSlideFailures_.reset();
}

#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "app/rotation_binding.h"
#include "base/mouse.h"
#include "platform/types.h"

class TObject;
class TTimer;

namespace gs {
class GsWidget;
class TPerPixelLayeredWindowMaker;
class WdgButton;
class WdgImage;
}  // namespace gs

// The program's controller. It binds the rotation library, builds the panel
// from its artwork as a tree of widgets, places the form, composes the panel
// and pushes it to the layered window, turns the form's mouse input and the
// buttons' clicks into commands, and runs the panel's two states with their
// slide animation and timers. It reaches the form through PanelForm.
//
// Ownership: the Director owns the three backgrounds; every button and
// animation frame is attached to the current root, which owns it, so moving
// them to another root moves their ownership along. The Director destroys
// each of them exactly once, whichever background is the root.
class Director {
 public:
  enum PanelStates : int32_t { StateNone = -1, StateCollapsed = 1, StateExpanded = 2 };

  Director();
  ~Director();
  Director(const Director&) = delete;
  Director& operator=(const Director&) = delete;

  // Rotation library binding.
  void BindRotationLibrary();
  void ReleaseRotationLibrary();
  void TurnLeft();
  void TurnRight();
  void SwitchAutoRotation(bool on);
  bool IsAutoRotationOn();

  // Panel states, animation and timers.
  void CreateTimers();
  void SetState(int32_t newState, bool touchIdleTimer);
  void OnTimer(TObject* sender);
  void ShowIdleLook();
  void ShowActiveLook();

  // Building, composing and input.
  void BuildBackgrounds();
  void BuildButtons();
  void AttachToRoot();
  void Repaint();
  bool IsOnHandle(int32_t x, int32_t y) const;
  void ConnectFormEvents();
  void OnButtonClick(gs::GsWidget* sender);

  void OnFormPaint(TObject* sender);
  void OnFormMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int32_t x,
                       int32_t y);
  void OnFormMouseMove(TObject* sender, TShiftState shift, int32_t x, int32_t y);
  void OnFormMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  void OnFormMouseLeave(TObject* sender);

  // What tests and the form look at.
  int32_t PanelState() const { return panelState_; }
  bool IdleLookShown() const { return idleLookShown_; }
  const gs::WdgImage* Root() const { return root_; }
  const gs::WdgImage* NoneImage() const { return noneImage_.get(); }
  const gs::WdgImage* CollapsedImage() const { return collapsedImage_.get(); }
  const gs::WdgImage* ExpandedImage() const { return expandedImage_.get(); }
  const TTimer* ForegroundTimer() const { return foregroundTimer_.get(); }
  const TTimer* IdleTimer() const { return idleTimer_.get(); }
  const std::vector<gs::WdgButton*>& ExtendFrames() const { return extendFrames_; }
  gs::WdgButton* CloseButton() const { return closeButton_; }
  gs::WdgButton* TurnLeftButton() const { return turnLeftButton_; }
  gs::WdgButton* TurnRightButton() const { return turnRightButton_; }
  gs::WdgButton* LockButton() const { return lockButton_; }
  gs::WdgButton* UnlockButton() const { return unlockButton_; }
  gs::WdgButton* Stage1Button() const { return stage1Button_; }
  gs::WdgButton* Stage2Button() const { return stage2Button_; }
  platform::LibraryHandle RotationLibrary() const { return rotation_.Library(); }

 private:
  // The seven buttons, in the order they are built and attached.
  std::vector<gs::WdgButton*> Buttons() const;
  // Shows each frame alone in turn, pushing each at once.
  void Slide(bool expanding);
  void ShowOnlyFrame(const gs::WdgButton* frame);
  void SetHandleLook(bool idle);
  void Pause();

  int32_t panelState_ = StateNone;
  bool idleLookShown_ = false;
  bool changingLook_ = false;
  int32_t pressX_ = -1;
  int32_t pressY_ = -1;
  std::unique_ptr<TTimer> foregroundTimer_;
  std::unique_ptr<TTimer> idleTimer_;
  std::unique_ptr<gs::TPerPixelLayeredWindowMaker> layeredWindow_;
  gs::WdgImage* root_ = nullptr;
  std::unique_ptr<gs::WdgImage> noneImage_;
  std::unique_ptr<gs::WdgImage> collapsedImage_;
  std::unique_ptr<gs::WdgImage> expandedImage_;
  std::vector<gs::WdgButton*> extendFrames_;
  gs::WdgButton* closeButton_ = nullptr;
  gs::WdgButton* turnLeftButton_ = nullptr;
  gs::WdgButton* turnRightButton_ = nullptr;
  gs::WdgButton* lockButton_ = nullptr;
  gs::WdgButton* unlockButton_ = nullptr;
  gs::WdgButton* stage1Button_ = nullptr;
  gs::WdgButton* stage2Button_ = nullptr;
  RotationBinding rotation_;
  // The panel's own window, looked up once by class and title.
  platform::WindowHandle ownWindow_ = 0;
};

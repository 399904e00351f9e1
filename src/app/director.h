#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/input_follower.h"
#include "app/panel_placement.h"
#include "app/rotation_binding.h"
#include "base/geometry.h"
#include "base/mouse.h"
#include "gs/picture_fetch.h"
#include "gs/widget_factories.h"

class SensorRotation;
class TBitmap;
class TForm;
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
// slide animation and timers.
//
// The panel is drawn from the artwork set of the display's scale, and every
// distance in pixels grows with it; a new scale reloads and resizes the panel.
//
// Ownership: the Director owns the three backgrounds; every button and
// animation frame hangs on the current root, which owns it, and moves along
// when another background becomes the root.
class Director {
 public:
  enum class PanelStates : int32_t { StateNone = -1, StateCollapsed = 1, StateExpanded = 2 };

  // Builds the whole panel on `form`, which outlives the Director.
  explicit Director(TForm& form);
  ~Director();
  Director(const Director&) = delete;
  Director& operator=(const Director&) = delete;

  // The scale of the set for a display of `dpi`, among the sets that are there.
  static int32_t ScaleFor(int32_t dpi);

 private:
  // The tests read the state and the widgets through it.
  friend class DirectorProbe;

  using ClickHandler = void (Director::*)(gs::GsWidget*);
  // Where a button of the artwork's layout is kept, and what its click does.
  struct ButtonBinding {
    gs::WdgButton* Director::*slot;
    ClickHandler onClick;
  };

  // Display scale (director_scale.cpp).
  // In the order of the artwork's button layout.
  static const std::array<ButtonBinding, 7>& ButtonBindings();
  gs::ButtonImageNames PicturesOf(size_t button) const;
  // Builds the panel at `scale`, at start and on every change of scale: loads
  // the set, places the buttons and sizes the form to the root.
  void ApplyScale(int32_t scale);
  // Checks each frame's picture by decoding it without keeping it, reports
  // those found wanting and leaves their frames empty.
  void CheckFramePictures();
  // `pixels` at the scale in use.
  int32_t Scaled(int32_t pixels) const;
  void OnFormDpiChange(TObject* sender, int32_t dpi, std::optional<TPoint> suggestedTopLeft);
  // Loads the set for `dpi` and places the panel at its new size.
  void Rescale(int32_t dpi, std::optional<TPoint> suggestedTopLeft);
  void OnFormMoveStart(TObject* sender);
  void OnFormMoveEnd(TObject* sender);

  // Building (director.cpp).
  // The backgrounds, buttons and frames, still without pictures.
  void CreateWidgets();
  void PlaceForm();
  // Placement against the screen (director.cpp).
  TRect PrimaryScreen() const;
  panel_placement::Size PanelSize() const;
  // The window's rectangle at the panel's size.
  TRect PanelRect() const;
  void MoveForm(TPoint place);
  void MakeLayeredWindow();
  void AttachToRoot();
  void Repaint();
  // The seven buttons, in the order they are built and attached.
  std::vector<gs::WdgButton*> Buttons() const;

  // Input (director_input.cpp).
  void ConnectFormEvents();
  bool IsOnHandle(int32_t x, int32_t y) const;
  void OnFormPaint(TObject* sender);
  void OnFormMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int32_t x,
                       int32_t y);
  void OnFormMouseMove(TObject* sender, TShiftState shift, int32_t x, int32_t y);
  void OnFormMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  void OnFormMouseLeave(TObject* sender);
  void OnFormScreenChange(TObject* sender);
  void OnCloseClick(gs::GsWidget* sender);
  void OnTurnLeftClick(gs::GsWidget* sender);
  void OnTurnRightClick(gs::GsWidget* sender);
  void OnLockClick(gs::GsWidget* sender);
  void OnUnlockClick(gs::GsWidget* sender);
  void OnHandleClick(gs::GsWidget* sender);
  // Switches automatic rotation on or off and swaps the lock and unlock buttons.
  void SetAutoRotation(bool on);

  // States, animation and timers (director_states.cpp).
  void CreateTimers();
  void SetState(PanelStates newState, bool touchIdleTimer);
  void OnTimer(TObject* sender);
  void ShowIdleLook();
  void ShowActiveLook();
  void SetHandleLook(bool idle);
  // Shows each frame alone in turn, pushing each at once.
  void Slide(bool expanding);
  void ShowOnlyFrame(const gs::WdgButton* frame);
  // Starts decoding the picture of frame `index` (from 0).
  void FetchFramePicture(size_t index);
  // Reports the frames whose picture the first slide could not decode, and
  // leaves them empty from then on.
  void ReportFirstSlideFailures();
  void Pause();

  TForm& form_;
  int32_t scale_ = 100;
  // The screen the window was last placed against.
  TRect screen_;
  // A scale change in progress, and the latest one that arrived meanwhile.
  bool rescaling_ = false;
  std::optional<int32_t> pendingDpi_;
  std::optional<TPoint> pendingTopLeft_;
  // Between the start and the end of the system's move of the window.
  bool moving_ = false;
  // The scale changed during the move: the panel is placed when it ends.
  bool placeAfterMove_ = false;
  std::wstring set_;  // the set's folder below the images folder
  PanelStates panelState_ = PanelStates::StateNone;
  bool idleLookShown_ = false;
  bool changingLook_ = false;
  int32_t pressX_ = -1;
  int32_t pressY_ = -1;
  RotationBinding rotation_;
  // Turns the screen with the device, through rotation_.
  std::unique_ptr<SensorRotation> sensorRotation_;
  // Gone before the library it asks.
  InputFollower inputFollower_{rotation_};
  std::unique_ptr<gs::WdgImage> noneImage_;
  std::unique_ptr<gs::WdgImage> collapsedImage_;
  std::unique_ptr<gs::WdgImage> expandedImage_;
  gs::WdgImage* root_ = nullptr;
  std::vector<gs::WdgButton*> extendFrames_;
  // Each frame's picture, empty where it was found wanting.
  std::vector<std::wstring> framePicturePaths_;
  // The expanded background, likewise: decoded only while the panel expands.
  std::wstring expandedPicturePath_;
  // During the first slide: which frames' pictures failed to decode.
  std::optional<std::vector<bool>> firstSlideFailures_;
  gs::PictureFetch framePictureFetch_;
  gs::WdgButton* closeButton_ = nullptr;
  gs::WdgButton* turnLeftButton_ = nullptr;
  gs::WdgButton* turnRightButton_ = nullptr;
  gs::WdgButton* lockButton_ = nullptr;
  gs::WdgButton* unlockButton_ = nullptr;
  gs::WdgButton* stage1Button_ = nullptr;
  gs::WdgButton* stage2Button_ = nullptr;
  std::unique_ptr<gs::TPerPixelLayeredWindowMaker> layeredWindow_;
  // The composed panel, kept from one repaint to the next.
  std::unique_ptr<TBitmap> frame_;
  // Destroyed first: no tick can reach a Director that is half gone.
  std::unique_ptr<TTimer> foregroundTimer_;
  std::unique_ptr<TTimer> idleTimer_;
};

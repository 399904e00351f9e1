#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/callback.h"
#include "base/color.h"
#include "base/font.h"
#include "base/geometry.h"
#include "base/host_control.h"
#include "base/mouse.h"
#include "base/object.h"
#include "base/screen.h"
#include "platform/windowing.h"

enum class TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable };

// The design-time properties a form is built from.
struct TFormResource {
  int32_t Left = 0;
  int32_t Top = 0;
  TFormBorderStyle BorderStyle = TFormBorderStyle::bsSizeable;
  std::wstring Caption;
  int32_t ClientWidth = 0;
  int32_t ClientHeight = 0;
  TColor Color = clBtnFace;
};

using TMouseEvent = Callback<TObject*, TMouseButton, TShiftState, int32_t, int32_t>;
using TMouseMoveEvent = Callback<TObject*, TShiftState, int32_t, int32_t>;
// The new dots per inch of the form's monitor, and where the system suggests
// the window's top-left corner goes, if it does.
using TDpiChangeEvent = Callback<TObject*, int32_t, std::optional<TPoint>>;

// A top-level window. Its native window is created on first need; until then
// placement and size are only stored. A form knows nothing of the application
// that owns it: the application tells its main form what it needs to know.
class TForm : public TObject, public THostControl, private platform::WindowEvents {
 public:
  explicit TForm(const TFormResource& resource);
  ~TForm() override;

  // The name the native window class is registered under.
  virtual std::wstring ClassName() const = 0;

  platform::WindowHandle Handle();
  void Show();

  // Where the window is; it may have moved by itself (a drag) since it was placed.
  int32_t Left() const;
  int32_t Top() const;
  void SetLeft(int32_t left);
  void SetTop(int32_t top);
  // Both at once: the window moves once, never through a corner of the two.
  void MoveTo(int32_t left, int32_t top);
  int32_t ClientWidth() const { return clientWidth_; }
  int32_t ClientHeight() const { return clientHeight_; }
  void SetClientWidth(int32_t width);
  void SetClientHeight(int32_t height);
  // A frameless form's window is as large as its client area.
  int32_t Width() const { return clientWidth_; }
  int32_t Height() const { return clientHeight_; }
  const std::wstring& Caption() const { return caption_; }
  TFont& Font() { return *font_; }
  // The window's rectangle on the screen (where it would be before it exists).
  TRect BoundsRect() const;
  // The screen the form is shown on.
  const TScreen& Screen() const { return screen_; }
  // Lets the window move with the pointer until the button is released.
  void BeginDrag();
  // Asks the window to close, as the user would; the application ends when
  // its main form is asked.
  void Close();
  // Whether a window other than this form's is the active one; false when
  // none is or the system cannot tell. The form's own window is looked up by
  // its class name and caption, and kept once found.
  bool AnotherWindowActive();

  void Invalidate() override;

  TNotifyEvent OnPaint;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnDestroy;
  // A request to close the window (the application ends when its main form gets one).
  TNotifyEvent OnCloseRequest;
  TDpiChangeEvent OnDpiChange;
  // The primary screen changed its size or place (Screen() tells the new one).
  TNotifyEvent OnScreenChange;
  // The system's own move of the window (a drag) starts and ends.
  TNotifyEvent OnMoveStart;
  TNotifyEvent OnMoveEnd;
  // Touch and pen devices may need to be mapped onto the screen anew.
  TNotifyEvent OnInputDevicesChange;

  // Fires OnDestroy; the application calls it before it destroys the form.
  void DoDestroy();
  // Whether the window gets its own task-bar button; read when the window is created.
  void SetTaskBarButton(bool value) { taskBarButton_ = value; }

 protected:
  virtual void CreateParams(platform::WindowParams& params);

 private:
  void HandlePaint() override;
  void HandleMouseDown(platform::MouseButton button, uint8_t shift, int32_t x, int32_t y) override;
  void HandleMouseMove(uint8_t shift, int32_t x, int32_t y) override;
  void HandleMouseUp(platform::MouseButton button, uint8_t shift, int32_t x, int32_t y) override;
  void HandleMouseLeave() override;
  void HandleCloseRequest() override;
  void HandleDpiChange(int32_t dpi, std::optional<platform::Point> suggestedTopLeft) override;
  void HandleMoveStart() override;
  void HandleMoveEnd() override;
  void HandleScreenChange() override;
  void HandleInputDevicesChange() override;

  platform::WindowHandle handle_ = 0;
  // The window found by class name and caption for the activation check.
  platform::WindowHandle foundWindow_ = 0;
  TScreen screen_;
  bool taskBarButton_ = false;
  int32_t left_;
  int32_t top_;
  int32_t clientWidth_;
  int32_t clientHeight_;
  TFormBorderStyle borderStyle_;
  std::wstring caption_;
  TColor color_;
  std::unique_ptr<TFont> font_;
};

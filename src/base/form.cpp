#include "base/form.h"

#include "platform/services.h"

TForm::TForm(const TFormResource& resource)
    : left_(resource.Left),
      top_(resource.Top),
      clientWidth_(resource.ClientWidth),
      clientHeight_(resource.ClientHeight),
      borderStyle_(resource.BorderStyle),
      caption_(resource.Caption),
      color_(resource.Color),
      font_(std::make_unique<TFont>()) {}

TForm::~TForm() {
  if (handle_ != 0) platform::GetWindowing().DestroyWindow(handle_);
}

void TForm::CreateParams(platform::WindowParams& params) {
  params.className = ClassName();
  params.title = caption_;
  params.frameless = borderStyle_ == TFormBorderStyle::bsNone;
  params.onTop = false;
  params.inTaskBar = taskBarButton_;
  params.left = left_;
  params.top = top_;
  params.clientWidth = clientWidth_;
  params.clientHeight = clientHeight_;
  params.backgroundColor = ColorToRGB(color_);
}

platform::WindowHandle TForm::Handle() {
  if (handle_ == 0) {
    platform::WindowParams params;
    CreateParams(params);
    handle_ = platform::GetWindowing().CreateWindow(params, this);
  }
  return handle_;
}

void TForm::Show() {
  platform::GetWindowing().ShowWindow(Handle());
}

int32_t TForm::Left() const {
  return handle_ != 0 ? platform::GetWindowing().GetWindowRect(handle_).left : left_;
}

int32_t TForm::Top() const {
  return handle_ != 0 ? platform::GetWindowing().GetWindowRect(handle_).top : top_;
}

TRect TForm::BoundsRect() const {
  if (handle_ == 0) return {left_, top_, left_ + Width(), top_ + Height()};
  const platform::Rect rect = platform::GetWindowing().GetWindowRect(handle_);
  return TRect::FromPlatform(rect);
}

void TForm::BeginDrag() {
  platform::GetWindowing().BeginWindowDrag(Handle());
}

void TForm::Close() {
  OnCloseRequest(this);
}

bool TForm::AnotherWindowActive() {
  platform::Windowing& windows = platform::GetWindowing();
  const platform::WindowHandle active = windows.ActiveWindow();
  if (foundWindow_ == 0) foundWindow_ = windows.FindWindow(ClassName(), caption_);
  return active != 0 && active != foundWindow_;
}

void TForm::SetLeft(int32_t left) {
  MoveTo(left, Top());
}

void TForm::SetTop(int32_t top) {
  MoveTo(Left(), top);
}

void TForm::MoveTo(int32_t left, int32_t top) {
  left_ = left;
  top_ = top;
  if (handle_ != 0) platform::GetWindowing().MoveWindow(handle_, left_, top_);
}

void TForm::SetClientWidth(int32_t width) {
  clientWidth_ = width;
  if (handle_ != 0) platform::GetWindowing().SetClientSize(handle_, clientWidth_, clientHeight_);
}

void TForm::SetClientHeight(int32_t height) {
  clientHeight_ = height;
  if (handle_ != 0) platform::GetWindowing().SetClientSize(handle_, clientWidth_, clientHeight_);
}

void TForm::Invalidate() {
  if (handle_ != 0) platform::GetWindowing().Invalidate(handle_);
}

void TForm::DoDestroy() {
  OnDestroy(this);
}

void TForm::HandlePaint() {
  OnPaint(this);
}

void TForm::HandleMouseDown(platform::MouseButton button, uint8_t shift, int32_t x, int32_t y) {
  OnMouseDown(this, static_cast<TMouseButton>(button), TShiftState::FromBits(shift), x, y);
}

void TForm::HandleMouseMove(uint8_t shift, int32_t x, int32_t y) {
  OnMouseMove(this, TShiftState::FromBits(shift), x, y);
}

void TForm::HandleMouseUp(platform::MouseButton button, uint8_t shift, int32_t x, int32_t y) {
  OnMouseUp(this, static_cast<TMouseButton>(button), TShiftState::FromBits(shift), x, y);
}

void TForm::HandleMouseLeave() {
  OnMouseLeave(this);
}

void TForm::HandleCloseRequest() {
  OnCloseRequest(this);
}

void TForm::HandleDpiChange(int32_t dpi, std::optional<platform::Point> suggestedTopLeft) {
  std::optional<TPoint> suggested;
  if (suggestedTopLeft) suggested = TPoint{suggestedTopLeft->x, suggestedTopLeft->y};
  OnDpiChange(this, dpi, suggested);
}

void TForm::HandleMoveStart() {
  OnMoveStart(this);
}

void TForm::HandleMoveEnd() {
  OnMoveEnd(this);
}

void TForm::HandleScreenChange() {
  OnScreenChange(this);
}

void TForm::HandleInputDevicesChange() {
  OnInputDevicesChange(this);
}

#include "platform/x11/notice_dialog.h"

#include <X11/Xatom.h>
#include <X11/keysym.h>

#include <algorithm>

#include "platform/x11/argb_window.h"
#include "platform/x11/pango_text_rasterizer.h"
#include "platform/x11/pixel_pusher.h"
#include "platform/x11/primary_screen.h"
#include "platform/x11/x11_connection.h"

namespace platform::x11 {
namespace {

constexpr int32_t kMargin = 20;
constexpr int32_t kButtonWidth = 88;
constexpr int32_t kButtonHeight = 26;
constexpr int32_t kMinimumWidth = 240;
constexpr uint32_t kFace = 0xF0F0F0;  // 0x00BBGGRR
constexpr uint32_t kButtonFace = 0xE1E1E1;
constexpr uint32_t kButtonPressed = 0xF7E4CC;
constexpr uint32_t kButtonBorder = 0xD77800;
constexpr uint32_t kTextColor = 0x000000;

TextStyle NoticeStyle(uint32_t color) {
  TextStyle style;
  style.font.name = L"Sans";
  style.font.height = -13;
  style.color = color;
  style.transparent = true;
  return style;
}

void FillRect(uint8_t* pixels, int32_t stride, const Rect& r, uint32_t color) {
  for (int32_t y = r.top; y < r.bottom; ++y) {
    uint8_t* p = pixels + static_cast<ptrdiff_t>(y) * stride + static_cast<ptrdiff_t>(r.left) * 4;
    for (int32_t x = r.left; x < r.right; ++x, p += 4) {
      p[0] = static_cast<uint8_t>(color >> 16);
      p[1] = static_cast<uint8_t>(color >> 8);
      p[2] = static_cast<uint8_t>(color);
      p[3] = 255;
    }
  }
}

}  // namespace

NoticeDialog::NoticeDialog(X11Connection& connection, EventLoop& loop, PangoTextRasterizer& text,
                           std::string message, std::string caption)
    : connection_(connection),
      loop_(loop),
      text_(text),
      message_(std::move(message)),
      caption_(std::move(caption)) {}

NoticeDialog::~NoticeDialog() {
  if (window_) loop_.Unwatch(window_->Id());
}

void NoticeDialog::Layout() {
  PixelBuffer none;
  Rect measured{0, 0, 0, 0};
  text_.DrawUtf8(none, NoticeStyle(kTextColor), message_, measured,
                 {.singleLine = true, .measureOnly = true, .prefix = PrefixHandling::kNone});
  width_ = std::max(measured.right + 2 * kMargin, kMinimumWidth);
  height_ = kMargin + measured.bottom + kMargin + kButtonHeight + kMargin / 2;
  textRect_ = {kMargin, kMargin, width_ - kMargin, kMargin + measured.bottom};
  const int32_t buttonLeft = (width_ - kButtonWidth) / 2;
  const int32_t buttonTop = height_ - kMargin / 2 - kButtonHeight;
  buttonRect_ = {buttonLeft, buttonTop, buttonLeft + kButtonWidth, buttonTop + kButtonHeight};
}

void NoticeDialog::Run() {
  Layout();
  const Rect screen = PrimaryScreenArea(connection_);
  ArgbWindowOptions options;
  options.title = caption_;
  options.instanceName = "zentara-notice";
  options.bounds = Rect::OfSize(width_, height_)
                       .Translated(screen.left + std::max((screen.Width() - width_) / 2, 0),
                                   screen.top + std::max((screen.Height() - height_) / 2, 0));
  window_ = std::make_unique<ArgbWindow>(connection_, options);
  if (!window_->Valid()) return;
  const Atoms& atoms = connection_.Names();
  const unsigned long dialogType = atoms.netWmWindowTypeDialog;
  XChangeProperty(connection_.Get(), window_->Id(), atoms.netWmWindowType, XA_ATOM, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&dialogType), 1);
  pixels_ = std::make_unique<PixelPusher>(connection_, window_->Id());
  loop_.Watch(window_->Id(), this);
  window_->Show();

  loop_.RunUntil([this] { return closed_; });

  loop_.Unwatch(window_->Id());
  pixels_.reset();
  window_.reset();
}

bool NoticeDialog::OnButton(int32_t x, int32_t y) const {
  return buttonRect_.Contains(x, y);
}

void NoticeDialog::Draw() {
  uint8_t* frame = pixels_->Frame(width_, height_);
  if (frame == nullptr) return;
  const int32_t stride = pixels_->Stride();
  FillRect(frame, stride, Rect::OfSize(width_, height_), kFace);
  PixelBuffer target{frame, width_, height_, stride, 4};
  Rect textRect = textRect_;
  // A message shows its ampersands as they are, as a message box does.
  text_.DrawUtf8(target, NoticeStyle(kTextColor), message_, textRect,
                 {.singleLine = true, .prefix = PrefixHandling::kNone});
  FillRect(frame, stride, buttonRect_, kButtonBorder);
  FillRect(frame, stride, buttonRect_.Inflated(-1), pressed_ ? kButtonPressed : kButtonFace);
  Rect label = buttonRect_;
  text_.DrawUtf8(target, NoticeStyle(kTextColor), "OK", label,
                 {.horizontal = HorizontalPlacement::kCentre,
                  .vertical = VerticalPlacement::kCentre,
                  .singleLine = true});
  pixels_->Push();
}

void NoticeDialog::HandleEvent(const XEvent& event) {
  switch (event.type) {
    case Expose:
      if (event.xexpose.count == 0) Draw();
      break;
    case MapNotify:
      // Keys reach the notice even where no window manager gives it the focus.
      XSetInputFocus(connection_.Get(), window_->Id(), RevertToParent, CurrentTime);
      break;
    case KeyPress: {
      const KeySym key = XLookupKeysym(const_cast<XKeyEvent*>(&event.xkey), 0);
      if (key == XK_Return || key == XK_KP_Enter || key == XK_Escape || key == XK_space)
        closed_ = true;
      break;
    }
    case ButtonPress:
      if (event.xbutton.button == Button1 && OnButton(event.xbutton.x, event.xbutton.y)) {
        pressed_ = true;
        Draw();
      }
      break;
    case ButtonRelease:
      if (event.xbutton.button == Button1 && pressed_) {
        pressed_ = false;
        if (OnButton(event.xbutton.x, event.xbutton.y))
          closed_ = true;
        else
          Draw();
      }
      break;
    case ClientMessage:
      if (event.xclient.message_type == connection_.Names().wmProtocols &&
          static_cast<::Atom>(event.xclient.data.l[0]) == connection_.Names().wmDeleteWindow) {
        closed_ = true;
      }
      break;
    default:
      break;
  }
}

}  // namespace platform::x11

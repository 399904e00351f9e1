// The Director's life: construction, destruction, building the panel and composing it.
#include "app/director.h"

#include <algorithm>
#include <cwchar>

#include "app/panel_artwork.h"
#include "app/sensor_rotation.h"
#include "base/bitmap.h"
#include "base/form.h"
#include "base/sys_utils.h"
#include "base/timer.h"
#include "gs/per_pixel_layered_window.h"
#include "gs/widget_factories.h"
#include "platform/language_ids.h"

namespace {

// The whole panel is shown at this share of its pictures' own opacity.
constexpr uint8_t kPanelOpacity = 230;

// Arabic of every country, and Hebrew: the panel then starts at the left edge.
// The whole identifier counts, so Arabic without a country is not among them.
bool IsRightToLeft(uint16_t language) {
  using namespace platform::language_ids;
  return language == kHebrew || std::find(kArabicOfCountries.begin(), kArabicOfCountries.end(),
                                          language) != kArabicOfCountries.end();
}

}  // namespace

Director::Director(TForm& form) : form_(form) {
  rotation_.Bind();
  CreateWidgets();
  // At start, the primary monitor's scale.
  ApplyScale(ScaleFor(form_.Screen().PixelsPerInch()));
  PlaceForm();
  MakeLayeredWindow();
  CreateTimers();
  // The first state change runs the whole collapse, animation included,
  // before the window is first shown. Its slide decodes every frame, which
  // checks them at no further cost: the pictures found wanting are reported
  // after it, still before the window shows.
  firstSlideFailures_.emplace(extendFrames_.size(), false);
  SetState(PanelStates::StateCollapsed, false);
  ReportFirstSlideFailures();
  ConnectFormEvents();
  idleTimer_->SetEnabled(panelState_ == PanelStates::StateCollapsed);
  sensorRotation_ = std::make_unique<SensorRotation>(rotation_);
}

Director::~Director() {
  // The sensor, then the library go first; the timers, the layered window
  // and the widgets follow as members.
  sensorRotation_.reset();
  rotation_.Release();
}

void Director::CreateWidgets() {
  for (std::unique_ptr<gs::WdgImage>* image : {&noneImage_, &collapsedImage_, &expandedImage_}) {
    *image = std::make_unique<gs::WdgImage>();
    (*image)->SetAutoSize(true);
  }
  root_ = collapsedImage_.get();
  root_->SetHost(&form_);
  // Each widget belongs to the root from the start, so it always has exactly one owner.
  for (const ButtonBinding& binding : ButtonBindings()) {
    gs::WdgButton* button = root_->Adopt(gs::CreateButton({}));
    button->OnClick = gs::GsNotifyEvent(this, binding.onClick);
    button->SetVisible(false);
    this->*binding.slot = button;
  }
  for (int32_t i = 1; i <= panel_artwork::kFrameCount; ++i) {
    gs::WdgButton* frame = root_->Adopt(gs::CreateButton({}));
    frame->SetVisible(false);
    extendFrames_.push_back(frame);
  }
}

void Director::PlaceForm() {
  const uint16_t language = SysDefaultLanguage();

  wchar_t text[64] = {};
  std::swprintf(text, 64, L"%x", static_cast<unsigned>(language));
  OutputDebugLine(text);

  screen_ = PrimaryScreen();
  MoveForm(panel_placement::StartPlace(screen_, PanelSize(), scale_, IsRightToLeft(language)));
}

TRect Director::PrimaryScreen() const {
  return {0, 0, form_.Screen().Width(), form_.Screen().Height()};
}

panel_placement::Size Director::PanelSize() const {
  return {root_->Width(), root_->Height()};
}

TRect Director::PanelRect() const {
  // The window is as large as the root; only its place is read from the window.
  const TRect window = form_.BoundsRect();
  return {window.Left, window.Top, window.Left + root_->Width(), window.Top + root_->Height()};
}

void Director::MoveForm(TPoint place) {
  if (form_.Left() != place.X || form_.Top() != place.Y) form_.MoveTo(place.X, place.Y);
}

void Director::MakeLayeredWindow() {
  layeredWindow_ = std::make_unique<gs::TPerPixelLayeredWindowMaker>();
  layeredWindow_->SetUseConstantAlpha(true);
  layeredWindow_->SetAlpha(kPanelOpacity);
  layeredWindow_->SetUsePerPixelAlpha(true);
}

std::vector<gs::WdgButton*> Director::Buttons() const {
  return {closeButton_,  turnLeftButton_, turnRightButton_, lockButton_,
          unlockButton_, stage1Button_,   stage2Button_};
}

void Director::AttachToRoot() {
  root_->SetHost(&form_);
  for (gs::WdgButton* button : Buttons()) button->SetParent(root_);
  for (gs::WdgButton* frame : extendFrames_) frame->SetParent(root_);
}

void Director::Repaint() {
  // One frame bitmap for every repaint: black at alpha 0 before the tree paints.
  if (!frame_) {
    frame_ = std::make_unique<TBitmap>();
    frame_->SetPixelFormat(TPixelFormat::pf32bit);
    frame_->Canvas().Brush().SetColor(clBlack);
  }
  frame_->SetSize(root_->Width(), root_->Height());
  frame_->Canvas().FillRect({0, 0, frame_->Width(), frame_->Height()});
  root_->PaintTo(*frame_);
  layeredWindow_->UpdateForm(form_, *frame_);
}

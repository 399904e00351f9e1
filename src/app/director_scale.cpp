// The Director at the display's scale: which artwork set it draws from, the
// buttons' places, and what a new scale changes.
#include "app/director.h"
#include "app/display_scale.h"
#include "app/panel_artwork.h"
#include "base/bitmap.h"
#include "base/form.h"
#include "base/sys_utils.h"
#include "gs/image_loader.h"
#include "gs/wdg_button.h"
#include "gs/wdg_image.h"

namespace {

// Replaces an image's picture and sizes the image to it, even to 0 x 0 when it is missing.
void ReloadImage(gs::WdgImage& image, const std::wstring& name) {
  gs::LoadImageFile(gs::ImagesPath() + name, image.Picture());
  image.SetBounds(image.Left(), image.Top(), image.Picture().Width(), image.Picture().Height());
}

}  // namespace

const std::array<Director::ButtonPlace, 7>& Director::ButtonPlaces() {
  // In the order the buttons are built and attached.
  static const std::array<ButtonPlace, 7> places{{
      {&Director::closeButton_, L"X", false, false, 280, 44, &Director::OnCloseClick},
      {&Director::turnLeftButton_, L"Turn Left", false, true, 102, 32, &Director::OnTurnLeftClick},
      {&Director::turnRightButton_, L"Turn Right", false, true, 158, 32,
       &Director::OnTurnRightClick},
      {&Director::lockButton_, L"lock", false, false, 214, 32, &Director::OnLockClick},
      {&Director::unlockButton_, L"Unlock", false, false, 214, 32, &Director::OnUnlockClick},
      {&Director::stage1Button_, L"Stage1", true, false, 227, 0, &Director::OnHandleClick},
      {&Director::stage2Button_, L"Stage2", true, false, 0, 0, &Director::OnHandleClick},
  }};
  return places;
}

gs::ButtonImageNames Director::PicturesOf(const ButtonPlace& place) const {
  if (!place.handle)
    return panel_artwork::ButtonPictures(set_, place.folder, place.hasDisabledPicture);
  // Only the collapsed handle has an idle look.
  const bool idle = place.slot == &Director::stage1Button_ && idleLookShown_;
  return panel_artwork::HandlePictures(set_, place.folder, idle);
}

int32_t Director::ScaleFor(int32_t dpi) {
  return display_scale::ChooseScale(dpi, [](int32_t scale) {
    std::wstring folder = gs::ImagesPath() + display_scale::ScaleFolder(scale);
    folder.pop_back();  // the separator
    return DirectoryExists(folder);
  });
}

void Director::UseScale(int32_t scale) {
  scale_ = scale;
  set_ = display_scale::ScaleFolder(scale);
}

int32_t Director::Scaled(int32_t pixels) const {
  return display_scale::ScalePixels(pixels, scale_);
}

void Director::ReloadPictures() {
  ReloadImage(*noneImage_, set_ + panel_artwork::kNoneBackground);
  ReloadImage(*collapsedImage_, set_ + panel_artwork::kCollapsedBackground);
  ReloadImage(*expandedImage_, set_ + panel_artwork::kExpandedBackground);
  for (const ButtonPlace& place : ButtonPlaces()) {
    gs::WdgButton& button = *(this->*place.slot);
    gs::ReloadButtonImages(button, PicturesOf(place));
    button.SetLeft(Scaled(place.left));
    button.SetTop(Scaled(place.top));
  }
  for (size_t i = 0; i < extendFrames_.size(); ++i) {
    gs::ReloadButtonImages(*extendFrames_[i],
                           panel_artwork::FramePictures(set_, static_cast<int32_t>(i) + 1));
  }
}

void Director::OnFormDpiChange(TObject* /*sender*/, int32_t dpi,
                               std::optional<TPoint> suggestedTopLeft) {
  pendingDpi_ = dpi;
  pendingTopLeft_ = suggestedTopLeft;
  // A missing picture's message runs a message loop of its own, in which
  // another change may arrive: the latest is applied once the reload is done.
  if (rescaling_) return;
  rescaling_ = true;
  while (pendingDpi_) {
    const int32_t next = *pendingDpi_;
    const std::optional<TPoint> topLeft = pendingTopLeft_;
    pendingDpi_.reset();
    Rescale(next, topLeft);
  }
  rescaling_ = false;
}

void Director::Rescale(int32_t dpi, std::optional<TPoint> suggestedTopLeft) {
  const int32_t scale = ScaleFor(dpi);
  if (scale == scale_) return;
  const TRect window = PanelRect();
  const int32_t oldScale = scale_;

  UseScale(scale);
  ReloadPictures();
  form_.SetClientWidth(root_->Width());
  form_.SetClientHeight(root_->Height());
  if (moving_) {
    // The system moves the window across monitors: it goes where the system
    // suggests, and the edges count once the move is over.
    if (suggestedTopLeft) MoveForm(*suggestedTopLeft);
    placeAfterMove_ = true;
  } else {
    // The panel keeps its edge: flush right stays flush right, parked stays parked.
    const TRect screen = PrimaryScreen();
    MoveForm(panel_placement::Reanchored(screen_, screen, window, PanelSize(), oldScale, scale_));
    screen_ = screen;
  }
  Repaint();
}

void Director::OnFormMoveStart(TObject* /*sender*/) {
  moving_ = true;
  placeAfterMove_ = false;
}

void Director::OnFormMoveEnd(TObject* /*sender*/) {
  moving_ = false;
  if (!placeAfterMove_) return;
  placeAfterMove_ = false;
  // Pulled back inside the monitor the move left it on, not the primary screen.
  MoveForm(panel_placement::PulledBack(form_.MonitorRect(), PanelRect(), scale_));
}

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
void LoadPicture(gs::WdgImage& image, const std::wstring& name) {
  gs::LoadImageFile(gs::ImagesPath() + name, image.Picture());
  image.SetBounds(image.Left(), image.Top(), image.Picture().Width(), image.Picture().Height());
}

// A picture clear everywhere draws nothing: the image keeps its size and lets go of the pixels.
void DropIfClear(gs::WdgImage& image) {
  const TBitmap& picture = image.Picture();
  if (picture.Empty() || picture.PixelFormat() != TPixelFormat::pf32bit) return;
  for (int32_t y = 0; y < picture.Height(); ++y) {
    const uint8_t* row = picture.ScanLine(y);
    for (int32_t x = 0; x < picture.Width(); ++x) {
      if (row[x * 4 + 3] != 0) return;
    }
  }
  image.Picture().TakePixels(0, 0, {});
}

}  // namespace

const std::array<Director::ButtonBinding, 7>& Director::ButtonBindings() {
  using panel_artwork::ButtonIndex;
  static const std::array<ButtonBinding, 7> bindings = [] {
    std::array<ButtonBinding, 7> table{};
    table[ButtonIndex::kClose] = {&Director::closeButton_, &Director::OnCloseClick};
    table[ButtonIndex::kTurnLeft] = {&Director::turnLeftButton_, &Director::OnTurnLeftClick};
    table[ButtonIndex::kTurnRight] = {&Director::turnRightButton_, &Director::OnTurnRightClick};
    table[ButtonIndex::kLock] = {&Director::lockButton_, &Director::OnLockClick};
    table[ButtonIndex::kUnlock] = {&Director::unlockButton_, &Director::OnUnlockClick};
    table[ButtonIndex::kStage1] = {&Director::stage1Button_, &Director::OnHandleClick};
    table[ButtonIndex::kStage2] = {&Director::stage2Button_, &Director::OnHandleClick};
    return table;
  }();
  static_assert(bindings.size() == panel_artwork::kButtons.size());
  return bindings;
}

gs::ButtonImageNames Director::PicturesOf(size_t button) const {
  // Only the collapsed handle has an idle look.
  const bool idle = button == panel_artwork::ButtonIndex::kStage1 && idleLookShown_;
  return panel_artwork::PicturesOf(set_, panel_artwork::kButtons[button], idle);
}

int32_t Director::ScaleFor(int32_t dpi) {
  return display_scale::ChooseScale(dpi, [](int32_t scale) {
    std::wstring folder = gs::ImagesPath() + display_scale::ScaleFolder(scale);
    folder.pop_back();  // the separator
    return DirectoryExists(folder);
  });
}

int32_t Director::Scaled(int32_t pixels) const {
  return display_scale::ScalePixels(pixels, scale_);
}

void Director::ApplyScale(int32_t scale) {
  scale_ = scale;
  set_ = display_scale::ScaleFolder(scale);
  LoadPicture(*noneImage_, set_ + panel_artwork::kNoneBackground);
  DropIfClear(*noneImage_);
  LoadPicture(*collapsedImage_, set_ + panel_artwork::kCollapsedBackground);
  // Checked here, where a missing one is reported; held only while expanded.
  expandedPicturePath_ = gs::ImagesPath() + set_ + panel_artwork::kExpandedBackground;
  if (!gs::CheckImageFile(expandedPicturePath_)) expandedPicturePath_.clear();
  gs::PictureFetch expanded;
  if (panelState_ == PanelStates::StateExpanded) expanded.Start(expandedPicturePath_);
  expanded.Finish(expandedImage_->Picture());
  for (size_t i = 0; i < panel_artwork::kButtons.size(); ++i) {
    gs::WdgButton& button = *(this->*ButtonBindings()[i].slot);
    gs::ReloadButtonImages(button, PicturesOf(i));
    button.SetLeft(Scaled(panel_artwork::kButtons[i].left));
    button.SetTop(Scaled(panel_artwork::kButtons[i].top));
  }
  // The frames are decoded only when the slide shows them, and checked by
  // CheckFramePictures, or at start by the first slide (which decodes each).
  framePicturePaths_.clear();
  for (int32_t number = 1; number <= static_cast<int32_t>(extendFrames_.size()); ++number)
    framePicturePaths_.push_back(gs::ImagesPath() + panel_artwork::FramePictures(set_, number)[0]);
  form_.SetClientWidth(root_->Width());
  form_.SetClientHeight(root_->Height());
}

void Director::CheckFramePictures() {
  // Each is decoded whole, its rows dropped as they come.
  for (std::wstring& path : framePicturePaths_) {
    if (!gs::CheckImageFile(path)) path.clear();
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

  ApplyScale(scale);
  CheckFramePictures();
  // Read after the reload: a screen change that came during its messages
  // was left to this placement.
  const TRect screen = PrimaryScreen();
  if (moving_) {
    // The system moves the window across monitors: it goes where the system
    // suggests, and the edges count once the move is over.
    if (suggestedTopLeft) MoveForm(*suggestedTopLeft);
    placeAfterMove_ = true;
  } else {
    // The panel keeps its edge: flush right stays flush right, parked stays parked.
    MoveForm(panel_placement::Reanchored(screen_, screen, window, PanelSize(), oldScale, scale_));
  }
  screen_ = screen;
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
  // Pulled back inside the primary screen, as the pointer's leaving pulls it.
  screen_ = PrimaryScreen();
  MoveForm(panel_placement::PulledBack(screen_, PanelRect(), scale_));
}

#pragma once
// What the tests look at inside the Director: its state and the widgets it
// built, read through the one friend the Director declares for them.
#include <cstdint>
#include <vector>

#include "app/director.h"

class DirectorProbe {
 public:
  using PanelStates = Director::PanelStates;

  // `director` outlives the probe.
  explicit DirectorProbe(const Director& director) : d_(director) {}

  PanelStates PanelState() const { return d_.panelState_; }
  bool IdleLookShown() const { return d_.idleLookShown_; }
  const gs::WdgImage* Root() const { return d_.root_; }
  const gs::WdgImage* NoneImage() const { return d_.noneImage_.get(); }
  const gs::WdgImage* CollapsedImage() const { return d_.collapsedImage_.get(); }
  const gs::WdgImage* ExpandedImage() const { return d_.expandedImage_.get(); }
  const std::vector<gs::WdgButton*>& ExtendFrames() const { return d_.extendFrames_; }
  const gs::WdgButton* CloseButton() const { return d_.closeButton_; }
  const gs::WdgButton* TurnLeftButton() const { return d_.turnLeftButton_; }
  const gs::WdgButton* TurnRightButton() const { return d_.turnRightButton_; }
  const gs::WdgButton* LockButton() const { return d_.lockButton_; }
  const gs::WdgButton* UnlockButton() const { return d_.unlockButton_; }
  const gs::WdgButton* Stage1Button() const { return d_.stage1Button_; }
  const gs::WdgButton* Stage2Button() const { return d_.stage2Button_; }
  // The scale of the artwork set in use, in percent.
  int32_t Scale() const { return d_.scale_; }

 private:
  const Director& d_;
};

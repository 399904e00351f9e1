#pragma once
#include <cstdint>

#include "base/callback.h"
#include "base/persistent.h"

class TTextPainter;

namespace gs {

// How a control's caption looks in each visual state.
class GsCtrlTextEffect : public TPersistent {
 public:
  // The painter for a caption in visual state `state`; it stays the effect's
  // and serves only the drawing at hand.
  virtual TTextPainter& GetStatePainter(int32_t state) = 0;

  const TClassInfo& ClassInfo() const override;

  TNotifyEvent OnChange;

 protected:
  void Change();
};

}  // namespace gs

#include "gs/ctrl_text_effect.h"

namespace gs {

const TClassInfo& GsCtrlTextEffect::ClassInfo() const {
  static const TClassInfo info{"GsCtrlTextEffect", "GsWidget", {}, &TPersistent::ClassInfo()};
  return info;
}

void GsCtrlTextEffect::Change() {
  OnChange(this);
}

}  // namespace gs

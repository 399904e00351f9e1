#include "gs/wdg_custom_control.h"

namespace gs {

WdgCustomControl::WdgCustomControl() : margins_(std::make_unique<GsTextMargins>()) {}

WdgCustomControl::~WdgCustomControl() = default;

void WdgCustomControl::DrawCaption(TBitmap& /*target*/, int32_t /*state*/) {}

}  // namespace gs

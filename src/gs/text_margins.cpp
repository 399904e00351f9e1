#include "gs/text_margins.h"

#include <array>

namespace gs {

void GsTextMargins::SetLeft(int32_t value) {
  left_ = value;
  Change();
}

void GsTextMargins::SetRight(int32_t value) {
  right_ = value;
  Change();
}

void GsTextMargins::SetTop(int32_t value) {
  top_ = value;
  Change();
}

void GsTextMargins::SetBottom(int32_t value) {
  bottom_ = value;
  Change();
}

void GsTextMargins::Assign(const TPersistent& source) {
  const auto* margins = dynamic_cast<const GsTextMargins*>(&source);
  if (margins == nullptr) return TPersistent::Assign(source);
  left_ = margins->left_;
  top_ = margins->top_;
  right_ = margins->right_;
  bottom_ = margins->bottom_;
  Change();
}

const TClassInfo& GsTextMargins::ClassInfo() const {
  static constexpr std::array<TPropertyInfo, 4> kProperties{{
      {"Left", "int"},
      {"Right", "int"},
      {"Top", "int"},
      {"Bottom", "int"},
  }};
  static const TClassInfo info{"GsTextMargins", "GsWidget", kProperties, &TPersistent::ClassInfo()};
  return info;
}

void GsTextMargins::Change() {
  OnChange(this);
}

}  // namespace gs

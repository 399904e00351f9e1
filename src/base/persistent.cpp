#include "base/persistent.h"

#include <stdexcept>

void TPersistent::Assign(const TPersistent& /*source*/) {
  throw std::invalid_argument("cannot assign an object of another class");
}

const TClassInfo& TPersistent::ClassInfo() const {
  static const TClassInfo info{"TPersistent", "Classes", {}, nullptr};
  return info;
}

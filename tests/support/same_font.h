#pragma once
// Whether two fonts agree in every attribute a caller can set.
#include "base/font.h"

namespace testing_support {

inline bool SameFont(const TFont& a, const TFont& b) {
  return a.Name() == b.Name() && a.Height() == b.Height() && a.Color() == b.Color() &&
         a.Style() == b.Style() && a.Charset() == b.Charset() && a.Quality() == b.Quality();
}

}  // namespace testing_support

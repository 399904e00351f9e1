#include "effects/blend_rows.h"

#include "effects/blend_rows_x86.h"

namespace blend_rows {

std::vector<Path> Available() {
  std::vector<Path> paths{{"scalar", Scalar}};
#if ZENTARA_BLEND_X86
  paths.push_back({"sse2", Sse2});
  if (HasAvx2()) paths.push_back({"avx2", Avx2});
#endif
  return paths;
}

Row Fastest() {
  static const Row fastest = Available().back().row;
  return fastest;
}

}  // namespace blend_rows

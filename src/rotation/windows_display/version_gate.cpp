#include "rotation/windows_display/version_gate.h"

#include <cstdint>

namespace quillet {

bool PassesVersionGate(const PlatformEntries& entries) {
  uint32_t major = 0;
  uint32_t minor = 0;
  if (entries.queryVersion != nullptr) entries.queryVersion(&major, &minor);
  // Minor versions restart with each major one, so 7.0 and 10.0 pass.
  return (major >= 6 && minor >= 2) || major >= 7;
}

}  // namespace quillet

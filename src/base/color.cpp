#include "base/color.h"

#include "platform/services.h"
#include "platform/system.h"

uint32_t ColorToRGB(TColor color) {
  if (IsSystemColor(color))
    return platform::GetSystem().SystemColor(static_cast<int>(color & 0xFF)) & 0xFFFFFF;
  return color & 0xFFFFFF;
}

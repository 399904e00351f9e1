#pragma once
#include <cstdint>

// What the glow procedure takes from a painter: the strength of the halo,
// the share of its radius at full weight (both out of 255) and its radius.
struct GlowSettings {
  uint8_t opacity = 255;
  uint8_t spread = 0;
  int32_t radius = 0;  // 0 or more
};

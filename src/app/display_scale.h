#pragma once
// The display scales the panel has artwork for, which of them to use, and how
// a distance in pixels grows with the scale.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace display_scale {

// The display's dots per inch at 100 %.
inline constexpr int32_t kBaseDpi = 96;
// The scales of the artwork sets, in percent. The 100 % set lies in the images
// folder itself and is always there; the others lie in sub-folders.
inline constexpr std::array<int32_t, 8> kScales{100, 125, 150, 175, 200, 225, 250, 300};

// The set for a display of `dpi`: the one whose scale is nearest to dpi / 96,
// the larger one on a tie. A set for which `present` says no is skipped for the
// next nearest; the 100 % set is never asked about. A dpi that is not positive
// counts as 96.
int32_t ChooseScale(int32_t dpi, const std::function<bool(int32_t scale)>& present);

// The folder of a set below the images folder, ending in a separator
// ("scale-200\"); empty for the 100 % set.
std::wstring ScaleFolder(int32_t scale);

// `pixels` times scale / 100, rounded half up (3 at 125 % is 3.75, so 4;
// 3 at 150 % is 4.5, so 5).
int32_t ScalePixels(int32_t pixels, int32_t scale);

}  // namespace display_scale

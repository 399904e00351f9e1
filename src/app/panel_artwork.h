#pragma once
// The names of the panel's pictures, relative to the images folder. Each
// takes the folder of the artwork set (empty for the 100 % set, "scale-200\"
// for another), below which every set has the same names.
#include <cstdint>
#include <string>

#include "gs/widget_factories.h"

namespace panel_artwork {

inline constexpr wchar_t kNoneBackground[] = L"None.png";
inline constexpr wchar_t kCollapsedBackground[] = L"extend0001.png";
inline constexpr wchar_t kExpandedBackground[] = L"extend0015.png";
inline constexpr int32_t kFrameCount = 15;

// A button's normal, pressed and hovered pictures ("n.png", "d.png", "o.png"
// in its folder below "Button\"), and its disabled one ("un.png") if it has one.
gs::ButtonImageNames ButtonPictures(const std::wstring& set, const wchar_t* folder,
                                    bool hasDisabledPicture);
// A handle shows one picture in its normal, pressed and hovered states: the
// active "d.png", or the quieter idle "n.png".
gs::ButtonImageNames HandlePictures(const std::wstring& set, const wchar_t* folder, bool idle);
// Frame `number` (1 to kFrameCount) of the slide animation.
gs::ButtonImageNames FramePictures(const std::wstring& set, int32_t number);

}  // namespace panel_artwork

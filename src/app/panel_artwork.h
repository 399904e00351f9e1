#pragma once
// The panel's artwork: the names of its pictures, relative to the images
// folder, and where its buttons sit. Each name takes the folder of the artwork
// set (empty for the 100 % set, "scale-200\" for another), below which every
// set has the same names.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gs/widget_factories.h"

namespace panel_artwork {

inline constexpr wchar_t kNoneBackground[] = L"None.png";
inline constexpr wchar_t kCollapsedBackground[] = L"extend0001.png";
inline constexpr wchar_t kExpandedBackground[] = L"extend0015.png";
inline constexpr int32_t kFrameCount = 15;

// A button's folder below "Button\", its pictures and its place on the 100 % panel.
struct ButtonLayout {
  const wchar_t* folder;
  bool handle;              // one picture for every state
  bool hasDisabledPicture;  // of a button that is no handle
  int32_t left;
  int32_t top;
};

// The seven buttons, in the order they are built and attached; the index of
// each is its place in kButtons.
enum ButtonIndex : size_t { kClose, kTurnLeft, kTurnRight, kLock, kUnlock, kStage1, kStage2 };
inline constexpr std::array<ButtonLayout, 7> kButtons{{
    {L"X", false, false, 280, 44},
    {L"Turn Left", false, true, 102, 32},
    {L"Turn Right", false, true, 158, 32},
    {L"lock", false, false, 214, 32},
    {L"Unlock", false, false, 214, 32},  // shares the lock's place
    {L"Stage1", true, false, 227, 0},
    {L"Stage2", true, false, 0, 0},
}};

// A button's normal, pressed and hovered pictures ("n.png", "d.png", "o.png"
// in its folder below "Button\"), and its disabled one ("un.png") if it has one.
gs::ButtonImageNames ButtonPictures(const std::wstring& set, const wchar_t* folder,
                                    bool hasDisabledPicture);
// A handle shows one picture in its normal, pressed and hovered states: the
// active "d.png", or the quieter idle "n.png".
gs::ButtonImageNames HandlePictures(const std::wstring& set, const wchar_t* folder, bool idle);
// The pictures of a button of kButtons; `idle` picks a handle's idle look.
gs::ButtonImageNames PicturesOf(const std::wstring& set, const ButtonLayout& button, bool idle);
// Every picture the panel loads when it is built from `set`, the collapsed
// and the sliding backgrounds and the buttons' pictures in their first looks,
// each once: the slide's frames are decoded only when they show, and the
// expanded background, only checked then, while the panel expands.
std::vector<std::wstring> BuildPictures(const std::wstring& set);
// Frame `number` (1 to kFrameCount) of the slide animation.
gs::ButtonImageNames FramePictures(const std::wstring& set, int32_t number);

}  // namespace panel_artwork

#pragma once
#include <array>
#include <memory>
#include <string>

#include "gs/wdg_button.h"
#include "gs/wdg_image.h"

namespace gs {

// Picture names of a button's Raised, Sunken, Hovered and Disabled states,
// relative to the images folder; an empty name loads nothing for that state.
using ButtonImageNames = std::array<std::wstring, 4>;

// A new button whose state pictures are loaded from `names`. A picture that
// fails to load leaves its state empty (and the user is told). The caller
// owns it until it is attached (SetParent, Adopt) or turned into a
// std::unique_ptr.
WidgetPtr<WdgButton> CreateButton(const ButtonImageNames& names);
// Replaces the pictures of `button` the same way; a state with an empty name
// keeps its picture. Asks for no repaint.
void ReloadButtonImages(WdgButton& button, const ButtonImageNames& names);
// A new image widget showing the picture `name`; its size stays 0 x 0 until
// AutoSize or a size is set. Owned as CreateButton's result is.
WidgetPtr<WdgImage> CreateImage(const std::wstring& name);

}  // namespace gs

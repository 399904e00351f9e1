#pragma once
#include "platform/win32/windows_api.h"

#include "platform/text_rasterizer.h"

namespace platform::win32 {

// A GDI font as the description asks, its quality passed as it is; the caller
// deletes it.
HFONT CreateGdiFont(const FontDescription& font);

}  // namespace platform::win32

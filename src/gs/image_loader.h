#pragma once
#include <string>

class TBitmap;

namespace gs {

// The folder the artwork lies in: the executable's folder plus "images\".
std::wstring ImagesPath();

// Replaces `target` with the picture in the PNG file at `path`, as
// premultiplied 32-bit pixels. A file that cannot be loaded leaves `target`
// empty and tells the user so.
void LoadImageFile(const std::wstring& path, TBitmap& target);

}  // namespace gs

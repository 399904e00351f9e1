#pragma once
#include <string>

class TBitmap;

namespace gs {

// The folder the artwork lies in: the executable's folder plus "images\",
// formed anew on each call, whatever the current directory.
std::wstring ImagesPath();

// Replaces `target` with the picture in the PNG file at `path`, as
// premultiplied 32-bit pixels. A file that cannot be loaded (missing, cut
// short, damaged, not a PNG, empty or too large) leaves `target` empty and
// shows the message "Can not load image " plus `path`, caption "LoadImage".
void LoadImageFile(const std::wstring& path, TBitmap& target);

}  // namespace gs

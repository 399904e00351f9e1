#pragma once
#include <string>

#include "platform/image_decoder.h"

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

// For a picture checked when it is named and decoded only when it is drawn:
// shows the message LoadImageFile would show for a file that cannot be
// loaded, and answers whether the file can be. The later decode says nothing.
bool CheckImageFile(const std::wstring& path);
// Shows that message for a picture that failed its decode after all.
void ReportUnloadableImage(const std::wstring& path);
// Replaces `target` with a decoded picture, or empties it when `image` is not
// a whole picture within the size bound; answers whether it took the picture.
bool TakeDecodedImage(platform::DecodedImage image, TBitmap& target);

}  // namespace gs

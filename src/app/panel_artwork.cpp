#include "app/panel_artwork.h"

#include <algorithm>
#include <cwchar>

namespace panel_artwork {

gs::ButtonImageNames ButtonPictures(const std::wstring& set, const wchar_t* folder,
                                    bool hasDisabledPicture) {
  const std::wstring prefix = set + L"Button\\" + folder + L"\\";
  return {prefix + L"n.png", prefix + L"d.png", prefix + L"o.png",
          hasDisabledPicture ? prefix + L"un.png" : std::wstring()};
}

gs::ButtonImageNames HandlePictures(const std::wstring& set, const wchar_t* folder, bool idle) {
  const std::wstring name = set + L"Button\\" + folder + (idle ? L"\\n.png" : L"\\d.png");
  return {name, name, name, std::wstring()};
}

gs::ButtonImageNames PicturesOf(const std::wstring& set, const ButtonLayout& button, bool idle) {
  if (button.handle) return HandlePictures(set, button.folder, idle);
  return ButtonPictures(set, button.folder, button.hasDisabledPicture);
}

std::vector<std::wstring> BuildPictures(const std::wstring& set) {
  std::vector<std::wstring> names{set + kNoneBackground, set + kCollapsedBackground};
  for (const ButtonLayout& button : kButtons) {
    for (const std::wstring& name : PicturesOf(set, button, false)) {
      if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
    }
  }
  return names;
}

gs::ButtonImageNames FramePictures(const std::wstring& set, int32_t number) {
  wchar_t name[260] = {};
  std::swprintf(name, 260, L"LEFT_Extend\\%d.png", static_cast<int>(number));
  return {set + name, std::wstring(), std::wstring(), std::wstring()};
}

}  // namespace panel_artwork

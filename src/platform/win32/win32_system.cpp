#include "platform/win32/win32_system.h"

#include "platform/system_colors.h"
#include "platform/win32/windows_api.h"

#include <string>

namespace platform::win32 {

bool Win32System::ClaimSingleInstance(std::wstring_view mutexName) {
  const std::wstring name(mutexName);
  // The handle is kept open on purpose: the mutex marks this process until it ends.
  ::CreateMutexW(nullptr, TRUE, name.c_str());
  return ::GetLastError() != ERROR_ALREADY_EXISTS;
}

void Win32System::Sleep(uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

void Win32System::DebugOutput(std::wstring_view line) {
  ::OutputDebugStringW(std::wstring(line).c_str());
}

bool Win32System::FolderExists(std::wstring_view path) {
  const DWORD attributes = ::GetFileAttributesW(std::wstring(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

uint16_t Win32System::SystemDefaultLanguage() {
  return ::GetSystemDefaultLangID();
}

std::wstring Win32System::ExecutableName() {
  std::wstring name(MAX_PATH, L'\0');
  while (true) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) {
      name.resize(length);
      return name;
    }
    name.resize(name.size() * 2);
  }
}

void Win32System::ShowMessage(std::wstring_view text, std::wstring_view caption) {
  ::MessageBoxW(nullptr, std::wstring(text).c_str(), std::wstring(caption).c_str(), MB_OK);
}

// The program names system colours by the system's own numbers.
static_assert(
    system_colors::kScrollBar == COLOR_SCROLLBAR &&
    system_colors::kBackground == COLOR_BACKGROUND &&
    system_colors::kActiveCaption == COLOR_ACTIVECAPTION &&
    system_colors::kInactiveCaption == COLOR_INACTIVECAPTION &&
    system_colors::kMenu == COLOR_MENU && system_colors::kWindow == COLOR_WINDOW &&
    system_colors::kWindowFrame == COLOR_WINDOWFRAME &&
    system_colors::kMenuText == COLOR_MENUTEXT && system_colors::kWindowText == COLOR_WINDOWTEXT &&
    system_colors::kCaptionText == COLOR_CAPTIONTEXT &&
    system_colors::kActiveBorder == COLOR_ACTIVEBORDER &&
    system_colors::kInactiveBorder == COLOR_INACTIVEBORDER &&
    system_colors::kAppWorkspace == COLOR_APPWORKSPACE &&
    system_colors::kHighlight == COLOR_HIGHLIGHT &&
    system_colors::kHighlightText == COLOR_HIGHLIGHTTEXT &&
    system_colors::kButtonFace == COLOR_BTNFACE &&
    system_colors::kButtonShadow == COLOR_BTNSHADOW && system_colors::kGrayText == COLOR_GRAYTEXT &&
    system_colors::kButtonText == COLOR_BTNTEXT &&
    system_colors::kInactiveCaptionText == COLOR_INACTIVECAPTIONTEXT &&
    system_colors::kButtonHighlight == COLOR_BTNHIGHLIGHT &&
    system_colors::k3dDarkShadow == COLOR_3DDKSHADOW && system_colors::k3dLight == COLOR_3DLIGHT &&
    system_colors::kInfoText == COLOR_INFOTEXT && system_colors::kInfoBackground == COLOR_INFOBK &&
    system_colors::kHotLight == COLOR_HOTLIGHT &&
    system_colors::kGradientActiveCaption == COLOR_GRADIENTACTIVECAPTION &&
    system_colors::kGradientInactiveCaption == COLOR_GRADIENTINACTIVECAPTION &&
    system_colors::kMenuHighlight == COLOR_MENUHILIGHT && system_colors::kMenuBar == COLOR_MENUBAR);

uint32_t Win32System::SystemColor(int index) {
  return ::GetSysColor(index);
}

void Win32System::ExitProcess(int code) {
  ::ExitProcess(static_cast<UINT>(code));
}

}  // namespace platform::win32

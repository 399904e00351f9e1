#include "platform/x11/x11_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "platform/posix/debug_line.h"
#include "platform/posix/path_resolver.h"
#include "platform/posix/utf8_decoding.h"
#include "platform/system_colors.h"
#include "platform/x11/locale_language.h"
#include "platform/x11/notice_dialog.h"
#include "platform/x11/single_instance_lock.h"
#include "platform/x11/x11_connection.h"

namespace platform::x11 {

bool X11System::ClaimSingleInstance(std::wstring_view mutexName) {
  return ClaimLockFile(
      LockFilePath(DisplayLockName(posix::ToUtf8(mutexName), DisplayString(connection_.Get()))));
}

void X11System::Sleep(uint32_t milliseconds) {
  XFlush(connection_.Get());
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void X11System::DebugOutput(std::wstring_view line) {
  posix::WriteDebugLine(posix::ToUtf8(line));
}

uint16_t X11System::SystemDefaultLanguage() {
  return LanguageOfLocale(PreferredLocale());
}

std::wstring X11System::ExecutableName() {
  std::string name(256, '\0');
  while (true) {
    const ssize_t length = readlink("/proc/self/exe", name.data(), name.size());
    if (length < 0) return {};
    if (static_cast<size_t>(length) < name.size()) {
      name.resize(static_cast<size_t>(length));
      return posix::FromUtf8(name);
    }
    name.resize(name.size() * 2);
  }
}

bool X11System::FolderExists(std::wstring_view path) {
  struct stat status {};
  return stat(posix::ResolvePath(path).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

void X11System::ShowMessage(std::wstring_view text, std::wstring_view caption) {
  NoticeDialog notice(connection_, loop_, text_, posix::ToUtf8(text), posix::ToUtf8(caption));
  notice.Run();
}

uint32_t X11System::SystemColor(int index) {
  return ClassicSystemColor(index);
}

void X11System::ExitProcess(int code) {
  std::fflush(stderr);
  XFlush(connection_.Get());
  _exit(code);
}

uint32_t ClassicSystemColor(int index) {
  using namespace system_colors;
  static constexpr std::array<uint32_t, kCount> kClassic = [] {
    std::array<uint32_t, kCount> colors{};
    colors[kScrollBar] = 0xC8C8C8;
    colors[kBackground] = 0x000000;
    colors[kActiveCaption] = 0x6A240A;
    colors[kInactiveCaption] = 0x808080;
    colors[kMenu] = 0xC8D0D4;
    colors[kWindow] = 0xFFFFFF;
    colors[kWindowFrame] = 0x000000;
    colors[kMenuText] = 0x000000;
    colors[kWindowText] = 0x000000;
    colors[kCaptionText] = 0xFFFFFF;
    colors[kActiveBorder] = 0xC8D0D4;
    colors[kInactiveBorder] = 0xC8D0D4;
    colors[kAppWorkspace] = 0x808080;
    colors[kHighlight] = 0x6A240A;
    colors[kHighlightText] = 0xFFFFFF;
    colors[kButtonFace] = 0xC8D0D4;
    colors[kButtonShadow] = 0x808080;
    colors[kGrayText] = 0x808080;
    colors[kButtonText] = 0x000000;
    colors[kInactiveCaptionText] = 0xC8D0D4;
    colors[kButtonHighlight] = 0xFFFFFF;
    colors[k3dDarkShadow] = 0x404040;
    colors[k3dLight] = 0xC8D0D4;
    colors[kInfoText] = 0x000000;
    colors[kInfoBackground] = 0xE1FFFF;
    colors[kButtonAlternateFace] = 0xB5B5B5;
    colors[kHotLight] = 0x800000;
    colors[kGradientActiveCaption] = 0xF0CAA6;
    colors[kGradientInactiveCaption] = 0xC0C0C0;
    colors[kMenuHighlight] = 0x6A240A;
    colors[kMenuBar] = 0xC8D0D4;
    return colors;
  }();
  if (index < 0 || index >= kCount) return 0;
  return kClassic[static_cast<size_t>(index)];
}

}  // namespace platform::x11

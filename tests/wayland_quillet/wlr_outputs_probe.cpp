// Holds one wlroots output management session open and acts on the lines it
// reads, answering each with one line, so that a test can change the desktop
// between reading its outputs and turning one:
//
//   read     reads every output: 1, or 0 when they cannot be read
//   turn N   turns the tablet's output of the last read to code N: 1 when
//            the compositor took it, else 0
//
// Exit code 2 when the desktop offers no wlroots output management.
#include <cstdint>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rotation/linux_desktop/desktop_outputs.h"
#include "rotation/linux_desktop/wayland/wlr_output_management.h"

int main() {
  auto connection = std::make_unique<quillet::wayland::WaylandConnection>();
  auto desktop = quillet::wayland::OpenWlrOutputManagement(connection);
  if (!desktop) return 2;
  std::optional<std::vector<quillet::linux_desktop::DesktopOutput>> read;
  std::string command;
  while (std::cin >> command) {
    if (command == "read") {
      read = desktop->Read();
      std::cout << (read ? 1 : 0) << std::endl;
    } else if (command == "turn") {
      int32_t code = 1;
      std::cin >> code;
      const auto tablet = read ? quillet::linux_desktop::TabletOutput(*read) : std::nullopt;
      const bool turned =
          tablet && desktop->Apply(quillet::linux_desktop::TurnOutput(*read, *tablet, code));
      std::cout << (turned ? 1 : 0) << std::endl;
    }
  }
  return 0;
}

#pragma once
#include <memory>
#include <string>

#include "rotation/linux_desktop/input_devices.h"

namespace quillet::x11 {

// What libwacom's tablet database says of a pen: whether its tablet is
// built into the system's display, is a display of its own or has none.
// The database is read once, on the first question.
class WacomPens {
 public:
  WacomPens();
  ~WacomPens();
  WacomPens(const WacomPens&) = delete;
  WacomPens& operator=(const WacomPens&) = delete;

  // Unknown for a node the database has no entry for.
  linux_desktop::PenIntegration IntegrationOf(const std::string& devnode);

 private:
  struct Database;
  std::unique_ptr<Database> database_;
};

}  // namespace quillet::x11

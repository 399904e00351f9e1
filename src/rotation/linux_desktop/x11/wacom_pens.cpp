#include "rotation/linux_desktop/x11/wacom_pens.h"

// The header declares no C linkage of its own.
extern "C" {
#include <libwacom/libwacom.h>
}

namespace quillet::x11 {

struct WacomPens::Database {
  struct Deleter {
    void operator()(WacomDeviceDatabase* database) const { libwacom_database_destroy(database); }
  };
  std::unique_ptr<WacomDeviceDatabase, Deleter> entries{libwacom_database_new()};
};

WacomPens::WacomPens() = default;
WacomPens::~WacomPens() = default;

linux_desktop::PenIntegration WacomPens::IntegrationOf(const std::string& devnode) {
  if (!database_) database_ = std::make_unique<Database>();
  if (!database_->entries) return linux_desktop::PenIntegration::kUnknown;
  // Without a fallback, a pen the database does not list gives no device.
  std::unique_ptr<WacomDevice, decltype(&libwacom_destroy)> device(
      libwacom_new_from_path(database_->entries.get(), devnode.c_str(), WFALLBACK_NONE, nullptr),
      &libwacom_destroy);
  if (!device) return linux_desktop::PenIntegration::kUnknown;
  const int flags = libwacom_get_integration_flags(device.get());
  if ((flags & WACOM_DEVICE_INTEGRATED_DISPLAY) == 0)
    return linux_desktop::PenIntegration::kNoDisplay;
  return (flags & WACOM_DEVICE_INTEGRATED_SYSTEM) != 0
             ? linux_desktop::PenIntegration::kSystemDisplay
             : linux_desktop::PenIntegration::kOwnDisplay;
}

}  // namespace quillet::x11

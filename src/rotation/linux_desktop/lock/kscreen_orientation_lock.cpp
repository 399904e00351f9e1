#include "rotation/linux_desktop/lock/kscreen_orientation_lock.h"

namespace quillet::lock {
namespace {

constexpr char kPath[] = "/modules/kscreen";
constexpr char kInterface[] = "org.kde.KScreen";

}  // namespace

std::optional<bool> KScreenOrientationLock::AskBoolean(const char* method) {
  const platform::gio::VariantPtr reply =
      bus_.Call(service_, kPath, kInterface, method, nullptr, G_VARIANT_TYPE("(b)"));
  if (!reply) return std::nullopt;
  gboolean value = FALSE;
  g_variant_get(reply.get(), "(b)", &value);
  return value != FALSE;
}

std::optional<bool> KScreenOrientationLock::IsLocked() {
  if (AskBoolean("isAutoRotateAvailable") != true) return std::nullopt;
  const std::optional<bool> automatic = AskBoolean("getAutoRotate");
  if (!automatic) return std::nullopt;
  return !*automatic;
}

bool KScreenOrientationLock::SetLocked(bool locked) {
  const platform::gio::VariantPtr reply =
      bus_.Call(service_, kPath, kInterface, "setAutoRotate",
                g_variant_new("(b)", locked ? FALSE : TRUE), G_VARIANT_TYPE("()"));
  return reply != nullptr;
}

}  // namespace quillet::lock

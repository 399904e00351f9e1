#include "rotation/linux_desktop/lock/gio_orientation_lock.h"

namespace quillet::lock {
namespace {

bool HasBooleanKey(GSettingsSchema* schema, const char* name) {
  if (!g_settings_schema_has_key(schema, name)) return false;
  GSettingsSchemaKey* key = g_settings_schema_get_key(schema, name);
  const bool boolean =
      g_variant_type_equal(g_settings_schema_key_get_value_type(key), G_VARIANT_TYPE_BOOLEAN);
  g_settings_schema_key_unref(key);
  return boolean;
}

// The schema when it is installed with its boolean key; the caller unrefs it.
GSettingsSchema* LookUp(const char* schemaId, const char* key) {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  if (source == nullptr) return nullptr;
  GSettingsSchema* schema = g_settings_schema_source_lookup(source, schemaId, TRUE);
  if (schema != nullptr && !HasBooleanKey(schema, key)) {
    g_settings_schema_unref(schema);
    return nullptr;
  }
  return schema;
}

}  // namespace

GioOrientationLock::GioOrientationLock(const char* schemaId, const char* key) : key_(key) {
  GSettingsSchema* schema = LookUp(schemaId, key);
  if (schema == nullptr) return;
  settings_ = g_settings_new_full(schema, nullptr, nullptr);
  g_settings_schema_unref(schema);
}

GioOrientationLock::~GioOrientationLock() {
  if (settings_ != nullptr) g_object_unref(settings_);
}

bool GioOrientationLock::IsInstalled(const char* schemaId, const char* key) {
  GSettingsSchema* schema = LookUp(schemaId, key);
  if (schema == nullptr) return false;
  g_settings_schema_unref(schema);
  return true;
}

std::optional<bool> GioOrientationLock::IsLocked() {
  if (settings_ == nullptr) return std::nullopt;
  return g_settings_get_boolean(settings_, key_) != FALSE;
}

bool GioOrientationLock::SetLocked(bool locked) {
  if (settings_ == nullptr) return false;
  // Refused when the key is locked down by the administrator.
  if (!g_settings_set_boolean(settings_, key_, locked ? TRUE : FALSE)) return false;
  // Writes go out in the background; the caller may look again at once.
  g_settings_sync();
  return true;
}

}  // namespace quillet::lock

#pragma once
#include <gio/gio.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/orientation_sensor.h"

namespace platform::gio {

// The accelerometer as the system's sensor service (net.hadess.SensorProxy)
// shares it. It is followed only where the desktop has no rotation service of
// its own, which would follow the sensor itself. The service may come, go and
// come back; while it runs and has an accelerometer, the sensor is claimed and
// each new orientation is passed on. Every answer comes through the default
// GLib main context, which the program's loop runs.
class SensorProxy final : public OrientationSensor {
 public:
  SensorProxy() = default;
  ~SensorProxy() override;
  SensorProxy(const SensorProxy&) = delete;
  SensorProxy& operator=(const SensorProxy&) = delete;

  void Follow(std::function<void(int32_t code)> reading) override;
  void Release() override;

 private:
  static void OnAppeared(GDBusConnection*, const gchar*, const gchar* owner, gpointer self);
  static void OnVanished(GDBusConnection*, const gchar*, gpointer self);
  static void OnPropertiesChanged(GDBusConnection*, const gchar* sender, const gchar*, const gchar*,
                                  const gchar*, GVariant* parameters, gpointer self);
  static void OnProperties(GObject* bus, GAsyncResult* result, gpointer self);
  static void OnClaimed(GObject* bus, GAsyncResult* result, gpointer self);

  // Takes the properties of a dictionary (a{sv}) that the service sent.
  void Take(GVariant* properties);
  void Claim();
  void Report();

  std::function<void(int32_t code)> reading_;
  GDBusConnection* bus_ = nullptr;
  GCancellable* cancellable_ = nullptr;
  guint watch_ = 0;
  guint subscription_ = 0;
  std::string owner_;  // the service's unique name while it runs
  bool hasAccelerometer_ = false;
  bool claiming_ = false;
  bool claimed_ = false;
  std::string orientation_;
  int32_t reported_ = 0;
};

}  // namespace platform::gio

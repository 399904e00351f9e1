#include "platform/services.h"

#include <stdexcept>

namespace platform {
namespace {

Services installed;

template <typename T>
T& Require(T* service, const char* name) {
  if (service == nullptr)
    throw std::logic_error(std::string("platform service not installed: ") + name);
  return *service;
}

}  // namespace

Services Install(const Services& services) {
  Services previous = installed;
  installed = services;
  return previous;
}

System& GetSystem() {
  return Require(installed.system, "system");
}
ImageDecoder& GetImageDecoder() {
  return Require(installed.images, "image decoder");
}
TextRasterizer& GetTextRasterizer() {
  return Require(installed.text, "text rasterizer");
}
Windowing& GetWindowing() {
  return Require(installed.windows, "windowing");
}
Timers& GetTimers() {
  return Require(installed.timers, "timers");
}
Libraries& GetLibraries() {
  return Require(installed.libraries, "libraries");
}
OrientationSensor& GetOrientationSensor() {
  return Require(installed.sensor, "orientation sensor");
}

}  // namespace platform

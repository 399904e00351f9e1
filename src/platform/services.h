#pragma once
// The one place through which the rest of the program reaches the operating
// system. The program entry installs the Windows or the X11 implementation;
// tests install test doubles.

namespace platform {

class System;
class ImageDecoder;
class TextRasterizer;
class Windowing;
class Timers;
class Libraries;
class OrientationSensor;

struct Services {
  System* system = nullptr;
  ImageDecoder* images = nullptr;
  TextRasterizer* text = nullptr;
  Windowing* windows = nullptr;
  Timers* timers = nullptr;
  Libraries* libraries = nullptr;
  OrientationSensor* sensor = nullptr;
};

// Installs a set of services and returns the one it replaces.
Services Install(const Services& services);

// Each accessor throws std::logic_error when its service is not installed.
System& GetSystem();
ImageDecoder& GetImageDecoder();
TextRasterizer& GetTextRasterizer();
Windowing& GetWindowing();
Timers& GetTimers();
Libraries& GetLibraries();
OrientationSensor& GetOrientationSensor();

}  // namespace platform

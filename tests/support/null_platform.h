#pragma once
// A platform without an operating system: it records every call and lets a
// test steer what the platform reports, fire timer ticks and deliver window events.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/image_decoder.h"
#include "platform/libraries.h"
#include "platform/mnemonic_text.h"
#include "platform/orientation_sensor.h"
#include "platform/services.h"
#include "platform/system.h"
#include "platform/text_rasterizer.h"
#include "platform/timers.h"
#include "platform/windowing.h"

namespace testing_support {

// Thrown by NullSystem::ExitProcess so that a test can see the exit code.
struct ProcessExit : std::runtime_error {
  explicit ProcessExit(int exitCode) : std::runtime_error("process exit"), code(exitCode) {}
  int code;
};

class NullSystem : public platform::System {
 public:
  bool ClaimSingleInstance(std::wstring_view mutexName) override;
  void Sleep(uint32_t milliseconds) override;
  void DebugOutput(std::wstring_view line) override { debugLines.emplace_back(line); }
  uint16_t SystemDefaultLanguage() override { return language; }
  std::wstring ExecutableName() override { return executableName; }
  bool FolderExists(std::wstring_view path) override;
  void ShowMessage(std::wstring_view text, std::wstring_view caption) override;
  uint32_t SystemColor(int index) override;
  [[noreturn]] void ExitProcess(int code) override { throw ProcessExit(code); }

  uint16_t language = 0x0409;
  std::wstring executableName = L"C:\\Zentara\\Zentara.exe";
  std::vector<std::wstring> folders;         // the folders that exist, as full paths
  std::vector<std::wstring> claimedMutexes;  // every name asked for, in order
  std::vector<std::wstring> heldElsewhere;   // names another process already holds
  std::vector<uint32_t> sleeps;
  std::vector<std::wstring> debugLines;
  struct Message {
    std::wstring text;
    std::wstring caption;
  };
  std::vector<Message> messages;
  // Runs inside each Sleep, so a test can see the state during a pause.
  std::function<void(uint32_t)> onSleep;
  // Runs while a message is shown, standing in for the message box's own message loop.
  std::function<void()> onMessage;
};

// Decodes from an in-memory table of files; anything not in it is missing.
class NullImageDecoder : public platform::ImageDecoder {
 public:
  bool Start() override;
  void Stop() override;
  bool DecodePng(std::wstring_view path, platform::DecodedImage& out) override;
  bool ProbePng(std::wstring_view path) override;
  bool DecodesBeforeStart() const override { return decodesBeforeStart; }

  // Registers a picture of one colour (premultiplied bytes) under a full path.
  void AddSolid(const std::wstring& path, int32_t width, int32_t height, uint32_t bgra);
  void Add(const std::wstring& path, platform::DecodedImage image) {
    files[path] = std::move(image);
  }

  bool startupSucceeds = true;
  bool decodesBeforeStart = false;
  int stops = 0;
  std::function<void()> onShutdown;
  std::vector<std::wstring> decoded;  // every path asked for, in order
  std::vector<std::wstring> probed;   // every path checked without decoding, in order
  std::map<std::wstring, platform::DecodedImage> files;
  // When set, used instead of the table (for example a real decoder).
  platform::ImageDecoder* delegate = nullptr;
  // Runs first in every decode, on the decoding thread; it may throw.
  std::function<void(std::wstring_view path)> onDecode;
};

class NullTimers : public platform::Timers {
 public:
  platform::TimerId Start(uint32_t intervalMilliseconds, std::function<void()> tick) override;
  void Stop(platform::TimerId timer) override;

  struct Timer {
    uint32_t interval;
    std::function<void()> tick;
  };
  bool IsRunning(platform::TimerId timer) const { return running.count(timer) != 0; }
  // Fires every running timer with this interval once.
  void FireInterval(uint32_t intervalMilliseconds);
  size_t RunningCount() const { return running.size(); }

  std::map<platform::TimerId, Timer> running;
  platform::TimerId nextId = 1;
};

class NullLibraries : public platform::Libraries {
 public:
  platform::LibraryHandle Load(std::wstring_view path) override;
  void* Symbol(platform::LibraryHandle library, const char* name) override;
  void Free(platform::LibraryHandle library) override { freed.push_back(library); }
  // Named as on Windows.
  std::wstring FileName(std::wstring_view name) override { return std::wstring(name) + L".dll"; }

  // A library a test provides: exported names and their entries.
  struct Library {
    std::map<std::string, void*> exports;
  };
  std::map<std::wstring, Library> available;  // by full path
  std::vector<std::wstring> loadRequests;
  std::vector<std::string> symbolRequests;
  std::vector<platform::LibraryHandle> freed;
  std::map<platform::LibraryHandle, std::wstring> loaded;
};

class NullWindowing : public platform::Windowing {
 public:
  struct Window {
    platform::WindowParams params;
    platform::WindowEvents* events = nullptr;
    platform::Rect rect;  // screen rectangle
    bool shown = false;
    bool destroyed = false;
    bool layered = false;
    bool clickThrough = false;
    int invalidations = 0;
    int redraws = 0;
    int drags = 0;
    std::vector<platform::Point> moves;  // each MoveWindow's top-left, in order
  };
  struct Push {
    platform::WindowHandle window;
    int32_t width, height, bitsPerPixel;
    std::vector<uint8_t> pixels;  // 4 or 3 bytes per pixel, rows top-down, tightly packed
    bool colorKeyed;              // pushed colour-keyed rather than with alpha
    uint8_t opacity;              // of a push with alpha
    uint32_t colorKey;            // of a colour-keyed push
  };

  platform::WindowHandle CreateWindow(const platform::WindowParams& params,
                                      platform::WindowEvents* events) override;
  void DestroyWindow(platform::WindowHandle window) override { At(window).destroyed = true; }
  void ShowWindow(platform::WindowHandle window) override { At(window).shown = true; }
  void Invalidate(platform::WindowHandle window) override { ++At(window).invalidations; }
  void MoveWindow(platform::WindowHandle window, int32_t left, int32_t top) override;
  void SetClientSize(platform::WindowHandle window, int32_t width, int32_t height) override;
  platform::Rect GetWindowRect(platform::WindowHandle window) override { return At(window).rect; }
  int32_t ScreenWidth() override { return screenWidth; }
  int32_t ScreenHeight() override { return screenHeight; }
  int32_t DisplayDpi(platform::WindowHandle /*window*/) override { return dpi; }
  platform::WindowHandle ActiveWindow() override { return foreground; }
  platform::WindowHandle FindWindow(std::wstring_view className, std::wstring_view title) override;
  void BeginWindowDrag(platform::WindowHandle window) override { ++At(window).drags; }
  bool SetLayered(platform::WindowHandle window, bool layered, bool clickThrough) override;
  void RedrawAll(platform::WindowHandle window) override { ++At(window).redraws; }
  bool LayeredUpdateAvailable() override { return layeredAvailable; }
  void PushWithAlpha(platform::WindowHandle window, const platform::LayeredSource& source,
                     uint8_t opacity) override;
  void PushColorKeyed(platform::WindowHandle window, const platform::LayeredSource& source,
                      uint32_t colorKey) override;
  void RunMessageLoop() override;
  void QuitMessageLoop() override { ++quitRequests; }

  Window& At(platform::WindowHandle window);
  // Delivers the paint event that pending invalidations would lead to.
  void DeliverPaint(platform::WindowHandle window);
  // Sets the display's dots per inch and tells the window, as a move to
  // another monitor or a new scale setting would, with the system's suggested top-left if any.
  void ChangeDpi(platform::WindowHandle window, int32_t newDpi,
                 std::optional<platform::Point> suggestedTopLeft = std::nullopt);
  // Gives the primary screen a new size and tells every window, as a turn or
  // a new resolution would.
  void ChangeScreen(int32_t width, int32_t height);
  // Tells every window that input devices changed.
  void ChangeInputDevices();

  std::map<platform::WindowHandle, Window> windows;
  std::vector<Push> pushes;
  // Keeps one push, overwritten in place: a long run of frames neither grows
  // the record nor allocates for it.
  bool keepLastPushOnly = false;
  int layeredChanges = 0;  // calls of SetLayered that changed something
  int32_t screenWidth = 1920;
  int32_t screenHeight = 1080;
  int32_t dpi = 96;
  platform::WindowHandle foreground = 0;
  bool findable = true;  // whether FindWindow finds created windows
  int findRequests = 0;
  bool layeredAvailable = true;
  int quitRequests = 0;
  int loopRuns = 0;
  // Runs inside RunMessageLoop, standing in for the user's session.
  std::function<void()> onMessageLoop;
  // Runs after each layered push, so a test can look at the state it showed.
  std::function<void(const Push&)> onPush;
  platform::WindowHandle nextHandle = 0x1000;

 private:
  void Record(platform::WindowHandle window, const platform::LayeredSource& source, bool colorKeyed,
              uint8_t opacity, uint32_t colorKey);
};

// Stands in for the platform's text drawing: every character is a solid cell
// CellWidth wide and the font height tall (space and control characters leave
// their cell empty), so that a test can predict every covered pixel. Lines
// break at line breaks and, with word wrap, at spaces within the rectangle's
// width; they are placed, measured and clipped as DrawText does it
// (platform/text_placement.h). An '&' marks a mnemonic as DrawText reads it,
// unless the layout says otherwise, and is not drawn (nor is any underline).
// A glyph cell is blended with `coverage` over what lies below, so white text
// on black leaves `coverage` in every channel.
class NullTextRasterizer : public platform::TextRasterizer {
 public:
  static int32_t CellWidth() { return 6; }
  static int32_t LineHeight(const platform::FontDescription& font) {
    return font.height < 0 ? -font.height : font.height;
  }

  int32_t Draw(platform::PixelBuffer& target, const platform::TextStyle& style, const char* text,
               platform::Rect& rect, const platform::TextLayout& layout) override;
  int32_t Draw(platform::PixelBuffer& target, const platform::TextStyle& style, const wchar_t* text,
               platform::Rect& rect, const platform::TextLayout& layout) override;

  struct Call {
    std::wstring text;
    bool wide;
    platform::Rect rect;
    platform::TextLayout layout;
    platform::TextStyle style;
  };
  std::vector<Call> calls;
  // Coverage of a glyph cell (255 gives solid text).
  uint8_t coverage = 255;

 private:
  int32_t DrawWide(platform::PixelBuffer& target, const platform::TextStyle& style,
                   std::wstring text, platform::Rect& rect, const platform::TextLayout& layout);
};

// A sensor that a test turns: it passes on the readings the test reports
// while something follows it.
class NullOrientationSensor : public platform::OrientationSensor {
 public:
  void Follow(std::function<void(int32_t code)> reading) override {
    ++follows;
    reading_ = std::move(reading);
  }
  void Release() override {
    ++releases;
    reading_ = nullptr;
  }
  // False when nothing follows the sensor.
  bool Report(int32_t code) {
    if (!reading_) return false;
    reading_(code);
    return true;
  }

  int follows = 0;
  int releases = 0;

 private:
  std::function<void(int32_t code)> reading_;
};

// All null services, installed for the life of the object.
class NullPlatform {
 public:
  NullPlatform();
  ~NullPlatform();
  NullPlatform(const NullPlatform&) = delete;
  NullPlatform& operator=(const NullPlatform&) = delete;

  NullSystem system;
  NullImageDecoder images;
  NullTextRasterizer text;
  NullWindowing windows;
  NullTimers timers;
  NullLibraries libraries;
  NullOrientationSensor sensor;

 private:
  platform::Services previous_;
};

}  // namespace testing_support

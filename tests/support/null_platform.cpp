#include "null_platform.h"

#include <algorithm>

#include "platform/text_placement.h"

namespace testing_support {

// --- system -----------------------------------------------------------------

bool NullSystem::ClaimSingleInstance(std::wstring_view mutexName) {
  claimedMutexes.emplace_back(mutexName);
  return std::find(heldElsewhere.begin(), heldElsewhere.end(), mutexName) == heldElsewhere.end();
}

void NullSystem::Sleep(uint32_t milliseconds) {
  sleeps.push_back(milliseconds);
  if (onSleep) onSleep(milliseconds);
}

bool NullSystem::FolderExists(std::wstring_view path) {
  return std::find(folders.begin(), folders.end(), path) != folders.end();
}

void NullSystem::ShowMessage(std::wstring_view text, std::wstring_view caption) {
  messages.push_back({std::wstring(text), std::wstring(caption)});
  if (onMessage) onMessage();
}

uint32_t NullSystem::SystemColor(int index) {
  // The classic Windows scheme, 0x00BBGGRR.
  switch (index) {
    case 5:
      return 0xFFFFFF;  // window
    case 8:
      return 0x000000;  // window text
    case 15:
      return 0xF0F0F0;  // button face
    case 17:
      return 0x6D6D6D;  // grey text
    default:
      return 0x808080;
  }
}

// --- images -----------------------------------------------------------------

bool NullImageDecoder::Start() {
  if (delegate != nullptr) return delegate->Start();
  return startupSucceeds;
}

void NullImageDecoder::Stop() {
  ++stops;
  if (onShutdown) onShutdown();
}

bool NullImageDecoder::DecodePng(std::wstring_view path, platform::DecodedImage& out) {
  decoded.emplace_back(path);
  if (onDecode) onDecode(path);
  if (delegate != nullptr) return delegate->DecodePng(path, out);
  out = {};
  const auto found = files.find(std::wstring(path));
  if (found == files.end() || found->second.width <= 0 || found->second.height <= 0) return false;
  out = found->second;
  return true;
}

bool NullImageDecoder::ProbePng(std::wstring_view path) {
  probed.emplace_back(path);
  if (delegate != nullptr) return delegate->ProbePng(path);
  const auto found = files.find(std::wstring(path));
  return found != files.end() && found->second.width > 0 && found->second.height > 0 &&
         found->second.width <= platform::kMaxImageSide &&
         found->second.height <= platform::kMaxImageSide;
}

void NullImageDecoder::AddSolid(const std::wstring& path, int32_t width, int32_t height,
                                uint32_t bgra) {
  platform::DecodedImage image{width, height, {}};
  image.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  for (size_t i = 0; i < image.pixels.size(); i += 4) {
    for (size_t c = 0; c < 4; ++c) image.pixels[i + c] = static_cast<uint8_t>(bgra >> (8 * c));
  }
  files[path] = std::move(image);
}

// --- timers -----------------------------------------------------------------

platform::TimerId NullTimers::Start(uint32_t intervalMilliseconds, std::function<void()> tick) {
  const platform::TimerId id = nextId++;
  running[id] = {intervalMilliseconds, std::move(tick)};
  return id;
}

void NullTimers::Stop(platform::TimerId timer) {
  running.erase(timer);
}

void NullTimers::FireInterval(uint32_t intervalMilliseconds) {
  std::vector<platform::TimerId> due;
  for (const auto& [id, timer] : running) {
    if (timer.interval == intervalMilliseconds) due.push_back(id);
  }
  // A tick may stop or start timers, so each is looked up again before it fires.
  for (platform::TimerId id : due) {
    const auto found = running.find(id);
    if (found == running.end()) continue;
    const std::function<void()> tick = found->second.tick;
    tick();
  }
}

// --- libraries --------------------------------------------------------------

platform::LibraryHandle NullLibraries::Load(std::wstring_view path) {
  loadRequests.emplace_back(path);
  if (available.count(std::wstring(path)) == 0) return 0;
  const platform::LibraryHandle handle = 0x7000 + loadRequests.size();
  loaded[handle] = std::wstring(path);
  return handle;
}

void* NullLibraries::Symbol(platform::LibraryHandle library, const char* name) {
  symbolRequests.emplace_back(name);
  const auto module = loaded.find(library);
  if (module == loaded.end()) return nullptr;
  const Library& found = available.at(module->second);
  const auto entry = found.exports.find(name);
  return entry == found.exports.end() ? nullptr : entry->second;
}

// --- windows ----------------------------------------------------------------

platform::WindowHandle NullWindowing::CreateWindow(const platform::WindowParams& params,
                                                   platform::WindowEvents* events) {
  const platform::WindowHandle handle = nextHandle++;
  Window window;
  window.params = params;
  window.events = events;
  window.rect = {params.left, params.top, params.left + params.clientWidth,
                 params.top + params.clientHeight};
  windows[handle] = window;
  return handle;
}

NullWindowing::Window& NullWindowing::At(platform::WindowHandle window) {
  const auto found = windows.find(window);
  if (found == windows.end()) throw std::logic_error("no such window");
  return found->second;
}

void NullWindowing::MoveWindow(platform::WindowHandle window, int32_t left, int32_t top) {
  Window& moved = At(window);
  platform::Rect& r = moved.rect;
  r = {left, top, left + (r.right - r.left), top + (r.bottom - r.top)};
  moved.moves.push_back({left, top});
}

void NullWindowing::SetClientSize(platform::WindowHandle window, int32_t width, int32_t height) {
  platform::Rect& r = At(window).rect;
  r.right = r.left + width;
  r.bottom = r.top + height;
}

platform::WindowHandle NullWindowing::FindWindow(std::wstring_view className,
                                                 std::wstring_view title) {
  ++findRequests;
  if (!findable) return 0;
  for (const auto& [handle, window] : windows) {
    if (!window.destroyed && window.params.className == className && window.params.title == title)
      return handle;
  }
  return 0;
}

bool NullWindowing::SetLayered(platform::WindowHandle window, bool layered, bool clickThrough) {
  Window& target = At(window);
  if (target.layered == layered && target.clickThrough == clickThrough) return false;
  target.layered = layered;
  target.clickThrough = clickThrough;
  ++layeredChanges;
  return true;
}

void NullWindowing::PushWithAlpha(platform::WindowHandle window,
                                  const platform::LayeredSource& source, uint8_t opacity) {
  Record(window, source, false, opacity, 0);
}

void NullWindowing::PushColorKeyed(platform::WindowHandle window,
                                   const platform::LayeredSource& source, uint32_t colorKey) {
  Record(window, source, true, 255, colorKey);
}

void NullWindowing::Record(platform::WindowHandle window, const platform::LayeredSource& source,
                           bool colorKeyed, uint8_t opacity, uint32_t colorKey) {
  if (!keepLastPushOnly || pushes.empty()) pushes.emplace_back();
  Push& push = pushes.back();
  push.window = window;
  push.width = source.pixels.width;
  push.height = source.pixels.height;
  push.bitsPerPixel = source.bitsPerPixel;
  push.colorKeyed = colorKeyed;
  push.opacity = opacity;
  push.colorKey = colorKey;
  push.pixels.clear();
  const int32_t rowBytes = source.pixels.width * source.pixels.bytesPerPixel;
  for (int32_t y = 0; y < source.pixels.height && source.pixels.bits != nullptr; ++y) {
    const uint8_t* row = source.pixels.bits + static_cast<ptrdiff_t>(y) * source.pixels.stride;
    push.pixels.insert(push.pixels.end(), row, row + rowBytes);
  }
  if (onPush) onPush(pushes.back());
  platform::Rect& r = At(window).rect;
  r.right = r.left + source.pixels.width;
  r.bottom = r.top + source.pixels.height;
}

void NullWindowing::RunMessageLoop() {
  ++loopRuns;
  if (onMessageLoop) onMessageLoop();
}

void NullWindowing::DeliverPaint(platform::WindowHandle window) {
  Window& w = At(window);
  w.invalidations = 0;
  if (w.events != nullptr) w.events->HandlePaint();
}

void NullWindowing::ChangeDpi(platform::WindowHandle window, int32_t newDpi,
                              std::optional<platform::Point> suggestedTopLeft) {
  dpi = newDpi;
  Window& w = At(window);
  if (w.events != nullptr) w.events->HandleDpiChange(newDpi, suggestedTopLeft);
}

void NullWindowing::ChangeScreen(int32_t width, int32_t height) {
  screenWidth = width;
  screenHeight = height;
  for (auto& [handle, window] : windows) {
    if (window.events != nullptr && !window.destroyed) window.events->HandleScreenChange();
  }
}

void NullWindowing::ChangeInputDevices() {
  for (auto& [handle, window] : windows) {
    if (window.events != nullptr && !window.destroyed) window.events->HandleInputDevicesChange();
  }
}

// --- text -------------------------------------------------------------------

int32_t NullTextRasterizer::Draw(platform::PixelBuffer& target, const platform::TextStyle& style,
                                 const char* text, platform::Rect& rect,
                                 const platform::TextLayout& layout) {
  std::wstring wide;
  for (const char* c = text; *c != '\0'; ++c) wide.push_back(static_cast<unsigned char>(*c));
  calls.push_back({wide, false, rect, layout, style});
  return DrawWide(target, style, wide, rect, layout);
}

int32_t NullTextRasterizer::Draw(platform::PixelBuffer& target, const platform::TextStyle& style,
                                 const wchar_t* text, platform::Rect& rect,
                                 const platform::TextLayout& layout) {
  calls.push_back({text, true, rect, layout, style});
  return DrawWide(target, style, text, rect, layout);
}

namespace {

std::vector<std::wstring> LayOutLines(const std::wstring& text, const platform::TextLayout& layout,
                                      int32_t maxWidth, int32_t cell) {
  if (!platform::SpansLines(text.empty(), layout)) return {};
  if (layout.singleLine) return {text};
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(L'\n', start);
    const std::wstring paragraph =
        text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    if (!layout.wordWrap) {
      lines.push_back(paragraph);
    } else {
      // Greedy wrap at spaces; a word wider than the room keeps a line of its own.
      std::wstring line;
      size_t pos = 0;
      while (pos <= paragraph.size()) {
        size_t next = paragraph.find(L' ', pos);
        if (next == std::wstring::npos) next = paragraph.size();
        const std::wstring word = paragraph.substr(pos, next - pos);
        const std::wstring candidate = line.empty() ? word : line + L' ' + word;
        if (!line.empty() && static_cast<int32_t>(candidate.size()) * cell > maxWidth) {
          lines.push_back(line);
          line = word;
        } else {
          line = candidate;
        }
        pos = next + 1;
      }
      lines.push_back(line);
    }
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace

int32_t NullTextRasterizer::DrawWide(platform::PixelBuffer& target,
                                     const platform::TextStyle& style, std::wstring text,
                                     platform::Rect& rect, const platform::TextLayout& layout) {
  if (layout.prefix != platform::PrefixHandling::kNone)
    text = platform::ReadMnemonics(std::wstring_view(text)).text;
  // 64-bit geometry, so that any rectangle a caller passes is safe.
  const int64_t cell = CellWidth();
  const int64_t lineHeight = LineHeight(style.font);
  const int64_t room = std::clamp<int64_t>(int64_t{rect.right} - rect.left, INT32_MIN, INT32_MAX);
  const std::vector<std::wstring> lines =
      LayOutLines(text, layout, static_cast<int32_t>(room), static_cast<int32_t>(cell));
  int64_t widest = 0;
  for (const std::wstring& line : lines)
    widest = std::max(widest, static_cast<int64_t>(line.size()) * cell);
  const int64_t height = lineHeight * static_cast<int64_t>(lines.size());

  if (layout.measureOnly) {
    rect = platform::MeasuredRect(rect, widest, height);
    return static_cast<int32_t>(std::min<int64_t>(height, INT32_MAX));
  }

  int64_t y0 = platform::BlockTop(rect, height, layout);
  const platform::Rect area = platform::DrawingArea(rect, layout, target);
  const int64_t clipLeft = area.left, clipTop = area.top;
  const int64_t clipRight = area.right, clipBottom = area.bottom;
  const auto fill = [&](int64_t x0, int64_t yTop, int64_t x1, int64_t yBottom, uint32_t rgb,
                        uint32_t cover) {
    x0 = std::max(x0, clipLeft), x1 = std::min(x1, clipRight);
    yTop = std::max(yTop, clipTop), yBottom = std::min(yBottom, clipBottom);
    if (target.bits == nullptr || x0 >= x1 || yTop >= yBottom) return;
    const uint32_t channel[3] = {(rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF};
    for (int64_t y = yTop; y < yBottom; ++y) {
      uint8_t* p = target.bits + y * target.stride + x0 * target.bytesPerPixel;
      for (int64_t x = x0; x < x1; ++x, p += target.bytesPerPixel) {
        for (int c = 0; c < 3; ++c)
          p[c] = static_cast<uint8_t>((channel[c] * cover + p[c] * (255 - cover)) / 255);
      }
    }
  };
  // Only mnemonic underlines, which this rasteriser never draws.
  if (layout.prefixOnly) return platform::DrawnHeight(rect, height, layout);
  for (const std::wstring& line : lines) {
    const int64_t width = static_cast<int64_t>(line.size()) * cell;
    int64_t x = platform::LineLeft(rect, width, layout.horizontal);
    for (size_t i = 0; i < line.size(); ++i, x += cell) {
      if (x >= clipRight) break;
      if (x + cell <= clipLeft) continue;
      if (!style.transparent) fill(x, y0, x + cell, y0 + lineHeight, style.backgroundColor, 255);
      if (line[i] > L' ') fill(x, y0, x + cell, y0 + lineHeight, style.color, coverage);
    }
    y0 += lineHeight;
    if (y0 >= clipBottom) break;
  }
  return platform::DrawnHeight(rect, height, layout);
}

// --- all of them ------------------------------------------------------------

NullPlatform::NullPlatform() {
  previous_ = platform::Install({&system, &images, &text, &windows, &timers, &libraries, &sensor});
}

NullPlatform::~NullPlatform() {
  platform::Install(previous_);
}

}  // namespace testing_support

// The layered-window maker through the real Windows platform under Wine: the
// window's extended style, its size and place after pushes of different
// sizes, and what the screen shows where the window is.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/bitmap.h"
#include "base/form.h"
#include "gs/per_pixel_layered_window.h"
#include "null_platform.h"
#include "platform/win32/win32_windowing.h"

namespace {

using Bgra = std::array<uint8_t, 4>;

class ProbeForm : public TForm {
 public:
  ProbeForm(int32_t left, int32_t top) : TForm(Resource(left, top)) {}
  std::wstring ClassName() const override { return L"TLayeredProbeForm"; }

 protected:
  // Top-most, like the panel.
  void CreateParams(platform::WindowParams& params) override {
    TForm::CreateParams(params);
    params.onTop = true;
  }

 private:
  static TFormResource Resource(int32_t left, int32_t top) {
    TFormResource resource;
    resource.Left = left;
    resource.Top = top;
    resource.ClientWidth = 76;
    resource.ClientHeight = 27;
    resource.BorderStyle = TFormBorderStyle::bsNone;
    resource.Color = clBlack;
    return resource;
  }
};

// Handles the messages that are waiting, for about `milliseconds`.
void PumpMessages(int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  do {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::Sleep(10);
  } while (std::chrono::steady_clock::now() < end);
}

// What the screen shows in `area`, read through the desktop's device context.
std::vector<Bgra> CaptureScreen(const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  std::vector<Bgra> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = ::CreateCompatibleDC(screen);
  HGDIOBJ previous = ::SelectObject(memory, dib);
  ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
  ::GdiFlush();
  if (bits != nullptr) std::memcpy(pixels.data(), bits, pixels.size() * 4);
  ::SelectObject(memory, previous);
  ::DeleteDC(memory);
  ::DeleteObject(dib);
  ::ReleaseDC(nullptr, screen);
  return pixels;
}

class LayeredWindowTest : public ::testing::Test {
 protected:
  LayeredWindowTest()
      : previous_(platform::Install({&platform.system, &platform.images, &platform.text,
                                     &windowing_, &platform.timers, &platform.libraries})) {}
  ~LayeredWindowTest() override { platform::Install(previous_); }

  static void ProgramSettings(gs::TPerPixelLayeredWindowMaker& maker) {
    maker.SetUseConstantAlpha(true);
    maker.SetAlpha(230);
    maker.SetUsePerPixelAlpha(true);
  }
  static RECT WindowRect(TForm& form) {
    RECT r{};
    ::GetWindowRect(reinterpret_cast<HWND>(form.Handle()), &r);
    return r;
  }
  static LONG ExStyle(TForm& form) {
    return ::GetWindowLongW(reinterpret_cast<HWND>(form.Handle()), GWL_EXSTYLE);
  }

  testing_support::NullPlatform platform;

 private:
  platform::win32::Win32Windowing windowing_;
  platform::Services previous_;
};

TEST_F(LayeredWindowTest, APushMakesTheWindowLayeredAndSizesItAtItsPlace) {
  ProbeForm form(100, 100);
  // Click-through to start with, so that the push has a bit to clear.
  ASSERT_TRUE(platform::GetWindowing().SetLayered(form.Handle(), false, true));
  ASSERT_NE(ExStyle(form) & WS_EX_TRANSPARENT, 0);
  gs::TPerPixelLayeredWindowMaker maker;
  ProgramSettings(maker);
  ASSERT_TRUE(maker.UpdateLayeredWindowAvailable());
  TBitmap bitmap;
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  bitmap.SetSize(60, 40);
  maker.UpdateForm(form, bitmap);

  EXPECT_NE(ExStyle(form) & WS_EX_LAYERED, 0);
  EXPECT_EQ(ExStyle(form) & WS_EX_TRANSPARENT, 0);
  EXPECT_NE(ExStyle(form) & WS_EX_TOPMOST, 0);
  RECT r = WindowRect(form);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right, 160);
  EXPECT_EQ(r.bottom, 140);

  bitmap.SetSize(90, 20);
  maker.UpdateForm(form, bitmap);
  r = WindowRect(form);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right, 190);
  EXPECT_EQ(r.bottom, 120);

  // Without any alpha setting the window leaves layered mode again.
  maker.SetUseConstantAlpha(false);
  maker.SetUsePerPixelAlpha(false);
  maker.UpdateForm(form, bitmap);
  EXPECT_EQ(ExStyle(form) & WS_EX_LAYERED, 0);
  EXPECT_NE(ExStyle(form) & WS_EX_TOPMOST, 0);
}

TEST_F(LayeredWindowTest, TheScreenShowsThePictureComposedWithConstantAlpha230) {
  // Blocks of 12 x 12 pixels, premultiplied: opaque red, green, blue and
  // white; white at half alpha; a teal at 200; a dark blue at 64; nothing.
  constexpr int32_t kBlock = 12;
  const Bgra blocks[8] = {{0, 0, 255, 255},     {0, 255, 0, 255},     {255, 0, 0, 255},
                          {255, 255, 255, 255}, {128, 128, 128, 128}, {78, 157, 0, 200},
                          {50, 10, 5, 64},      {0, 0, 0, 0}};
  TBitmap bitmap;
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  bitmap.SetSize(4 * kBlock, 2 * kBlock);
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
      const Bgra& colour = blocks[(y / kBlock) * 4 + x / kBlock];
      std::memcpy(bitmap.ScanLine(y) + x * 4, colour.data(), 4);
    }
  }

  // Wine on an X display without a compositing manager shows a layered window
  // as if over black, whatever lies below it; so the window goes where only
  // the bare root window is, and that must be black.
  const int32_t left = 300, top = 240;
  const RECT area{left, top, left + bitmap.Width(), top + bitmap.Height()};
  for (const Bgra& below : CaptureScreen(area)) {
    ASSERT_EQ(below, (Bgra{0, 0, 0, 0})) << "the screen below the window is not the black root";
  }

  ProbeForm form(left, top);
  gs::TPerPixelLayeredWindowMaker maker;
  ProgramSettings(maker);
  maker.UpdateForm(form, bitmap);
  form.Show();
  maker.UpdateForm(form, bitmap);

  // The window appears once the display has handled the requests.
  // Composition over black: what remains is the premultiplied colour scaled by the constant alpha.
  const auto expected = [&](int32_t x, int32_t y, size_t c) {
    return blocks[(y / kBlock) * 4 + x / kBlock][c] * 230.0 / 255.0;
  };
  std::vector<Bgra> shown;
  int worst = 0;
  for (int attempt = 0; attempt < 30; ++attempt) {
    PumpMessages(100);
    shown = CaptureScreen(area);
    worst = 0;
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
      for (int32_t x = 0; x < bitmap.Width(); ++x) {
        for (size_t c = 0; c < 3; ++c) {
          const double difference =
              shown[static_cast<size_t>(y * bitmap.Width() + x)][c] - expected(x, y, c);
          worst = std::max(worst, static_cast<int>(std::abs(difference) + 0.5));
        }
      }
    }
    if (worst <= 2) break;
  }
  for (int32_t b = 0; b < 8; ++b) {
    const int32_t x = (b % 4) * kBlock + kBlock / 2, y = (b / 4) * kBlock + kBlock / 2;
    const Bgra& seen = shown[static_cast<size_t>(y * bitmap.Width() + x)];
    std::printf("block %d: pushed %3d %3d %3d %3d  expected %5.1f %5.1f %5.1f  shown %3d %3d %3d\n",
                b, blocks[b][0], blocks[b][1], blocks[b][2], blocks[b][3], expected(x, y, 0),
                expected(x, y, 1), expected(x, y, 2), seen[0], seen[1], seen[2]);
  }
  EXPECT_LE(worst, 2) << "largest difference from the composition over black";

  // A second push of another size keeps the corner where it is.
  bitmap.SetSize(30, 50);
  maker.UpdateForm(form, bitmap);
  const RECT r = WindowRect(form);
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right - r.left, 30);
  EXPECT_EQ(r.bottom - r.top, 50);
}

}  // namespace

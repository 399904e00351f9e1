#include "platform/win32/gdiplus_image_decoder.h"

#include "platform/win32/windows_api.h"
// GDI+ needs the min and max that windows_api.h leaves out.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <new>
#include <string>

#include "platform/png_header.h"

namespace platform::win32 {
namespace {

namespace flat = Gdiplus::DllExports;

// Walks the whole file before GDI+ sees it: GDI+ forgives files that are cut
// short or damaged, and loads what it can of them.
bool FileIsIntactPng(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool intact = PngChunksIntact([file](uint8_t* buffer, size_t size) -> size_t {
    DWORD read = 0;
    const auto wanted = static_cast<DWORD>(std::min<size_t>(size, 1u << 20));
    return ::ReadFile(file, buffer, wanted, &read, nullptr) ? read : 0;
  });
  ::CloseHandle(file);
  return intact;
}

// Disposes a GDI+ image when it goes out of scope.
struct ImageGuard {
  Gdiplus::GpBitmap* bitmap = nullptr;
  ~ImageGuard() {
    if (bitmap != nullptr) flat::GdipDisposeImage(bitmap);
  }
};

// Opens a file that passed the chunk walk with GDI+, whose size must be within the bound.
bool OpenBitmap(const std::wstring& file, ImageGuard& image, UINT& width, UINT& height) {
  if (!FileIsIntactPng(file)) return false;
  if (flat::GdipCreateBitmapFromFile(file.c_str(), &image.bitmap) != Gdiplus::Ok) return false;
  if (flat::GdipGetImageWidth(image.bitmap, &width) != Gdiplus::Ok ||
      flat::GdipGetImageHeight(image.bitmap, &height) != Gdiplus::Ok) {
    return false;
  }
  return width > 0 && height > 0 && width <= UINT(kMaxImageSide) && height <= UINT(kMaxImageSide);
}

// Reads `count` rows from `top` into `buffer`, `width` * 4 bytes a row. GDI+
// guarantees premultiplied colour in this format, whatever the file holds.
bool ReadRows(Gdiplus::GpBitmap* bitmap, UINT width, UINT top, UINT count, uint8_t* buffer) {
  Gdiplus::GpRect area(0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(count));
  Gdiplus::BitmapData data{};
  data.Width = width;
  data.Height = count;
  data.Stride = static_cast<INT>(width * 4);
  data.PixelFormat = PixelFormat32bppPARGB;
  data.Scan0 = buffer;
  const UINT mode = Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf;
  if (flat::GdipBitmapLockBits(bitmap, &area, mode, PixelFormat32bppPARGB, &data) != Gdiplus::Ok)
    return false;
  return flat::GdipBitmapUnlockBits(bitmap, &data) == Gdiplus::Ok;
}

}  // namespace

GdiplusImageDecoder::~GdiplusImageDecoder() {
  Stop();
}

bool GdiplusImageDecoder::Start() {
  if (token_ != 0) return true;
  Gdiplus::GdiplusStartupInput input;
  input.GdiplusVersion = 1;
  input.DebugEventCallback = nullptr;
  input.SuppressBackgroundThread = FALSE;
  input.SuppressExternalCodecs = FALSE;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  token_ = token;
  return token_ != 0;
}

void GdiplusImageDecoder::Stop() {
  if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
  token_ = 0;
}

bool GdiplusImageDecoder::DecodePng(std::wstring_view path, DecodedImage& out) {
  out = {};
  ImageGuard image;
  UINT width = 0, height = 0;
  if (!OpenBitmap(std::wstring(path), image, width, height)) return false;
  std::vector<uint8_t> pixels;
  try {
    pixels.resize(static_cast<size_t>(width) * height * 4);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!ReadRows(image.bitmap, width, 0, height, pixels.data())) return false;
  out.width = static_cast<int32_t>(width);
  out.height = static_cast<int32_t>(height);
  out.pixels = std::move(pixels);
  return true;
}

bool GdiplusImageDecoder::ProbePng(std::wstring_view path) {
  ImageGuard image;
  UINT width = 0, height = 0;
  if (!OpenBitmap(std::wstring(path), image, width, height)) return false;
  std::vector<uint8_t> row(static_cast<size_t>(width) * 4);
  for (UINT y = 0; y < height; ++y) {
    if (!ReadRows(image.bitmap, width, y, 1, row.data())) return false;
  }
  return true;
}

}  // namespace platform::win32

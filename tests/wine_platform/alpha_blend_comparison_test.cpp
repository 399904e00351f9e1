// The portable AlphaBlendBitmap against msimg32's AlphaBlend on the same
// pixels: GDI blends DIB sections holding copies of both bitmaps. Reports a
// histogram of the differences per channel and the worst places, and holds the
// portable blend to at most 1 from the platform's in every channel.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "effects/blend.h"
#include "null_platform.h"
#include "platform/win32/dib_section.h"

namespace {

using AlphaBlendFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

constexpr int32_t kWidth = 128;
constexpr int32_t kHeight = 96;

// msimg32, loaded for the test's lifetime; the product never calls it.
class Msimg32 {
 public:
  Msimg32() : module_(::LoadLibraryW(L"msimg32.dll")) {
    if (module_ != nullptr)
      alphaBlend_ = platform::win32::EntryAs<AlphaBlendFn>(::GetProcAddress(module_, "AlphaBlend"));
  }
  ~Msimg32() {
    if (module_ != nullptr) ::FreeLibrary(module_);
  }
  Msimg32(const Msimg32&) = delete;
  Msimg32& operator=(const Msimg32&) = delete;
  AlphaBlendFn AlphaBlend() const { return alphaBlend_; }

 private:
  HMODULE module_;
  AlphaBlendFn alphaBlend_ = nullptr;
};

// A memory device context with a DIB selected, undone with the object.
class DibDc {
 public:
  explicit DibDc(const platform::win32::DibSection& dib) : dc_(::CreateCompatibleDC(nullptr)) {
    previous_ = ::SelectObject(dc_, dib.Handle());
  }
  ~DibDc() {
    ::SelectObject(dc_, previous_);
    ::DeleteDC(dc_);
  }
  DibDc(const DibDc&) = delete;
  DibDc& operator=(const DibDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};

// Random pixels; 32-bit ones premultiplied (no colour above its alpha), with
// the ends of the alpha range well represented.
void RandomPixels(TBitmap& bitmap, TPixelFormat format, std::mt19937& random) {
  bitmap.SetPixelFormat(format);
  bitmap.SetSize(kWidth, kHeight);
  std::uniform_int_distribution<int> byte(0, 255), pick(0, 7);
  for (int32_t y = 0; y < kHeight; ++y) {
    uint8_t* p = bitmap.ScanLine(y);
    for (int32_t x = 0; x < kWidth; ++x, p += bitmap.BytesPerPixel()) {
      int a = 255;
      if (format == TPixelFormat::pf32bit) {
        const int kind = pick(random);
        a = kind == 0 ? 0 : kind == 1 ? 255 : byte(random);
        p[3] = static_cast<uint8_t>(a);
      }
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(byte(random) * a / 255);
    }
  }
}

struct Comparison {
  // differences[channel][size]: how many channel values differ by `size` (the last counts 4 and
  // more).
  std::array<std::array<long, 5>, 4> differences{};
  int worst = 0;
  std::vector<std::string> worstPlaces;
};

Comparison Compare(const TBitmap& portable, const TBitmap& platformResult, const TBitmap& source,
                   const TBitmap& dest) {
  Comparison result;
  const int32_t bpp = portable.BytesPerPixel();
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      for (int c = 0; c < bpp; ++c) {
        const int ours = portable.ScanLine(y)[x * bpp + c];
        const int theirs = platformResult.ScanLine(y)[x * bpp + c];
        const int difference = std::abs(ours - theirs);
        ++result.differences[static_cast<size_t>(c)][static_cast<size_t>(std::min(difference, 4))];
        if (difference > 1 && result.worstPlaces.size() < 5) {
          const uint8_t* s = source.ScanLine(y) + x * source.BytesPerPixel();
          const uint8_t* d = dest.ScanLine(y) + x * bpp;
          char line[160];
          std::snprintf(line, sizeof line,
                        "(%d,%d) channel %d: src %d/%d dst %d/%d -> portable %d, AlphaBlend %d", x,
                        y, c, s[c < 3 ? c : 0], source.BytesPerPixel() == 4 ? s[3] : -1, d[c],
                        bpp == 4 ? d[3] : -1, ours, theirs);
          result.worstPlaces.emplace_back(line);
        }
        result.worst = std::max(result.worst, difference);
      }
    }
  }
  return result;
}

void Report(const char* what, int opacity, const Comparison& comparison, int channels) {
  static const char* const kNames[] = {"blue", "green", "red", "alpha"};
  std::printf("%-26s opacity %3d  max %d |", what, opacity, comparison.worst);
  for (int c = 0; c < channels; ++c) {
    const auto& d = comparison.differences[static_cast<size_t>(c)];
    std::printf(" %s 0:%ld 1:%ld 2:%ld 3:%ld 4+:%ld |", kNames[c], d[0], d[1], d[2], d[3], d[4]);
  }
  std::printf("\n");
  for (const std::string& place : comparison.worstPlaces) std::printf("    %s\n", place.c_str());
}

class AlphaBlendComparisonTest : public ::testing::Test {
 protected:
  void Run(TPixelFormat sourceFormat, TPixelFormat destFormat, const char* what) {
    ASSERT_NE(msimg32.AlphaBlend(), nullptr);
    std::mt19937 random(static_cast<unsigned>(0xA1FA + static_cast<int>(sourceFormat) * 2 +
                                              static_cast<int>(destFormat)));
    TBitmap source, dest;
    RandomPixels(source, sourceFormat, random);
    RandomPixels(dest, destFormat, random);
    for (const int opacity : {255, 230, 200, 128, 64, 1, 0}) {
      TBitmap portable;
      portable.Assign(dest);
      AlphaBlendBitmap(portable, {0, 0, kWidth, kHeight}, source, {0, 0},
                       static_cast<uint8_t>(opacity));

      platform::win32::DibSection sourceDib(source.Buffer(), source.BitsPerPixel());
      platform::win32::DibSection destDib(dest.Buffer(), dest.BitsPerPixel());
      ASSERT_TRUE(sourceDib.Valid() && destDib.Valid());
      {
        const DibDc sourceDc(sourceDib), destDc(destDib);
        const BLENDFUNCTION blend{
            AC_SRC_OVER, 0, static_cast<BYTE>(opacity),
            static_cast<BYTE>(sourceFormat == TPixelFormat::pf32bit ? AC_SRC_ALPHA : 0)};
        ASSERT_TRUE(msimg32.AlphaBlend()(destDc.Get(), 0, 0, kWidth, kHeight, sourceDc.Get(), 0, 0,
                                         kWidth, kHeight, blend));
      }
      TBitmap platformResult;
      platformResult.Assign(dest);
      destDib.CopyTo(platformResult.Buffer());

      const Comparison comparison = Compare(portable, platformResult, source, dest);
      Report(what, opacity, comparison, dest.BytesPerPixel());
      EXPECT_LE(comparison.worst, 1) << what << " at opacity " << opacity;
    }
  }

  testing_support::NullPlatform platform;
  Msimg32 msimg32;
};

TEST_F(AlphaBlendComparisonTest, PremultipliedSourceOnto32Bits) {
  Run(TPixelFormat::pf32bit, TPixelFormat::pf32bit, "32-bit source, 32-bit dest");
}

TEST_F(AlphaBlendComparisonTest, OpaqueSourceOnto32Bits) {
  Run(TPixelFormat::pf24bit, TPixelFormat::pf32bit, "24-bit source, 32-bit dest");
}

TEST_F(AlphaBlendComparisonTest, PremultipliedSourceOnto24Bits) {
  Run(TPixelFormat::pf32bit, TPixelFormat::pf24bit, "32-bit source, 24-bit dest");
}

TEST_F(AlphaBlendComparisonTest, OpaqueSourceOnto24Bits) {
  Run(TPixelFormat::pf24bit, TPixelFormat::pf24bit, "24-bit source, 24-bit dest");
}

}  // namespace

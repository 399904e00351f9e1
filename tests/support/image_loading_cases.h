#pragma once
// The image loader's cases, run against each real PNG decoder (natively
// libpng, under Wine GDI+). A test binary runs them for its decoder with
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, ImageLoadingTest, ::testing::Types<Decoder>);
// Messages go to the null platform's system, so no message box ever waits for a user.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "base/bitmap.h"
#include "function_handler.h"
#include "gs/image_loader.h"
#include "null_platform.h"
#include "png_writer.h"
#include "scratch_folder.h"

namespace testing_support {

using Bgra = std::array<uint8_t, 4>;

template <typename Decoder>
class ImageLoadingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(decoder_.Start());
    platform.images.delegate = &decoder_;
    platform.system.executableName = (folder.Path() / "app" / "Zentara.exe").wstring();
  }
  void TearDown() override { decoder_.Stop(); }

  // Writes a file below `root` (the images folder unless given) under a name
  // with "\" separators, and returns the full name the program would use.
  std::wstring Write(const std::wstring& relative, const std::vector<uint8_t>& bytes) {
    WriteFile(OnDisk(folder.Path() / "app" / "images", relative), bytes);
    return gs::ImagesPath() + relative;
  }
  static std::filesystem::path OnDisk(std::filesystem::path root, const std::wstring& relative) {
    size_t start = 0;
    for (size_t end; (end = relative.find(L'\\', start)) != std::wstring::npos; start = end + 1) {
      root /= relative.substr(start, end - start);
    }
    return root / relative.substr(start);
  }
  static Bgra At(const TBitmap& bitmap, int32_t x, int32_t y) {
    const uint8_t* p = bitmap.ScanLine(y) + x * 4;
    return {p[0], p[1], p[2], p[3]};
  }
  // A picture of one straight RGBA colour.
  static std::vector<uint8_t> Solid(int32_t width, int32_t height, std::array<uint8_t, 4> rgba) {
    std::vector<uint8_t> samples;
    for (int32_t i = 0; i < width * height; ++i)
      samples.insert(samples.end(), rgba.begin(), rgba.end());
    return RgbaPng(width, height, samples);
  }
  static std::vector<uint8_t> Gradient(int32_t width, int32_t height) {
    std::vector<uint8_t> samples;
    for (int32_t i = 0; i < width * height; ++i) {
      samples.insert(samples.end(), {static_cast<uint8_t>(i), static_cast<uint8_t>(i * 7),
                                     static_cast<uint8_t>(i * 13), static_cast<uint8_t>(255 - i)});
    }
    return RgbaPng(width, height, samples);
  }

  NullPlatform platform;
  ScratchFolder folder;

 private:
  Decoder decoder_;
};

TYPED_TEST_SUITE_P(ImageLoadingTest);

TYPED_TEST_P(ImageLoadingTest, TransparentPixelsAreAllZeroAndColourIsPremultiplied) {
  const std::wstring path =
      this->Write(L"alpha.png", RgbaPng(4, 1,
                                        {255, 0, 0, 0,        // red, fully transparent
                                         255, 255, 255, 128,  // white at half
                                         50, 100, 200, 128,   // 200 * 128/255 = 100.4
                                         10, 20, 30, 255}));
  TBitmap target;
  gs::LoadImageFile(path, target);
  ASSERT_EQ(target.Width(), 4);
  ASSERT_EQ(target.Height(), 1);
  EXPECT_EQ(target.PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(this->At(target, 0, 0), (Bgra{0, 0, 0, 0}));
  EXPECT_EQ(this->At(target, 1, 0), (Bgra{128, 128, 128, 128}));
  EXPECT_EQ(this->At(target, 2, 0), (Bgra{100, 50, 25, 128}));
  EXPECT_EQ(this->At(target, 3, 0), (Bgra{30, 20, 10, 255}));
  EXPECT_TRUE(this->platform.system.messages.empty());
}

TYPED_TEST_P(ImageLoadingTest, RowsArriveTopDownForEveryKindOfPng) {
  PngPicture rgb{2, 2, PngColor::Rgb, false, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {}, {}};
  PngPicture grey{2, 1, PngColor::Gray, false, {0, 77}, {}, {}};
  PngPicture palette{
      3, 1, PngColor::Palette, false, {0, 1, 2}, {200, 0, 0, 0, 200, 0, 0, 0, 200}, {0, 128}};
  TBitmap target;
  gs::LoadImageFile(this->Write(L"rgb.png", EncodePng(rgb)), target);
  ASSERT_EQ(target.Height(), 2);
  EXPECT_EQ(this->At(target, 0, 0), (Bgra{3, 2, 1, 255}));
  EXPECT_EQ(this->At(target, 1, 1), (Bgra{12, 11, 10, 255}));
  gs::LoadImageFile(this->Write(L"grey.png", EncodePng(grey)), target);
  ASSERT_EQ(target.Width(), 2);
  EXPECT_EQ(this->At(target, 1, 0), (Bgra{77, 77, 77, 255}));
  gs::LoadImageFile(this->Write(L"palette.png", EncodePng(palette)), target);
  ASSERT_EQ(target.Width(), 3);
  EXPECT_EQ(this->At(target, 0, 0), (Bgra{0, 0, 0, 0}));
  EXPECT_EQ(this->At(target, 1, 0), (Bgra{0, 100, 0, 128}));
  EXPECT_EQ(this->At(target, 2, 0), (Bgra{200, 0, 0, 255}));
  EXPECT_TRUE(this->platform.system.messages.empty());
}

TYPED_TEST_P(ImageLoadingTest, AnInterlacedFileGivesTheSamePixels) {
  PngPicture picture{11, 9, PngColor::Rgba, false, {}, {}, {}};
  for (int i = 0; i < 11 * 9; ++i) {
    picture.samples.insert(
        picture.samples.end(),
        {static_cast<uint8_t>(i), static_cast<uint8_t>(2 * i), static_cast<uint8_t>(255 - i), 255});
  }
  TBitmap plain, interlaced;
  gs::LoadImageFile(this->Write(L"plain.png", EncodePng(picture)), plain);
  picture.interlaced = true;
  gs::LoadImageFile(this->Write(L"adam7.png", EncodePng(picture)), interlaced);
  ASSERT_EQ(interlaced.Width(), 11);
  ASSERT_EQ(interlaced.Height(), 9);
  for (int32_t y = 0; y < 9; ++y) {
    for (int32_t x = 0; x < 11; ++x)
      ASSERT_EQ(this->At(interlaced, x, y), this->At(plain, x, y)) << x << "," << y;
  }
  EXPECT_EQ(this->At(interlaced, 10, 8), (Bgra{157, 196, 98, 255}));
}

TYPED_TEST_P(ImageLoadingTest, ReloadingReplacesAPictureOfAnotherSize) {
  TBitmap target;
  gs::LoadImageFile(this->Write(L"wide.png", this->Solid(5, 3, {255, 0, 0, 255})), target);
  ASSERT_EQ(target.Width(), 5);
  int changes = 0;
  FunctionHandler<TObject*> counter([&](TObject*) { ++changes; });
  target.OnChange = counter.Event();
  gs::LoadImageFile(this->Write(L"tall.png", this->Solid(2, 7, {0, 0, 255, 255})), target);
  EXPECT_EQ(target.Width(), 2);
  EXPECT_EQ(target.Height(), 7);
  EXPECT_EQ(this->At(target, 1, 6), (Bgra{255, 0, 0, 255}));
  EXPECT_GE(changes, 1);
}

TYPED_TEST_P(ImageLoadingTest, EachBadFileLeavesTheTargetEmptyAndShowsOneMessage) {
  const std::vector<uint8_t> good = this->Gradient(64, 64);
  std::vector<uint8_t> badCrc = good;
  badCrc[29] ^= 0x01;  // the IHDR checksum
  const std::vector<uint8_t> bmp = {
      'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // a 1 x 1 BMP
      40,  0,   0,  0, 1, 0, 0, 0, 1, 0, 0,  0, 1, 0, 24, 0, 0, 0, 0, 0, 4,   0,
      0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0, 255, 0};
  const std::vector<uint8_t> end = Chunk("IEND", {});
  const std::vector<uint8_t> noEnd(good.begin(), good.end() - static_cast<ptrdiff_t>(end.size()));
  std::vector<uint8_t> tooWide(16385 * 4, 200), tooTall = tooWide;
  // Intact chunks around image data that no decoder can turn into pixels.
  const std::vector<uint8_t> grey =
      EncodePng({4, 4, PngColor::Gray, false, std::vector<uint8_t>(16, 90), {}, {}});
  const auto afterHeader = grey.begin() + 33;
  std::vector<uint8_t> threeBits = IhdrData(4, 4, PngColor::Gray);
  threeBits[8] = 3;
  const struct {
    const wchar_t* name;
    std::vector<uint8_t> bytes;
    bool written;
  } bad[] = {
      {L"missing.png", {}, false},
      {L"empty.png", {}, true},
      {L"text.png", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}, true},
      {L"bitmap.png", bmp, true},
      {L"half.png",
       std::vector<uint8_t>(good.begin(), good.begin() + static_cast<ptrdiff_t>(good.size() / 2)),
       true},
      {L"header-only.png", std::vector<uint8_t>(good.begin(), good.begin() + 33), true},
      {L"no-end.png", noEnd, true},
      {L"bad-checksum.png", badCrc, true},
      {L"broken-data.png",
       Join({PngSignature(), Chunk("IHDR", IhdrData(4, 4, PngColor::Rgba)),
             Chunk("IDAT", {0x78, 0x9C, 0xFF, 0xFF, 0xFF}), end}),
       true},
      {L"three-bits.png",
       Join({PngSignature(), Chunk("IHDR", threeBits),
             std::vector<uint8_t>(afterHeader, grey.end())}),
       true},
      {L"no-palette.png", EncodePng({4, 1, PngColor::Palette, false, {0, 1, 0, 1}, {}, {}}), true},
      {L"unknown-critical.png",
       Join({std::vector<uint8_t>(grey.begin(), afterHeader), Chunk("XFRM", {1, 2, 3}),
             std::vector<uint8_t>(afterHeader, grey.end())}),
       true},
      {L"zero-width.png",
       Join({PngSignature(), Chunk("IHDR", IhdrData(0, 4, PngColor::Rgba)), end}), true},
      {L"zero-height.png", RgbaPng(3, 0, {}), true},
      {L"too-wide.png", RgbaPng(16385, 1, tooWide), true},
      {L"too-tall.png", RgbaPng(1, 16385, tooTall), true},
      {L"huge-claim.png",
       Join({PngSignature(), Chunk("IHDR", IhdrData(100000, 100000, PngColor::Rgba)),
             Chunk("IDAT", {0x78, 0x01, 0x01, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x01}),
             end}),
       true},
  };
  for (const auto& file : bad) {
    SCOPED_TRACE(testing::Message() << std::filesystem::path(file.name).string());
    TBitmap target;
    gs::LoadImageFile(this->Write(L"good.png", good), target);
    ASSERT_EQ(target.Width(), 64);
    this->platform.system.messages.clear();

    const std::wstring path = gs::ImagesPath() + L"Bad\\" + file.name;
    if (file.written) this->Write(std::wstring(L"Bad\\") + file.name, file.bytes);
    gs::LoadImageFile(path, target);
    EXPECT_TRUE(target.Empty());
    EXPECT_EQ(target.Width(), 0);
    EXPECT_EQ(target.Height(), 0);
    ASSERT_EQ(this->platform.system.messages.size(), 1u);
    EXPECT_EQ(this->platform.system.messages[0].text, L"Can not load image " + path);
    EXPECT_EQ(this->platform.system.messages[0].caption, L"LoadImage");

    // The check that keeps no pixels refuses what the decode refuses.
    this->platform.system.messages.clear();
    EXPECT_FALSE(gs::CheckImageFile(path));
    ASSERT_EQ(this->platform.system.messages.size(), 1u);
    EXPECT_EQ(this->platform.system.messages[0].text, L"Can not load image " + path);
  }
  this->platform.system.messages.clear();
  EXPECT_TRUE(gs::CheckImageFile(this->Write(L"good.png", good)));
  // A picture exactly at the largest side, one beyond those refused above, shows.
  for (const auto& [width, height] : {std::pair{16384, 1}, std::pair{1, 16384}}) {
    const std::wstring edge =
        this->Write(L"edge.png", this->Solid(width, height, {0, 0, 255, 255}));
    EXPECT_TRUE(gs::CheckImageFile(edge)) << width << " x " << height;
    TBitmap target;
    gs::LoadImageFile(edge, target);
    ASSERT_EQ(target.Width(), width);
    ASSERT_EQ(target.Height(), height);
    EXPECT_EQ(this->At(target, width - 1, height - 1), (Bgra{255, 0, 0, 255}));
  }
  EXPECT_TRUE(this->platform.system.messages.empty());
}

TYPED_TEST_P(ImageLoadingTest,
             ANameWithSubFoldersResolvesBelowTheImagesFolderFromAnyCurrentDirectory) {
  const std::filesystem::path elsewhere = this->folder.Path() / "elsewhere";
  // A decoy where a name relative to the current directory would lead.
  WriteFile(this->OnDisk(elsewhere / "images", L"Button\\Turn Left\\n.png"),
            this->Solid(1, 1, {0, 255, 0, 255}));
  this->Write(L"Button\\Turn Left\\n.png", this->Solid(2, 3, {0, 0, 255, 255}));
  const CurrentFolder current(elsewhere);

  const std::wstring images = gs::ImagesPath();
  const auto separator = static_cast<wchar_t>(std::filesystem::path::preferred_separator);
  EXPECT_EQ(images, (this->folder.Path() / "app").wstring() + separator + L"images\\");
  TBitmap target;
  gs::LoadImageFile(images + L"Button\\Turn Left\\n.png", target);
  EXPECT_EQ(target.Width(), 2);
  EXPECT_EQ(target.Height(), 3);
  EXPECT_EQ(this->At(target, 1, 2), (Bgra{255, 0, 0, 255}));
  EXPECT_TRUE(this->platform.system.messages.empty());
}

REGISTER_TYPED_TEST_SUITE_P(ImageLoadingTest, TransparentPixelsAreAllZeroAndColourIsPremultiplied,
                            RowsArriveTopDownForEveryKindOfPng, AnInterlacedFileGivesTheSamePixels,
                            ReloadingReplacesAPictureOfAnotherSize,
                            EachBadFileLeavesTheTargetEmptyAndShowsOneMessage,
                            ANameWithSubFoldersResolvesBelowTheImagesFolderFromAnyCurrentDirectory);

}  // namespace testing_support

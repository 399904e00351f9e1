#include "gs/image_loader.h"

#include <gtest/gtest.h>

#include <atomic>

#include "base/application.h"
#include "base/bitmap.h"
#include "image_loading_cases.h"
#include "null_platform.h"
#include "platform/libpng/libpng_image_decoder.h"

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer's own interface; GCC ships no header for it.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*,
                                                                             size_t),
                                                         void (*free_hook)(const volatile void*));
#endif

namespace testing_support {
INSTANTIATE_TYPED_TEST_SUITE_P(Libpng, ImageLoadingTest,
                               ::testing::Types<platform::libpng::LibpngImageDecoder>);
}  // namespace testing_support

namespace {

class ImageLoaderTest : public ::testing::Test {
 protected:
  testing_support::NullPlatform platform;
};

TEST_F(ImageLoaderTest, TheImagesFolderFollowsTheExecutableOnEveryCall) {
  platform.system.executableName = L"C:\\Program Files\\Zentara\\Zentara.exe";
  EXPECT_EQ(gs::ImagesPath(), L"C:\\Program Files\\Zentara\\images\\");
  platform.system.executableName = L"D:\\Zentara.exe";
  EXPECT_EQ(gs::ImagesPath(), L"D:\\images\\");
}

TEST_F(ImageLoaderTest, AnIncompletePictureFromTheDecoderCountsAsAFailedLoad) {
  platform.images.Add(L"C:\\short.png", {2, 2, std::vector<uint8_t>(15, 1)});
  platform.images.Add(L"C:\\huge.png", {20000, 1, {}});
  TBitmap target;
  EXPECT_NO_THROW(gs::LoadImageFile(L"C:\\short.png", target));
  EXPECT_TRUE(target.Empty());
  gs::LoadImageFile(L"C:\\huge.png", target);
  EXPECT_TRUE(target.Empty());
  ASSERT_EQ(platform.system.messages.size(), 2u);
  EXPECT_EQ(platform.system.messages[0].text, L"Can not load image C:\\short.png");
}

TEST_F(ImageLoaderTest, APictureFromTheDecoderArrivesAs32BitPixels) {
  platform.images.AddSolid(L"C:\\images\\a.png", 3, 2, 0x80402010);
  TBitmap target;
  target.SetSize(9, 9);  // 24 bits, another size
  gs::LoadImageFile(L"C:\\images\\a.png", target);
  EXPECT_EQ(target.PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(target.Width(), 3);
  EXPECT_EQ(target.ScanLine(1)[8], 0x10);
  EXPECT_EQ(target.ScanLine(1)[11], 0x80);
  EXPECT_TRUE(platform.system.messages.empty());
}

// --- what only the native decoder promises -------------------------------------

class LibpngDecoderTest : public ::testing::Test {
 protected:
  platform::libpng::LibpngImageDecoder decoder;
  testing_support::ScratchFolder folder;
};

TEST_F(LibpngDecoderTest, PremultiplicationTruncates) {
  testing_support::WriteFile(folder.Path() / "a.png",
                             testing_support::RgbaPng(2, 1, {1, 2, 3, 128, 254, 255, 0, 254}));
  platform::DecodedImage image;
  ASSERT_TRUE(decoder.DecodePng((folder.Path() / "a.png").wstring(), image));
  // 3 * 128/255 = 1.51 and 1 * 128/255 = 0.50: both round down
  EXPECT_EQ(image.pixels, (std::vector<uint8_t>{1, 1, 0, 128, 0, 254, 253, 254}));
}

#if defined(__SANITIZE_ADDRESS__)
// The largest single allocation since it was last cleared, as AddressSanitizer's
// allocator sees it.
std::atomic<size_t> largestAllocation{0};
void NoteAllocation(const volatile void* /*block*/, size_t size) {
  size_t seen = largestAllocation.load();
  while (size > seen && !largestAllocation.compare_exchange_weak(seen, size)) {
  }
}
void IgnoreFree(const volatile void* /*block*/) {}
#endif

TEST_F(LibpngDecoderTest, AFewBytesOfFileNeverMakeTheDecoderTakeAGigabyte) {
#if !defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "sees allocations through AddressSanitizer only";
#else
  static const int hooked = __sanitizer_install_malloc_and_free_hooks(NoteAllocation, IgnoreFree);
  ASSERT_NE(hooked, 0);
  namespace ts = testing_support;
  // One row of 16384 pixels under a header that declares 16384 rows.
  const std::vector<uint8_t> oneRow = ts::RgbaPng(16384, 1, std::vector<uint8_t>(16384 * 4, 0x80));
  const std::vector<uint8_t> afterHeader(oneRow.begin() + 33, oneRow.end());
  const std::vector<uint8_t> hugePicture =
      ts::Join({ts::PngSignature(),
                ts::Chunk("IHDR", ts::IhdrData(16384, 16384, ts::PngColor::Rgba)), afterHeader});
  // A text chunk that declares 1.4 GB and holds three bytes.
  const std::vector<uint8_t> hugeText =
      ts::Join({ts::PngSignature(),
                ts::Chunk("IHDR", ts::IhdrData(1, 1, ts::PngColor::Rgba)),
                {0x54, 0x78, 0x9C, 0x63, 't', 'E', 'X', 't', 'a', 0, 'b'}});
  for (const auto& [name, file] : {std::pair{"picture", hugePicture}, {"text", hugeText}}) {
    ts::WriteFile(folder.Path() / "huge.png", file);
    largestAllocation = 0;
    platform::DecodedImage image;
    EXPECT_FALSE(decoder.DecodePng((folder.Path() / "huge.png").wstring(), image)) << name;
    EXPECT_LT(largestAllocation.load(), size_t{64} << 20) << name;
  }
#endif
}

TEST_F(LibpngDecoderTest, NamesAreResolvedWithBackslashesAndAnyLetterCase) {
  testing_support::WriteFile(folder.Path() / "Images" / "Button" / "X" / "n.png",
                             testing_support::RgbaPng(1, 1, {9, 9, 9, 255}));
  platform::DecodedImage image;
  const std::wstring root = folder.Path().wstring();
  EXPECT_TRUE(decoder.DecodePng(root + L"\\images\\button\\x\\N.PNG", image));
  EXPECT_EQ(image.width, 1);
  EXPECT_TRUE(decoder.DecodePng(root + L"/IMAGES/Button\\X/n.png", image));
}

TEST_F(LibpngDecoderTest, AFolderOrAnEmptyNameIsNoPicture) {
  platform::DecodedImage image{1, 1, {1, 2, 3, 4}};
  EXPECT_FALSE(decoder.DecodePng(folder.Path().wstring(), image));
  EXPECT_TRUE(image.pixels.empty());
  EXPECT_EQ(image.width, 0);
  EXPECT_FALSE(decoder.DecodePng(L"", image));
}

}  // namespace

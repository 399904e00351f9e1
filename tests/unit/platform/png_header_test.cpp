#include "platform/png_header.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "png_writer.h"

namespace {

using testing_support::Chunk;
using testing_support::IhdrData;
using testing_support::Join;
using testing_support::PngColor;
using testing_support::PngSignature;

std::vector<uint8_t> Header(uint32_t width, uint32_t height) {
  return Join({PngSignature(), Chunk("IHDR", IhdrData(width, height, PngColor::Rgba))});
}

bool Read(const std::vector<uint8_t>& bytes, int32_t& width, int32_t& height) {
  return platform::ReadPngHeader(bytes.data(), bytes.size(), width, height);
}

TEST(PngHeaderTest, ReadsTheSizeUpToTheBoundOnEachSide) {
  int32_t width = 0, height = 0;
  ASSERT_TRUE(Read(Header(341, 113), width, height));
  EXPECT_EQ(width, 341);
  EXPECT_EQ(height, 113);
  EXPECT_TRUE(Read(Header(16384, 1), width, height));
  EXPECT_TRUE(Read(Header(1, 16384), width, height));
  EXPECT_EQ(height, 16384);
}

TEST(PngHeaderTest, RefusesSizesOutsideTheBoundAndClearsTheResult) {
  for (const auto& [w, h] : {std::pair<uint32_t, uint32_t>{0, 5},
                             {5, 0},
                             {16385, 1},
                             {1, 16385},
                             {0x80000000u, 1},
                             {0xFFFFFFFFu, 0xFFFFFFFFu}}) {
    int32_t width = 7, height = 7;
    EXPECT_FALSE(Read(Header(w, h), width, height)) << w << " x " << h;
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
  }
}

TEST(PngHeaderTest, RefusesWhatIsNotASignatureFollowedByAnImageHeader) {
  int32_t width = 0, height = 0;
  std::vector<uint8_t> bytes = Header(4, 4);
  EXPECT_FALSE(platform::ReadPngHeader(nullptr, 100, width, height));
  EXPECT_FALSE(platform::ReadPngHeader(bytes.data(), platform::kPngHeaderSize - 1, width, height));
  EXPECT_TRUE(platform::ReadPngHeader(bytes.data(), platform::kPngHeaderSize, width, height));
  bytes[1] = 'p';
  EXPECT_FALSE(Read(bytes, width, height));
  // Another chunk first, or an image header of the wrong length.
  EXPECT_FALSE(
      Read(Join({PngSignature(), Chunk("tEXt", std::vector<uint8_t>(13, 'a'))}), width, height));
  EXPECT_FALSE(
      Read(Join({PngSignature(), Chunk("IHDR", std::vector<uint8_t>(14, 1))}), width, height));
}

// --- the whole-file check ---------------------------------------------------------

class PngChunksTest : public ::testing::Test {
 protected:
  // Hands out the bytes `step` at a time, as a file read in small pieces would.
  static bool Intact(const std::vector<uint8_t>& bytes, size_t step = 1 << 16) {
    size_t at = 0;
    return platform::PngChunksIntact([&](uint8_t* buffer, size_t size) {
      const size_t n = std::min({size, step, bytes.size() - at});
      std::copy_n(bytes.begin() + static_cast<ptrdiff_t>(at), n, buffer);
      at += n;
      return n;
    });
  }
  static std::vector<uint8_t> Picture(int32_t width, int32_t height) {
    return testing_support::RgbaPng(width, height,
                                    std::vector<uint8_t>(size_t(width) * size_t(height) * 4, 90));
  }
};

TEST_F(PngChunksTest, AWholeFilePassesHoweverItIsRead) {
  const std::vector<uint8_t> file = Picture(200, 100);  // image data longer than one read
  EXPECT_TRUE(Intact(file));
  EXPECT_TRUE(Intact(file, 1));
  EXPECT_TRUE(Intact(file, 7));
  // Bytes after the end chunk are no concern of a decoder.
  EXPECT_TRUE(Intact(Join({file, {1, 2, 3}})));
}

TEST_F(PngChunksTest, AFileCutAnywhereFails) {
  const std::vector<uint8_t> file = Picture(3, 2);
  for (size_t length = 0; length < file.size(); ++length) {
    EXPECT_FALSE(
        Intact(std::vector<uint8_t>(file.begin(), file.begin() + static_cast<ptrdiff_t>(length))))
        << "cut at " << length << " of " << file.size();
  }
}

TEST_F(PngChunksTest, ADamagedCriticalChunkFailsButADamagedAncillaryOneDoesNot) {
  const std::vector<uint8_t> file = Picture(3, 2);
  for (size_t at = 8; at < file.size(); ++at) {
    std::vector<uint8_t> damaged = file;
    damaged[at] ^= 0x10;
    EXPECT_FALSE(Intact(damaged)) << "byte " << at;
  }
  std::vector<uint8_t> text = Chunk("tEXt", {'a', 0, 'b'});
  text[9] ^= 0x01;  // its data no longer matches its checksum
  const auto withText = Join({std::vector<uint8_t>(file.begin(), file.begin() + 33), text,
                              std::vector<uint8_t>(file.begin() + 33, file.end())});
  EXPECT_TRUE(Intact(withText));
}

TEST_F(PngChunksTest, AFileNeedsImageDataAndOneHeaderOnly) {
  const auto header = Join({PngSignature(), Chunk("IHDR", IhdrData(1, 1, PngColor::Rgba))});
  EXPECT_FALSE(Intact(Join({header, Chunk("IEND", {})})));
  const std::vector<uint8_t> file = Picture(1, 1);
  EXPECT_FALSE(Intact(Join({header, Chunk("IHDR", IhdrData(1, 1, PngColor::Rgba)),
                            std::vector<uint8_t>(file.begin() + 33, file.end())})));
  EXPECT_FALSE(
      Intact(Join({std::vector<uint8_t>(file.begin(), file.end() - 12), Chunk("IEND", {0})})));
  // A chunk claiming more than any file could hold.
  EXPECT_FALSE(Intact(Join({header, {0xFF, 0xFF, 0xFF, 0xF0, 'I', 'D', 'A', 'T'}})));
}

}  // namespace

#pragma once
// Writes real PNG files for tests, without any library: the pixel data goes
// into stored (uncompressed) deflate blocks. Also gives the pieces to build
// damaged files from.
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace testing_support {

enum class PngColor : uint8_t { Gray = 0, Rgb = 2, Palette = 3, GrayAlpha = 4, Rgba = 6 };

struct PngPicture {
  int32_t width = 0;
  int32_t height = 0;
  PngColor color = PngColor::Rgba;
  bool interlaced = false;  // Adam7
  std::vector<uint8_t>
      samples;  // rows top-down, 8-bit samples in PNG order (R, G, B, A or an index)
  std::vector<uint8_t> palette;       // red, green, blue triples
  std::vector<uint8_t> transparency;  // tRNS: alpha of the first palette entries
};

std::vector<uint8_t> EncodePng(const PngPicture& picture);
// A straight (not premultiplied) RGBA picture, 4 bytes per pixel in the order red, green, blue,
// alpha.
std::vector<uint8_t> RgbaPng(int32_t width, int32_t height, const std::vector<uint8_t>& rgba);

// Pieces of a PNG file.
std::vector<uint8_t> PngSignature();
std::vector<uint8_t> IhdrData(uint32_t width, uint32_t height, PngColor color,
                              bool interlaced = false);
std::vector<uint8_t> Chunk(std::string_view type, const std::vector<uint8_t>& data);
std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts);

// Writes a file, creating its folders.
void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

}  // namespace testing_support

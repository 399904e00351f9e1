#include "png_writer.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <stdexcept>

namespace testing_support {
namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0xFFFFFFFFu) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

int Channels(PngColor color) {
  switch (color) {
    case PngColor::Gray:
      return 1;
    case PngColor::Rgb:
      return 3;
    case PngColor::Palette:
      return 1;
    case PngColor::GrayAlpha:
      return 2;
    case PngColor::Rgba:
      return 4;
  }
  return 0;
}

// zlib stream of stored blocks.
std::vector<uint8_t> Deflate(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out{0x78, 0x01};
  size_t pos = 0;
  do {
    const size_t length = std::min<size_t>(raw.size() - pos, 65535);
    const bool last = pos + length == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<uint8_t>(length));
    out.push_back(static_cast<uint8_t>(length >> 8));
    out.push_back(static_cast<uint8_t>(~length));
    out.push_back(static_cast<uint8_t>(~length >> 8));
    out.insert(out.end(), raw.begin() + static_cast<ptrdiff_t>(pos),
               raw.begin() + static_cast<ptrdiff_t>(pos + length));
    pos += length;
  } while (pos < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) a = (a + byte) % 65521, b = (b + a) % 65521;
  PutBigEndian(out, (b << 16) | a);
  return out;
}

// Filter type 0 in front of each row of the pixels at (x0 + i * dx, y0 + j * dy).
void AppendPass(std::vector<uint8_t>& raw, const PngPicture& picture, int32_t x0, int32_t y0,
                int32_t dx, int32_t dy) {
  const int channels = Channels(picture.color);
  for (int32_t y = y0; y < picture.height; y += dy) {
    if (x0 >= picture.width) return;  // an empty pass has no rows at all
    raw.push_back(0);
    for (int32_t x = x0; x < picture.width; x += dx) {
      const size_t at =
          (static_cast<size_t>(y) * static_cast<size_t>(picture.width) + static_cast<size_t>(x)) *
          static_cast<size_t>(channels);
      raw.insert(raw.end(), picture.samples.begin() + static_cast<ptrdiff_t>(at),
                 picture.samples.begin() + static_cast<ptrdiff_t>(at) + channels);
    }
  }
}

}  // namespace

std::vector<uint8_t> PngSignature() {
  return {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
}

std::vector<uint8_t> IhdrData(uint32_t width, uint32_t height, PngColor color, bool interlaced) {
  std::vector<uint8_t> data;
  PutBigEndian(data, width);
  PutBigEndian(data, height);
  data.insert(data.end(),
              {8, static_cast<uint8_t>(color), 0, 0, static_cast<uint8_t>(interlaced ? 1 : 0)});
  return data;
}

std::vector<uint8_t> Chunk(std::string_view type, const std::vector<uint8_t>& data) {
  if (type.size() != 4) throw std::invalid_argument("a chunk type has four letters");
  // Sized up front and written in place: length, type, data, checksum.
  std::vector<uint8_t> out(12 + data.size());
  const auto length = static_cast<uint32_t>(data.size());
  for (size_t i = 0; i < 4; ++i) {
    out[i] = static_cast<uint8_t>(length >> (24 - 8 * i));
    out[4 + i] = static_cast<uint8_t>(type[i]);
  }
  std::copy(data.begin(), data.end(), out.begin() + 8);
  const uint32_t crc = ~Crc32(out.data() + 4, 4 + data.size());
  for (size_t i = 0; i < 4; ++i)
    out[8 + data.size() + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  return out;
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> out;
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

std::vector<uint8_t> EncodePng(const PngPicture& picture) {
  const size_t expected = static_cast<size_t>(std::max(picture.width, 0)) *
                          static_cast<size_t>(std::max(picture.height, 0)) *
                          static_cast<size_t>(Channels(picture.color));
  if (picture.samples.size() != expected)
    throw std::invalid_argument("sample count does not match the size");
  std::vector<uint8_t> raw;
  if (!picture.interlaced) {
    AppendPass(raw, picture, 0, 0, 1, 1);
  } else {
    constexpr int32_t kAdam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                      {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto& pass : kAdam7) AppendPass(raw, picture, pass[0], pass[1], pass[2], pass[3]);
  }
  std::vector<uint8_t> out =
      Join({PngSignature(), Chunk("IHDR", IhdrData(static_cast<uint32_t>(picture.width),
                                                   static_cast<uint32_t>(picture.height),
                                                   picture.color, picture.interlaced))});
  if (!picture.palette.empty()) out = Join({out, Chunk("PLTE", picture.palette)});
  if (!picture.transparency.empty()) out = Join({out, Chunk("tRNS", picture.transparency)});
  return Join({out, Chunk("IDAT", Deflate(raw)), Chunk("IEND", {})});
}

std::vector<uint8_t> RgbaPng(int32_t width, int32_t height, const std::vector<uint8_t>& rgba) {
  PngPicture picture;
  picture.width = width;
  picture.height = height;
  picture.samples = rgba;
  return EncodePng(picture);
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("could not write " + path.string());
}

}  // namespace testing_support

#include "platform/libpng/libpng_image_decoder.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <new>

#include "platform/png_header.h"
#include "platform/posix/path_resolver.h"

namespace platform::libpng {
namespace {

// A chunk other than the image data larger than this is refused when it is
// critical; libpng only warns about an ancillary one (see ReadPixels).
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;
// A picture up to this size is decoded in one pass: a file that declares more
// than it holds then costs at most this much memory, for as long as the
// failed decode runs. A larger one is first decoded into a single row.
constexpr size_t kOnePassBytes = size_t{16} << 20;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// libpng reports a failure by jumping back to the setjmp in ReadPixels; it
// prints nothing, the caller sees only the failed load.
[[noreturn]] void JumpOnError(png_structp png, png_const_charp /*message*/) {
  png_longjmp(png, 1);
}
void IgnoreWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// The read and info structures of one decode.
class ReadState {
 public:
  ReadState()
      : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, IgnoreWarning)) {
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
  }
  ~ReadState() { png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr); }
  ReadState(const ReadState&) = delete;
  ReadState& operator=(const ReadState&) = delete;

  bool Valid() const { return png_ != nullptr && info_ != nullptr; }
  png_structp Png() const { return png_; }
  png_infop Info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

// Every libpng call that can fail runs here. An error jumps back to the
// setjmp below; the objects it would otherwise unwind (`pixels`, `rows`)
// belong to the caller, so the jump skips no destructor. Unless `keep`, every
// row is decoded into the same single row and the picture is thrown away.
bool ReadPixels(const ReadState& state, std::FILE* file, png_uint_32 width, png_uint_32 height,
                bool keep, std::vector<uint8_t>& pixels, std::vector<png_bytep>& rows) {
  png_structp png = state.Png();
  png_infop info = state.Info();
  if (setjmp(png_jmpbuf(png)) != 0) return false;

  png_init_io(png, file);
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
  png_set_chunk_malloc_max(png, kMaxChunkBytes);
  // Only the chunks that make the pixels are read (IHDR, PLTE, tRNS, IDAT,
  // IEND). Text, profiles and the rest are skipped unread: libpng would
  // otherwise allocate whatever size such a chunk declares, gigabytes for a
  // few bytes of file.
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_read_info(png, info);
  // The size checked from the header is the size libpng reads, or nothing.
  if (png_get_image_width(png, info) != width || png_get_image_height(png, info) != height)
    return false;

  const png_byte colorType = png_get_color_type(png, info);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8)
    png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) png_set_tRNS_to_alpha(png);
  png_set_strip_16(png);
  if ((colorType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);  // only where there is no alpha yet
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  const size_t rowBytes = size_t{width} * 4;
  if (png_get_rowbytes(png, info) != rowBytes) return false;
  pixels.assign(keep ? rowBytes * height : rowBytes, 0);
  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + (keep ? rowBytes * y : 0);
  png_read_image(png, rows.data());
  // A file cut short after its pixel data is refused too.
  png_read_end(png, nullptr);
  return true;
}

// c * a / 255, truncated; a pixel with alpha 0 becomes all zero.
void Premultiply(std::vector<uint8_t>& pixels) {
  for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
    const unsigned a = pixels[i + 3];
    for (size_t c = 0; c < 3; ++c) pixels[i + c] = static_cast<uint8_t>(pixels[i + c] * a / 255);
  }
}

// Opens a PNG file whose header passed the shared check, which nothing of the
// file reaches libpng before; `width` and `height` receive the size it declares.
File OpenChecked(std::wstring_view path, int32_t& width, int32_t& height) {
  File file(std::fopen(posix::ResolvePath(path).c_str(), "rb"));
  if (!file) return file;
  uint8_t header[kPngHeaderSize];
  const size_t read = std::fread(header, 1, sizeof header, file.get());
  if (!ReadPngHeader(header, read, width, height)) file.reset();
  return file;
}

// Decodes the whole file once; unless `keep`, into a single row.
bool DecodePass(std::FILE* file, int32_t width, int32_t height, bool keep,
                std::vector<uint8_t>& pixels) {
  if (std::fseek(file, 0, SEEK_SET) != 0) return false;
  ReadState state;
  if (!state.Valid()) return false;
  std::vector<png_bytep> rows;
  try {
    return ReadPixels(state, file, static_cast<png_uint_32>(width),
                      static_cast<png_uint_32>(height), keep, pixels, rows);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace

bool LibpngImageDecoder::DecodePng(std::wstring_view path, DecodedImage& out) {
  out = {};
  int32_t width = 0, height = 0;
  const File file = OpenChecked(path, width, height);
  if (!file) return false;

  // A few bytes can declare a picture of a gigabyte. For a large picture a
  // first pass decodes the whole file into a single row, so memory for the
  // picture is taken only once the file has shown that it holds all of it.
  std::vector<uint8_t> pixels;
  const bool large = size_t(width) * size_t(height) * 4 > kOnePassBytes;
  if (large && !DecodePass(file.get(), width, height, false, pixels)) return false;
  if (!DecodePass(file.get(), width, height, true, pixels)) return false;
  Premultiply(pixels);
  out.width = width;
  out.height = height;
  out.pixels = std::move(pixels);
  return true;
}

bool LibpngImageDecoder::ProbePng(std::wstring_view path) {
  int32_t width = 0, height = 0;
  const File file = OpenChecked(path, width, height);
  std::vector<uint8_t> row;
  return file && DecodePass(file.get(), width, height, false, row);
}

}  // namespace platform::libpng

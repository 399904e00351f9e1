#pragma once
#include <cstdint>
#include <string>

#include "base/color.h"
#include "base/persistent.h"
#include "platform/text_rasterizer.h"

enum TFontStyle : uint8_t {
  fsBold = 1u << 0,
  fsItalic = 1u << 1,
  fsUnderline = 1u << 2,
  fsStrikeOut = 1u << 3
};

// In the order of platform::FontQuality.
enum TFontQuality : uint8_t {
  fqDefault = 0,
  fqDraft = 1,
  fqProof = 2,
  fqNonAntialiased = 3,
  fqAntialiased = 4,
  fqClearType = 5,
};

static_assert(static_cast<platform::FontQuality>(fqClearType) == platform::FontQuality::kClearType);

// The platform's DEFAULT_CHARSET.
inline constexpr uint8_t kDefaultCharset = 1;

class TFont : public TPersistent {
 public:
  const std::wstring& Name() const { return name_; }
  void SetName(std::wstring name) { name_ = std::move(name); }
  int32_t Height() const { return height_; }
  void SetHeight(int32_t height) { height_ = height; }
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }
  uint8_t Style() const { return style_; }
  void SetStyle(uint8_t style) { style_ = style; }
  uint8_t Charset() const { return charset_; }
  void SetCharset(uint8_t charset) { charset_ = charset; }
  TFontQuality Quality() const { return quality_; }
  void SetQuality(TFontQuality quality) { quality_ = quality; }

  // Copies every attribute of another font.
  void Assign(const TPersistent& source) override;
  platform::FontDescription Description() const;

 private:
  std::wstring name_ = L"Tahoma";
  int32_t height_ = -11;
  TColor color_ = clWindowText;
  uint8_t style_ = 0;
  uint8_t charset_ = kDefaultCharset;
  TFontQuality quality_ = fqDefault;
};

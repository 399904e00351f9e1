#include "base/font.h"

void TFont::Assign(const TPersistent& source) {
  const auto* font = dynamic_cast<const TFont*>(&source);
  if (font == nullptr) return TPersistent::Assign(source);
  name_ = font->name_;
  height_ = font->height_;
  color_ = font->color_;
  style_ = font->style_;
  charset_ = font->charset_;
  quality_ = font->quality_;
}

platform::FontDescription TFont::Description() const {
  platform::FontDescription description;
  description.name = name_;
  description.height = height_;
  description.bold = (style_ & fsBold) != 0;
  description.italic = (style_ & fsItalic) != 0;
  description.underline = (style_ & fsUnderline) != 0;
  description.strikeOut = (style_ & fsStrikeOut) != 0;
  description.charset = charset_;
  description.quality = static_cast<platform::FontQuality>(quality_);
  return description;
}

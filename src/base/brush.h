#pragma once
#include "base/color.h"
#include "base/object.h"

class TBrush : public TObject {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }

 private:
  TColor color_ = clWhite;
};

#pragma once
#include <cstdint>

#include "base/callback.h"
#include "base/persistent.h"

namespace gs {

// The inset of a control's caption inside the control.
class GsTextMargins : public TPersistent {
 public:
  GsTextMargins() = default;

  int32_t Left() const { return left_; }
  int32_t Right() const { return right_; }
  int32_t Top() const { return top_; }
  int32_t Bottom() const { return bottom_; }
  // Every write is reported, also one that keeps the value.
  void SetLeft(int32_t value);
  void SetRight(int32_t value);
  void SetTop(int32_t value);
  void SetBottom(int32_t value);

  // Copies all four insets from another GsTextMargins and reports once.
  void Assign(const TPersistent& source) override;
  const TClassInfo& ClassInfo() const override;

  TNotifyEvent OnChange;

 protected:
  void Change();

 private:
  int32_t left_ = 0;
  int32_t right_ = 0;
  int32_t top_ = 0;
  int32_t bottom_ = 0;
};

}  // namespace gs

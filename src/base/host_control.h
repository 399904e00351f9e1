#pragma once

// A control that hosts window-less widgets; they ask it to repaint.
class THostControl {
 public:
  virtual ~THostControl() = default;
  virtual void Invalidate() = 0;
};

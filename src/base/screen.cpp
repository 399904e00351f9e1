#include "base/screen.h"

#include "platform/services.h"
#include "platform/windowing.h"

int32_t TScreen::Width() const {
  return platform::GetWindowing().ScreenWidth();
}

int32_t TScreen::Height() const {
  return platform::GetWindowing().ScreenHeight();
}

int32_t TScreen::PixelsPerInch() const {
  return platform::GetWindowing().DisplayDpi(0);
}

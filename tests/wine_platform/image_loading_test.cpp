// The image loader's cases through GDI+, as the program decodes its artwork on Windows.
#include "image_loading_cases.h"
#include "platform/win32/gdiplus_image_decoder.h"

namespace testing_support {
INSTANTIATE_TYPED_TEST_SUITE_P(Gdiplus, ImageLoadingTest,
                               ::testing::Types<platform::win32::GdiplusImageDecoder>);
}  // namespace testing_support

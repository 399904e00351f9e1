#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "allocation_counter.h"
#include "app/panel_form.h"
#include "base/application.h"
#include "director_probe.h"
#include "gs/wdg_button.h"
#include "null_platform.h"
#include "platform/libpng/libpng_image_decoder.h"

namespace {

// The shipped artwork, the null platform keeping only its last push.
class SteadyFrameTest : public ::testing::Test {
 protected:
  SteadyFrameTest() {
    platform.images.delegate = &decoder;
    platform.system.executableName =
        (std::filesystem::path(ZENTARA_SOURCE_DIR) / "Zentara.exe").wstring();
    platform.windows.keepLastPushOnly = true;
    form = application.CreateForm<TPanelForm>();
    window = form->Handle();
  }

  platform::WindowEvents& Events() { return *platform.windows.At(window).events; }

  // Allocations over `frames` repaints after one that may set things up.
  size_t AllocationsOfFrames(int frames) {
    platform.windows.DeliverPaint(window);
    const AllocationCounter counter;
    for (int i = 0; i < frames; ++i) platform.windows.DeliverPaint(window);
    return counter.Count();
  }

  testing_support::NullPlatform platform;
  platform::libpng::LibpngImageDecoder decoder;
  TApplication application;
  TPanelForm* form = nullptr;
  platform::WindowHandle window = 0;
};

TEST_F(SteadyFrameTest, RepaintsAfterTheFirstAllocateNothing) {
  EXPECT_EQ(AllocationsOfFrames(10), 0u) << "collapsed";
  // A click on the collapsed handle expands the panel.
  Events().HandleMouseDown(platform::MouseButton::Left, platform::kLeft, 300, 50);
  Events().HandleMouseUp(platform::MouseButton::Left, 0, 300, 50);
  EXPECT_EQ(AllocationsOfFrames(10), 0u) << "expanded";
  ASSERT_EQ(platform.windows.pushes.size(), 1u);
  const std::vector<uint8_t> expanded = platform.windows.pushes.back().pixels;
  // The pointer over the close button shows its hovered picture.
  const gs::WdgButton& button = *DirectorProbe(*form->GetDirector()).CloseButton();
  Events().HandleMouseMove(0, button.Left() + button.Width() / 2,
                           button.Top() + button.Height() / 2);
  EXPECT_EQ(AllocationsOfFrames(10), 0u) << "a button hovered";
  EXPECT_NE(platform.windows.pushes.back().pixels, expanded);
}

TEST(AllocationCounterTest, CountsWhatIsAllocatedWhileItLives) {
  const AllocationCounter counter;
  auto block = std::make_unique<int>(1);
  auto blocks = std::make_unique<int[]>(4);
  EXPECT_EQ(counter.Count(), 2u);
}

}  // namespace

#include "rotation/linux_desktop/wayland/output_protocol.h"

#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace {

using quillet::wayland::Answer;
using TestMode = quillet::wayland::Mode<std::unique_ptr<int>>;

TEST(OutputProtocol, ARemovedModeIsMarkedInItsEventAndLetGoAtTheNextRead) {
  std::vector<std::unique_ptr<TestMode>> modes;
  for (int i = 0; i < 3; ++i) {
    modes.push_back(std::make_unique<TestMode>());
    modes.back()->proxy = std::make_unique<int>(i);
  }
  int* current = modes[1]->proxy.get();
  quillet::wayland::OnModeSize<TestMode, int>(modes[1].get(), nullptr, 800, 1280);
  EXPECT_EQ(quillet::wayland::FindMode(modes, current)->height, 1280);

  quillet::wayland::OnModeRemoved<TestMode, int>(modes[1].get(), nullptr);
  ASSERT_EQ(modes.size(), 3u);  // still alive inside its own event
  quillet::wayland::DropRemovedModes(modes, current);
  EXPECT_EQ(current, nullptr);
  ASSERT_EQ(modes.size(), 2u);
  EXPECT_EQ(*modes[0]->proxy, 0);
  EXPECT_EQ(*modes[1]->proxy, 2);

  // A removed mode that is not the current one leaves the current one alone.
  current = modes[0]->proxy.get();
  quillet::wayland::OnModeRemoved<TestMode, int>(modes[1].get(), nullptr);
  quillet::wayland::DropRemovedModes(modes, current);
  EXPECT_EQ(current, modes[0]->proxy.get());
  EXPECT_EQ(modes.size(), 1u);

  Answer answer = Answer::kPending;
  quillet::wayland::OnAnswer<Answer::kCancelled, int>(&answer, nullptr);
  EXPECT_EQ(answer, Answer::kCancelled);
}

}  // namespace

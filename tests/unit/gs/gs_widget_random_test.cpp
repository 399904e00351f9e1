// Random input and random tree surgery, checked against the tree's invariants
// after every step; the sanitizers catch any use of a destroyed widget.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "base/bitmap.h"
#include "gs/gs_widget.h"
#include "gs/wdg_button.h"
#include "gs/wdg_image.h"
#include "null_platform.h"
#include "widget_probe.h"

namespace {

using gs::GsWidget;

// A few hundred sequences by default; ZENTARA_RANDOM_SEQUENCES asks for more in a soak run.
constexpr int kDefaultSequences = 300;
constexpr int kStepsPerSequence = 40;

int Sequences() {
  const char* asked = std::getenv("ZENTARA_RANDOM_SEQUENCES");
  const int count = asked != nullptr ? std::atoi(asked) : 0;
  return count > 0 ? count : kDefaultSequences;
}

class RandomTree {
 public:
  explicit RandomTree(uint32_t seed) : random_(seed) {
    for (int i = 0; i < 10; ++i) Create();
    // Start from a few small trees.
    for (int i = 0; i < 20; ++i) Reparent(Pick(), Pick());
  }

  // One random step; returns a description for failure messages.
  std::string Step() {
    GsWidget* widget = Pick();
    switch (Below(14)) {
      case 0:
      case 1: {
        const auto [root, x, y] = Aim();
        root->MouseDown(RandomButton(), RandomShift(), x, y);
        return "down";
      }
      case 2:
      case 3:
      case 4: {
        const auto [root, x, y] = Aim();
        root->MouseMove(RandomShift(), x, y);
        return "move";
      }
      case 5:
      case 6: {
        const auto [root, x, y] = Aim();
        root->MouseUp(RandomButton(), RandomShift(), x, y);
        return "up";
      }
      case 7:
        widget->SetVisible(Below(3) != 0);
        return "visible";
      case 8:
        widget->SetEnabled(Below(3) != 0);
        return "enabled";
      case 9:
        Reparent(widget, Below(5) == 0 ? nullptr : Pick());
        return "parent";
      case 10:
        RandomBounds(*widget);
        return "bounds";
      case 11:
        Destroy(widget);
        if (live_.size() < 4) Create();
        return "destroy";
      case 12: {
        TBitmap target;
        target.SetPixelFormat(TPixelFormat::pf32bit);
        target.SetSize(80, 80);
        std::get<0>(Aim())->PaintTo(target);
        return "paint";
      }
      default:
        Create();
        return "create";
    }
  }

  // Every widget sits in at most one list, the one of its parent; every
  // capture chain runs downward and ends at a widget that captures itself.
  // Returns the length of the longest capture chain.
  size_t CheckInvariants(const std::string& context) const {
    size_t longest = 0;
    for (const GsWidget* widget : live_) {
      int lists = 0;
      for (const GsWidget* holder : live_) {
        const std::vector<GsWidget*> children = holder->Children();
        const auto n = std::count(children.begin(), children.end(), widget);
        EXPECT_LE(n, 1) << context;
        if (n >= 1) {
          ++lists;
          EXPECT_EQ(widget->Parent(), holder) << context;
        }
      }
      EXPECT_EQ(lists, widget->Parent() == nullptr ? 0 : 1) << context;
      for (const GsWidget* child : widget->Children())
        EXPECT_TRUE(live_.count(const_cast<GsWidget*>(child))) << context;

      const GsWidget* link = widget;
      size_t depth = 0;
      for (; link->Capture() != nullptr && link->Capture() != link; ++depth) {
        if (depth > live_.size()) {
          ADD_FAILURE() << context << ": capture chain does not end";
          break;
        }
        const GsWidget* next = link->Capture();
        EXPECT_EQ(next->Parent(), link) << context << ": capture chain does not run downward";
        EXPECT_NE(next->Capture(), nullptr) << context << ": capture chain stops short";
        if (next->Parent() != link || next->Capture() == nullptr) break;
        link = next;
      }
      longest = std::max(longest, depth);
    }
    return longest;
  }

  size_t LiveCount() const { return live_.size(); }

 private:
  int32_t Below(int32_t n) { return std::uniform_int_distribution<int32_t>(0, n - 1)(random_); }
  int32_t Coordinate() { return Below(130) - 20; }
  TMouseButton RandomButton() {
    return Below(2) == 0 ? mbLeft : static_cast<TMouseButton>(Below(3));
  }
  TShiftState RandomShift() { return TShiftState::FromBits(static_cast<uint8_t>(Below(128))); }

  // The root of a random widget's tree and, mostly, a point on that widget
  // in the root's input coordinates; otherwise anywhere.
  std::tuple<GsWidget*, int32_t, int32_t> Aim() {
    GsWidget* widget = Pick();
    int32_t x = 0, y = 0;
    GsWidget* root = widget;
    for (GsWidget* link = widget; link != nullptr; link = link->Parent()) {
      x += link->Left();
      y += link->Top();
      root = link;
    }
    if (Below(4) == 0 || widget->Width() <= 0 || widget->Height() <= 0)
      return {root, Coordinate(), Coordinate()};
    return {root, x + Below(widget->Width()), y + Below(widget->Height())};
  }

  GsWidget* Pick() {
    auto it = live_.begin();
    std::advance(it, Below(static_cast<int32_t>(live_.size())));
    return *it;
  }

  void Create() {
    std::unique_ptr<GsWidget> widget;
    switch (Below(3)) {
      case 0:
        widget = std::make_unique<GsWidget>();
        break;
      case 1:
        widget = std::make_unique<gs::WdgButton>();
        break;
      default:
        widget = std::make_unique<gs::WdgImage>();
        break;
    }
    RandomBounds(*widget);
    if (Below(2) == 0) widget->SetHost(&host_);
    live_.insert(widget.get());
    loose_.push_back(std::move(widget));
  }

  void RandomBounds(GsWidget& widget) {
    widget.SetBounds(Below(30), Below(30), Below(60), Below(60));
  }

  void Reparent(GsWidget* widget, GsWidget* parent) {
    if (parent == nullptr) {
      if (auto owner = widget->Detach()) loose_.push_back(std::move(owner));
      return;
    }
    const auto held = std::find_if(loose_.begin(), loose_.end(),
                                   [&](const auto& p) { return p.get() == widget; });
    if (held == loose_.end()) {
      widget->SetParent(parent);  // refused when it would become its own ancestor
      return;
    }
    // A loose widget is adopted, unless that would put it below itself.
    for (GsWidget* link = parent; link != nullptr; link = link->Parent()) {
      if (link == widget) return;
    }
    parent->Adopt(std::move(*held));
    loose_.erase(held);
  }

  void Destroy(GsWidget* widget) {
    Forget(widget);
    const auto held = std::find_if(loose_.begin(), loose_.end(),
                                   [&](const auto& p) { return p.get() == widget; });
    if (held != loose_.end()) {
      loose_.erase(held);
    } else {
      widget->Detach().reset();
    }
    if (loose_.empty()) Create();
  }

  void Forget(GsWidget* widget) {
    live_.erase(widget);
    for (GsWidget* child : widget->Children()) Forget(child);
  }

  std::mt19937 random_;
  widget_testing::CountingHost host_;
  std::set<GsWidget*> live_;
  std::vector<std::unique_ptr<GsWidget>> loose_;  // the widgets no parent holds
};

TEST(WidgetTreeRandomTest, RandomInputAndSurgeryKeepTheTreeConsistent) {
  testing_support::NullPlatform platform;
  int stepsWithNestedPress = 0;
  const int sequences = Sequences();
  for (int sequence = 0; sequence < sequences; ++sequence) {
    RandomTree tree(static_cast<uint32_t>(sequence));
    for (int step = 0; step < kStepsPerSequence; ++step) {
      const std::string what = tree.Step();
      const size_t longest = tree.CheckInvariants("sequence " + std::to_string(sequence) +
                                                  " step " + std::to_string(step) + " " + what);
      if (::testing::Test::HasFailure()) return;
      if (longest >= 2) ++stepsWithNestedPress;
    }
  }
  // The run is only worth something if presses often run through nested widgets.
  EXPECT_GT(stepsWithNestedPress, sequences * kStepsPerSequence / 100);
}

}  // namespace

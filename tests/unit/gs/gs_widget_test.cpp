#include "gs/gs_widget.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/bitmap.h"
#include "widget_probe.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using widget_testing::AddProbe;
using widget_testing::CountingHost;
using widget_testing::Entries;
using widget_testing::Journal;
using widget_testing::kLeftHeld;
using widget_testing::kNoButtons;
using widget_testing::ProbeWidget;

// The root sits at (5, 5) in the host, so root-local = host - 5. A and B
// overlap on root-local x 30..39.
class WidgetTreeTest : public ::testing::Test {
 protected:
  WidgetTreeTest() : root("root", journal) {
    root.SetBounds(5, 5, 100, 100);
    root.SetHost(&host);
    a = AddProbe(root, "A", journal, 10, 10, 30, 30);
    b = AddProbe(root, "B", journal, 30, 10, 30, 30);
  }

  // Host coordinates of a root-local point.
  void Press(int32_t x, int32_t y, TMouseButton button = mbLeft) {
    root.MouseDown(button, {}, x + 5, y + 5);
  }
  void Move(int32_t x, int32_t y, TShiftState shift = kNoButtons) {
    root.MouseMove(shift, x + 5, y + 5);
  }
  void Release(int32_t x, int32_t y, TMouseButton button = mbLeft) {
    root.MouseUp(button, {}, x + 5, y + 5);
  }

  Journal journal;
  CountingHost host;
  ProbeWidget root;
  ProbeWidget* a = nullptr;
  ProbeWidget* b = nullptr;
};

TEST_F(WidgetTreeTest, OverlapGoesToTheLaterChildUnlessItCannotTakeInput) {
  Press(35, 20);
  EXPECT_THAT(Entries(journal, "B.do-down"), ElementsAre("B.do-down 0 5,10"));
  EXPECT_TRUE(Entries(journal, "A.").empty());

  for (bool hideInsteadOfDisable : {true, false}) {
    journal.clear();
    if (hideInsteadOfDisable)
      b->SetVisible(false);
    else
      b->SetEnabled(false);
    Press(35, 20);
    Move(35, 20, kLeftHeld);
    EXPECT_THAT(Entries(journal, "A.do-down"), ElementsAre("A.do-down 0 25,10"));
    EXPECT_THAT(Entries(journal, "A.move"), ElementsAre("A.move 25,10"));
    EXPECT_TRUE(Entries(journal, "B.do-").empty());
    b->SetVisible(true);
    b->SetEnabled(true);
  }
}

TEST_F(WidgetTreeTest, HitTestIsHalfOpenInTheParentsCoordinates) {
  EXPECT_TRUE(a->HitTest(10, 10));
  EXPECT_TRUE(a->HitTest(39, 39));
  EXPECT_FALSE(a->HitTest(40, 20));
  EXPECT_FALSE(a->HitTest(20, 40));
  EXPECT_FALSE(a->HitTest(9, 20));
  EXPECT_EQ(root.ChildAt(39, 39), b);
  EXPECT_EQ(root.ChildAt(60, 20), nullptr);
}

TEST_F(WidgetTreeTest, PressOnADisabledOrHiddenChildReachesTheParentsOwnHookAndEvent) {
  a->SetEnabled(false);
  Press(15, 20);
  EXPECT_THAT(journal, ElementsAre("root.do-down 0 15,20", "root.down 0 15,20"));
  EXPECT_EQ(root.Capture(), &root);

  journal.clear();
  a->SetEnabled(true);
  a->SetVisible(false);
  Press(15, 20, mbRight);
  EXPECT_THAT(journal, ElementsAre("root.do-down 1 15,20", "root.down 1 15,20"));
}

TEST_F(WidgetTreeTest, PressRecordsACaptureChainDownToTheDeepestWidget) {
  ProbeWidget* inner = AddProbe(*a, "A1", journal, 2, 3, 10, 10);
  Press(15, 15);
  EXPECT_THAT(Entries(journal, "A1.down"), ElementsAre("A1.down 0 3,2"));
  EXPECT_EQ(root.Capture(), a);
  EXPECT_EQ(a->Capture(), inner);
  EXPECT_EQ(inner->Capture(), inner);
  EXPECT_EQ(b->Capture(), nullptr);
}

TEST_F(WidgetTreeTest, DraggedOffPressKeepsItsMovesAndClicksOnReleaseOutside) {
  Press(15, 20);
  journal.clear();
  Move(80, 80, kLeftHeld);
  EXPECT_THAT(journal, ElementsAre("root.do-enter", "root.enter", "A.do-enter", "A.enter",
                                   "A.do-move", "A.move 70,70"));
  EXPECT_TRUE(a->Hovered());

  journal.clear();
  Release(80, 80);
  EXPECT_THAT(journal, ElementsAre("A.do-up 0 70,70", "A.up 0 70,70", "A.click"));
  EXPECT_EQ(root.Capture(), nullptr);
  EXPECT_EQ(a->Capture(), nullptr);
  EXPECT_TRUE(a->Hovered());
}

TEST_F(WidgetTreeTest, MoveWithoutTheLeftButtonEndsAPressWhoseReleaseWasLost) {
  Press(15, 20);
  Move(16, 20, TShiftState{ssRight});
  EXPECT_EQ(root.Capture(), nullptr);
  EXPECT_EQ(a->Capture(), nullptr);

  journal.clear();
  Release(16, 20);
  EXPECT_THAT(journal, ElementsAre("A.do-up 0 6,10", "A.up 0 6,10"));
}

TEST_F(WidgetTreeTest, OtherButtonsPressAndReleaseWithoutAClickAndKeepTheCapture) {
  Press(15, 20, mbRight);
  Release(15, 20, mbRight);
  EXPECT_THAT(journal,
              ElementsAre("A.do-down 1 5,10", "A.down 1 5,10", "A.do-up 1 5,10", "A.up 1 5,10"));
  EXPECT_EQ(root.Capture(), a);
  EXPECT_EQ(a->Capture(), a);

  // A release outside still reaches the widget holding the press.
  journal.clear();
  Release(90, 90, mbMiddle);
  EXPECT_THAT(journal, ElementsAre("A.do-up 2 80,80", "A.up 2 80,80"));
  EXPECT_EQ(root.Capture(), a);

  Move(15, 20, kNoButtons);
  EXPECT_EQ(root.Capture(), nullptr);
  EXPECT_EQ(a->Capture(), nullptr);
}

TEST_F(WidgetTreeTest, ReleaseWithoutAPressGoesToTheChildUnderThePointerWithoutAClick) {
  Release(50, 20);
  EXPECT_THAT(journal, ElementsAre("B.do-up 0 20,10", "B.up 0 20,10"));
  journal.clear();
  Release(90, 90);
  EXPECT_THAT(journal, ElementsAre("root.do-up 0 90,90", "root.up 0 90,90"));
}

TEST_F(WidgetTreeTest, PressOnTheParentItselfClicksOnlyWhenReleasedOverNoChild) {
  Press(90, 90);
  Release(80, 80);
  EXPECT_THAT(journal, ElementsAre("root.do-down 0 90,90", "root.down 0 90,90",
                                   "root.do-up 0 80,80", "root.up 0 80,80", "root.click"));
  EXPECT_EQ(root.Capture(), nullptr);

  // A press the root holds itself does not keep a release from the child under the pointer.
  journal.clear();
  Press(90, 90);
  Release(15, 20);
  EXPECT_THAT(journal, ElementsAre("root.do-down 0 90,90", "root.down 0 90,90", "A.do-up 0 5,10",
                                   "A.up 0 5,10"));
  EXPECT_EQ(root.Capture(), nullptr);
}

TEST_F(WidgetTreeTest, MovingFromOneChildToAnotherLeavesTheFirstBeforeEnteringTheSecond) {
  Move(15, 20);
  journal.clear();
  Move(50, 20);
  EXPECT_THAT(journal, ElementsAre("A.do-leave", "A.leave", "B.do-enter", "B.enter", "B.do-move",
                                   "B.move 20,10"));
  EXPECT_FALSE(a->Hovered());
  EXPECT_TRUE(b->Hovered());
  EXPECT_TRUE(root.Hovered());
}

TEST_F(WidgetTreeTest, LeavingAWidgetLeavesItsChildrenFirstAndDropsTheirPress) {
  ProbeWidget* inner = AddProbe(*a, "A1", journal, 0, 0, 10, 10);
  Move(12, 12);
  a->MouseDown(mbRight, {}, 12, 12);
  ASSERT_EQ(a->Capture(), inner);
  journal.clear();
  Move(90, 90);
  EXPECT_THAT(journal, ElementsAre("A1.do-leave", "A1.leave", "A.do-leave", "A.leave",
                                   "root.do-move", "root.move 90,90"));
  EXPECT_EQ(a->Capture(), nullptr);
  EXPECT_EQ(inner->Capture(), nullptr);
  EXPECT_FALSE(inner->Hovered());
}

TEST_F(WidgetTreeTest, EnteringHappensOnceUntilTheWidgetIsLeft) {
  Move(15, 20);
  Move(16, 20);
  EXPECT_EQ(Entries(journal, "A.enter").size(), 1u);
  EXPECT_EQ(Entries(journal, "root.enter").size(), 1u);
}

TEST_F(WidgetTreeTest, SetVisibleAsksForARepaintOnlyOnAChangeButSetEnabledAlways) {
  b->SetVisible(true);
  EXPECT_EQ(host.invalidations, 0);
  b->SetVisible(false);
  EXPECT_EQ(host.invalidations, 1);
  b->SetEnabled(true);
  EXPECT_EQ(host.invalidations, 2);
  b->SetCaption(L"");
  EXPECT_EQ(host.invalidations, 2);
  b->SetCaption(L"go");
  EXPECT_EQ(host.invalidations, 3);
  b->SetBounds(1, 2, 3, 4);
  b->SetLeft(7);
  b->SetWidth(7);
  EXPECT_EQ(host.invalidations, 3);
}

TEST_F(WidgetTreeTest, OnlyTheRootsHostIsAskedToRepaint) {
  CountingHost inner;
  a->SetHost(&inner);
  ProbeWidget* deep = AddProbe(*a, "A1", journal, 0, 0, 1, 1);
  deep->SetEnabled(true);
  EXPECT_EQ(host.invalidations, 1);
  EXPECT_EQ(inner.invalidations, 0);
  root.SetHost(nullptr);
  deep->Invalidate();
  EXPECT_EQ(inner.invalidations, 0);
}

TEST_F(WidgetTreeTest, SetParentToTheSameParentChangesNothingAndReparentingAppends) {
  ProbeWidget* c = AddProbe(root, "C", journal, 0, 0, 1, 1);
  a->SetParent(&root);
  EXPECT_THAT(root.Children(), ElementsAre(a, b, c));

  ProbeWidget other("other", journal);
  ProbeWidget* x = AddProbe(other, "X", journal, 0, 0, 1, 1);
  a->SetParent(&other);
  EXPECT_THAT(root.Children(), ElementsAre(b, c));
  EXPECT_THAT(other.Children(), ElementsAre(x, a));
  EXPECT_EQ(a->Parent(), &other);

  a->SetParent(&root);
  EXPECT_THAT(root.Children(), ElementsAre(b, c, a));
  EXPECT_THAT(other.Children(), ElementsAre(x));
  EXPECT_EQ(host.invalidations, 0);
}

TEST_F(WidgetTreeTest, SetParentRefusesAnOwnershipCircleAndAWidgetWhoseOwnerItCannotTake) {
  ProbeWidget* inner = AddProbe(*a, "A1", journal, 0, 0, 1, 1);
  a->SetParent(inner);
  a->SetParent(a);
  EXPECT_EQ(a->Parent(), &root);
  EXPECT_THAT(inner->Children(), ElementsAre());
  EXPECT_THAT(root.Children(), ElementsAre(a, b));

  // Not the tree's to take: Adopt attaches such a widget.
  ProbeWidget loose("loose", journal);
  EXPECT_DEBUG_DEATH(loose.SetParent(&root), "Adopt attaches it");
  EXPECT_EQ(loose.Parent(), nullptr);
  EXPECT_THAT(root.Children(), ElementsAre(a, b));
}

TEST_F(WidgetTreeTest, TakingAwayTheChildThatHoldsThePressDropsTheWholeChain) {
  ProbeWidget* inner = AddProbe(*a, "A1", journal, 0, 0, 10, 10);
  Press(12, 12);
  ASSERT_EQ(a->Capture(), inner);
  inner->SetParent(b);
  EXPECT_EQ(root.Capture(), nullptr);
  EXPECT_EQ(a->Capture(), nullptr);
  EXPECT_EQ(inner->Capture(), nullptr);

  Release(12, 12);
  EXPECT_THAT(journal, Not(Contains(HasSubstr("click"))));
}

TEST_F(WidgetTreeTest, DetachHandsAnAttachedWidgetBackToTheCaller) {
  std::unique_ptr<gs::GsWidget> owner = a->Detach();
  EXPECT_EQ(owner.get(), a);
  EXPECT_EQ(a->Parent(), nullptr);
  EXPECT_THAT(root.Children(), ElementsAre(b));
  EXPECT_EQ(a->Detach().get(), nullptr);  // it already has its owner
}

// Counts its own destruction, in order.
class Mortal : public gs::GsWidget {
 public:
  Mortal(int id, std::vector<int>& deaths) : id_(id), deaths_(deaths) {}
  ~Mortal() override { deaths_.push_back(id_); }

 private:
  int id_;
  std::vector<int>& deaths_;
};

TEST(WidgetLifetimeTest, DroppingADetachedChildThatHeldThePressLeavesTheParentWorking) {
  std::vector<int> deaths;
  auto parent = std::make_unique<Mortal>(0, deaths);
  Mortal* first = parent->Adopt(std::make_unique<Mortal>(1, deaths));
  first->SetBounds(0, 0, 10, 10);
  Mortal* second = parent->Adopt(std::make_unique<Mortal>(2, deaths));
  parent->MouseDown(mbLeft, {}, 1, 1);
  ASSERT_EQ(parent->Capture(), first);

  first->Detach().reset();
  EXPECT_THAT(deaths, ElementsAre(1));
  EXPECT_THAT(parent->Children(), ElementsAre(second));
  EXPECT_EQ(parent->Capture(), nullptr);
  parent->MouseMove(kLeftHeld, 2, 2);
  parent->MouseUp(mbLeft, {}, 2, 2);

  parent.reset();
  EXPECT_THAT(deaths, ElementsAre(1, 0, 2));
}

// Taken out with SetParent(nullptr), a widget has nothing more to do with its
// former tree: it outlives it, and its former parent may go below it.
TEST(WidgetLifetimeTest, SetParentNoneTakesTheWidgetOutOfItsTreeForGood) {
  std::vector<int> deaths;
  auto root = std::make_unique<Mortal>(0, deaths);
  Mortal* parent = root->Adopt(std::make_unique<Mortal>(1, deaths));
  Mortal* first = parent->Adopt(std::make_unique<Mortal>(2, deaths));
  first->SetBounds(0, 0, 10, 10);
  Mortal* second = parent->Adopt(std::make_unique<Mortal>(3, deaths));
  Mortal* third = parent->Adopt(std::make_unique<Mortal>(4, deaths));
  first->SetParent(nullptr);
  second->SetParent(nullptr);
  EXPECT_EQ(first->Parent(), nullptr);
  EXPECT_THAT(parent->Children(), ElementsAre(third));
  EXPECT_EQ(parent->ChildAt(1, 1), nullptr);

  parent->SetParent(first);
  EXPECT_THAT(first->Children(), ElementsAre(parent));
  first->SetParent(root.get());
  EXPECT_THAT(root->Children(), ElementsAre(first));
  std::unique_ptr<gs::GsWidget> handedOut = second->Detach();
  EXPECT_EQ(handedOut.get(), second);
  EXPECT_EQ(second->Detach().get(), nullptr) << "it has its owner";

  third->SetParent(nullptr);
  first->Detach().reset();  // with the former parent of the widget taken out
  EXPECT_THAT(deaths, ElementsAre(2, 1));
  third->SetParent(root.get());
  EXPECT_THAT(root->Children(), ElementsAre(third));
  handedOut.reset();
  root.reset();
  EXPECT_THAT(deaths, ElementsAre(2, 1, 3, 0, 4));
}

TEST(WidgetLifetimeTest, AWidgetPtrOwnsItsWidgetUntilSetParentHandsItToTheTree) {
  std::vector<int> deaths;
  auto root = std::make_unique<Mortal>(0, deaths);
  Mortal* first = root->Adopt(std::make_unique<Mortal>(1, deaths));
  gs::WidgetPtr<Mortal> attached(std::make_unique<Mortal>(2, deaths));
  gs::WidgetPtr<Mortal> loose(std::make_unique<Mortal>(3, deaths));
  attached->SetParent(root.get());
  EXPECT_FALSE(attached.OwnsWidget());
  EXPECT_EQ(attached->Parent(), root.get());
  EXPECT_THAT(root->Children(), ElementsAre(first, attached.get()));

  gs::WidgetPtr<Mortal> moved = std::move(loose);
  EXPECT_TRUE(moved.OwnsWidget());
  EXPECT_FALSE(loose);
  attached = gs::WidgetPtr<Mortal>();  // only stops pointing at it
  moved = gs::WidgetPtr<Mortal>();     // destroys the widget no tree took
  EXPECT_THAT(deaths, ElementsAre(3));
  root.reset();
  EXPECT_THAT(deaths, ElementsAre(3, 0, 1, 2));
}

TEST(WidgetLifetimeTest, AParentDestroysEachChildOnceFromFirstToLast) {
  std::vector<int> deaths;
  auto parent = std::make_unique<Mortal>(0, deaths);
  for (int id = 1; id <= 3; ++id) {
    Mortal* child = parent->Adopt(std::make_unique<Mortal>(id, deaths));
    child->Adopt(std::make_unique<Mortal>(id * 10, deaths));
  }
  parent.reset();
  EXPECT_THAT(deaths, ElementsAre(0, 1, 10, 2, 20, 3, 30));
}

TEST_F(WidgetTreeTest, PaintingDrawsParentsBeforeChildrenInListOrderAndSkipsHiddenOnes) {
  AddProbe(*a, "A1", journal, 1, 2, 3, 4);
  ProbeWidget* hidden = AddProbe(*b, "B1", journal, 0, 0, 5, 5);
  AddProbe(*hidden, "B11", journal, 0, 0, 5, 5);
  hidden->SetVisible(false);
  b->SetEnabled(false);  // disabled widgets still paint
  journal.clear();
  TBitmap target;
  root.PaintTo(target);
  EXPECT_THAT(journal, ElementsAre("root.paint 5,5,105,105", "A.paint 15,15,45,45",
                                   "A1.paint 16,17,19,21", "A1.painted", "A.painted",
                                   "B.paint 35,15,65,45", "B.painted", "root.painted"));

  journal.clear();
  root.SetVisible(false);
  root.PaintTo(target);
  EXPECT_TRUE(journal.empty());
}

}  // namespace

// The small pieces of the class library: colours, callbacks, timers, fonts and
// the persistent base.
#include <gtest/gtest.h>

#include <stdexcept>

#include "base/brush.h"
#include "base/callback.h"
#include "base/color.h"
#include "base/font.h"
#include "base/persistent.h"
#include "base/timer.h"
#include "function_handler.h"
#include "null_platform.h"
#include "same_font.h"

namespace {

class ClassLibraryTest : public ::testing::Test {
 protected:
  testing_support::NullPlatform platform;
};

// --- colours --------------------------------------------------------------------

TEST_F(ClassLibraryTest, SystemColoursAreAskedOfThePlatform) {
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xF0F0F0u);
  EXPECT_EQ(ColorToRGB(clWindowText), 0x000000u);
  EXPECT_EQ(ColorToRGB(clGrayText), 0x6D6D6Du);
  EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFFu);
}

TEST_F(ClassLibraryTest, PlainColoursPassThroughWithoutTheirTopByte) {
  EXPECT_EQ(ColorToRGB(0x00123456), 0x123456u);
  EXPECT_EQ(ColorToRGB(0x02123456), 0x123456u);
  EXPECT_FALSE(IsSystemColor(0x7F00000F));
  EXPECT_EQ(RedOf(0x00332211), 0x11);
  EXPECT_EQ(GreenOf(0x00332211), 0x22);
  EXPECT_EQ(BlueOf(0x00332211), 0x33);
}

TEST_F(ClassLibraryTest, ASystemColourIsResolvedWhenItIsUsedNotWhenItIsSet) {
  platform::Services services = platform::Install({});
  TBrush brush;
  brush.SetColor(clBtnFace);  // no platform needed yet
  EXPECT_EQ(brush.Color(), clBtnFace);
  EXPECT_THROW(ColorToRGB(brush.Color()), std::logic_error);
  platform::Install(services);
  EXPECT_EQ(ColorToRGB(brush.Color()), 0xF0F0F0u);
}

// --- callbacks ------------------------------------------------------------------

class Listener : public TObject {
 public:
  void Heard(TObject* sender) { senders.push_back(sender); }
  std::vector<TObject*> senders;
};

class LoudListener : public Listener {};

TEST_F(ClassLibraryTest, ABoundCallbackCallsItsTargetWithTheSender) {
  LoudListener listener;
  TNotifyEvent event(&listener, &Listener::Heard);  // a method of the base class
  ASSERT_TRUE(event);
  TObject sender;
  event(&sender);
  ASSERT_EQ(listener.senders.size(), 1u);
  EXPECT_EQ(listener.senders[0], &sender);
}

TEST_F(ClassLibraryTest, AnEmptyCallbackDoesNothing) {
  TNotifyEvent empty;
  EXPECT_FALSE(empty);
  EXPECT_NO_THROW(empty(nullptr));
  Listener* none = nullptr;
  TNotifyEvent unbound(none, &Listener::Heard);
  EXPECT_FALSE(unbound);
  EXPECT_NO_THROW(unbound(nullptr));
}

// --- timers ---------------------------------------------------------------------

TEST_F(ClassLibraryTest, ATimerRunsOnlyWhenEnabledWithAnIntervalAndAHandler) {
  TTimer timer;
  EXPECT_TRUE(timer.Enabled());
  EXPECT_FALSE(timer.Running());  // no handler yet
  int ticks = 0;
  TObject* sender = nullptr;
  testing_support::FunctionHandler<TObject*> counter([&](TObject* s) { ++ticks, sender = s; });
  timer.SetOnTimer(counter.Event());
  EXPECT_TRUE(timer.Running());
  platform.timers.FireInterval(1000);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(sender, &timer);

  timer.SetEnabled(false);
  EXPECT_EQ(platform.timers.RunningCount(), 0u);
  platform.timers.FireInterval(1000);
  EXPECT_EQ(ticks, 1);

  timer.SetInterval(0);
  timer.SetEnabled(true);
  EXPECT_FALSE(timer.Running());
  timer.SetInterval(30);
  EXPECT_TRUE(timer.Running());
  platform.timers.FireInterval(30);
  EXPECT_EQ(ticks, 2);
}

TEST_F(ClassLibraryTest, ChangingTheIntervalRestartsTheOneTimer) {
  TTimer timer;
  testing_support::FunctionHandler<TObject*> idle([](TObject*) {});
  timer.SetOnTimer(idle.Event());
  timer.SetInterval(3000);
  ASSERT_EQ(platform.timers.RunningCount(), 1u);
  EXPECT_EQ(platform.timers.running.begin()->second.interval, 3000u);
}

TEST_F(ClassLibraryTest, ATimerCanStopItselfFromItsTick) {
  TTimer timer;
  timer.SetInterval(30);
  int ticks = 0;
  testing_support::FunctionHandler<TObject*> stopper([&](TObject*) {
    ++ticks;
    timer.SetEnabled(false);
  });
  timer.SetOnTimer(stopper.Event());
  platform.timers.FireInterval(30);
  platform.timers.FireInterval(30);
  EXPECT_EQ(ticks, 1);
  EXPECT_FALSE(timer.Running());
}

TEST_F(ClassLibraryTest, ADestroyedTimerStopsItsPlatformTimer) {
  testing_support::FunctionHandler<TObject*> idle([](TObject*) {});
  {
    TTimer timer;
    timer.SetOnTimer(idle.Event());
    EXPECT_EQ(platform.timers.RunningCount(), 1u);
  }
  EXPECT_EQ(platform.timers.RunningCount(), 0u);
}

// --- fonts and the persistent base ----------------------------------------------

TEST_F(ClassLibraryTest, FontAssignCopiesEveryAttribute) {
  TFont source, copy;
  source.SetName(L"Segoe UI");
  source.SetHeight(-14);
  source.SetColor(clRed);
  source.SetStyle(fsUnderline | fsStrikeOut);
  source.SetCharset(0);
  source.SetQuality(fqClearType);
  EXPECT_FALSE(testing_support::SameFont(copy, source));
  copy.Assign(source);
  EXPECT_TRUE(testing_support::SameFont(copy, source));
  const platform::FontDescription description = copy.Description();
  EXPECT_EQ(description.name, L"Segoe UI");
  EXPECT_EQ(description.height, -14);
  EXPECT_TRUE(description.underline && description.strikeOut);
  EXPECT_FALSE(description.bold || description.italic);
  EXPECT_EQ(description.charset, 0);
  EXPECT_EQ(description.quality, platform::FontQuality::kClearType);
}

class Plain : public TPersistent {};

TEST_F(ClassLibraryTest, PersistentBaseRefusesAssignFromAnotherClass) {
  Plain a, b;
  EXPECT_THROW(a.Assign(b), std::invalid_argument);
  TFont font;
  EXPECT_THROW(font.Assign(a), std::invalid_argument);
}

}  // namespace

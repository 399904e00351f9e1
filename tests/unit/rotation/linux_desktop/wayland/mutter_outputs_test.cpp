#include <gio/gio.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "rotation/linux_desktop/wayland/mutter_layout.h"
#include "rotation/linux_desktop/wayland/mutter_outputs.h"

namespace {

using platform::gio::VariantPtr;
using quillet::linux_desktop::DesktopOutput;
using quillet::wayland::DisplayConfigService;

// GetCurrentState of a headless Mutter with a 1280 x 800 and a 1920 x 1080 virtual monitor, none
// built in, the larger one primary and left but listed last, in its physical layout mode.
std::string TwoMonitors(int serial, int secondX = 1920, bool modeKnown = true) {
  const std::string current = modeKnown ? "{'is-current': <true>}" : "@a{sv} {}";
  return "(" + std::to_string(serial) + R"(,
    [(('Meta-0', 'V', 'P', '0'), [('1280x800@60.000', 1280, 800, 60.0, 1.0, [1.0], )" +
         current + R"()],
      {'is-builtin': <false>}),
     (('Meta-1', 'V', 'P', '1'), [('1024x768@60.000', 1024, 768, 60.0, 1.0, [1.0], @a{sv} {}),
                                  ('1920x1080@60.000', 1920, 1080, 60.0, 1.0, [1.0], {'is-current': <true>})],
      @a{sv} {})],
    [()" +
         std::to_string(secondX) + R"(, 0, 1.0, 0, false, [('Meta-0', 'V', 'P', '0')], @a{sv} {}),
     (0, 0, 1.0, 0, true, [('Meta-1', 'V', 'P', '1')], @a{sv} {})],
    {'layout-mode': <uint32 2>}))";
}

// A laptop in logical layout mode at 200 %: its built-in panel turned once and mirrored on a
// projector, a monitor left of it that is primary.
const char kLaptop[] = R"((7,
    [(('eDP-1', 'V', 'P', '0'), [('2560x1600@60', 2560, 1600, 60.0, 2.0, [1.0, 2.0], {'is-current': <true>})],
      {'is-builtin': <true>, 'is-underscanning': <false>}),
     (('HDMI-1', 'V', 'P', '1'), [('2560x1600@30', 2560, 1600, 30.0, 2.0, [2.0], {'is-current': <true>})],
      {'is-underscanning': <true>}),
     (('DP-1', 'V', 'P', '2'), [('1920x1080@60', 1920, 1080, 60.0, 1.0, [1.0], {'is-current': <true>})],
      @a{sv} {})],
    [(0, 0, 1.0, 0, true, [('DP-1', 'V', 'P', '2')], @a{sv} {}),
     (1920, 0, 2.0, 1, false, [('eDP-1', 'V', 'P', '0'), ('HDMI-1', 'V', 'P', '1')], @a{sv} {})],
    {'layout-mode': <uint32 1>, 'supports-changing-layout-mode': <true>}))";

VariantPtr State(const std::string& text) {
  GVariant* state = g_variant_parse(G_VARIANT_TYPE(quillet::wayland::kCurrentStateType),
                                    text.c_str(), nullptr, nullptr, nullptr);
  EXPECT_NE(state, nullptr) << text;
  return VariantPtr(state != nullptr ? g_variant_ref_sink(state) : nullptr);
}

std::string Printed(GVariant* floating) {
  if (floating == nullptr) return "null";
  const VariantPtr value(g_variant_ref_sink(floating));
  gchar* text = g_variant_print(value.get(), FALSE);
  std::string printed = text;
  g_free(text);
  return printed;
}

TEST(MutterLayout, EachLogicalMonitorIsAnOutputWithTheTabletsFirst) {
  struct Case {
    std::string state;
    std::vector<DesktopOutput> expected;
  };
  for (const Case& c : {Case{TwoMonitors(2),
                             {{"Meta-1", false, true, 0, 0, 1920, 1080, 0},
                              {"Meta-0", false, true, 1920, 0, 1280, 800, 0}}},
                        Case{kLaptop,
                             {{"DP-1", false, true, 0, 0, 1920, 1080, 0},
                              {"eDP-1", true, true, 1920, 0, 1280, 800, 1}}}}) {
    const std::optional<quillet::wayland::MutterLayout> layout =
        quillet::wayland::ParseCurrentState(State(c.state).get());
    ASSERT_TRUE(layout) << c.state;
    EXPECT_EQ(quillet::wayland::OutputsOf(*layout), c.expected) << c.state;
  }
}

TEST(MutterLayout, AStateItCannotFollowIsNotRead) {
  const VariantPtr wrongType(g_variant_ref_sink(g_variant_new("(u)", 2u)));
  EXPECT_FALSE(quillet::wayland::ParseCurrentState(State(TwoMonitors(2, 1920, false)).get()));
  EXPECT_FALSE(quillet::wayland::ParseCurrentState(wrongType.get()));
}

TEST(MutterLayout, EveryLogicalMonitorIsSentWithItsMonitorsModesAndScale) {
  const auto layout = quillet::wayland::ParseCurrentState(State(kLaptop).get());
  ASSERT_TRUE(layout);
  std::vector<DesktopOutput> turned = quillet::wayland::OutputsOf(*layout);
  turned[1].transform = 2;
  EXPECT_EQ(Printed(quillet::wayland::ApplyArguments(*layout, turned)),
            "(7, 1, [(0, 0, 1.0, 0, true, [('DP-1', '1920x1080@60', {})]), "
            "(1920, 0, 2.0, 2, false, [('eDP-1', '2560x1600@60', {}), "
            "('HDMI-1', '2560x1600@30', {'underscanning': <true>})])], "
            "{'layout-mode': <uint32 1>})");

  for (int32_t transform : {8, -1, 0x100}) {
    std::vector<DesktopOutput> wild = quillet::wayland::OutputsOf(*layout);
    wild[1].transform = transform;
    EXPECT_EQ(Printed(quillet::wayland::ApplyArguments(*layout, wild)), "null") << transform;
  }
  std::vector<DesktopOutput> swapped = quillet::wayland::OutputsOf(*layout);
  std::swap(swapped[0], swapped[1]);
  EXPECT_EQ(Printed(quillet::wayland::ApplyArguments(*layout, swapped)), "null");
  EXPECT_EQ(Printed(quillet::wayland::ApplyArguments(*layout, {swapped[0]})), "null");
}

// Mutter's service as a list of the states it reports and the answers it gives, in turn.
class FakeDisplayConfig : public DisplayConfigService {
 public:
  struct Log {
    std::vector<std::string> states;
    std::vector<Answer> answers;
    int reads = 0;
    std::vector<uint32_t> appliedSerials;
  };
  explicit FakeDisplayConfig(Log& log) : log_(log) {}

  VariantPtr GetCurrentState() override {
    const size_t next = static_cast<size_t>(log_.reads++);
    return State(log_.states[std::min(next, log_.states.size() - 1)]);
  }
  Answer ApplyMonitorsConfig(GVariant* arguments) override {
    const VariantPtr sent(g_variant_ref_sink(arguments));
    uint32_t serial = 0;
    g_variant_get_child(sent.get(), 0, "u", &serial);
    log_.appliedSerials.push_back(serial);
    const size_t next = log_.appliedSerials.size() - 1;
    return log_.answers[std::min(next, log_.answers.size() - 1)];
  }

 private:
  Log& log_;
};

TEST(MutterOutputs, AStaleSerialIsReadAgainAndSentOnceMoreWhileTheLayoutStands) {
  using Answer = DisplayConfigService::Answer;
  struct Case {
    std::vector<std::string> states;
    std::vector<Answer> answers;
    bool applied;
    std::vector<uint32_t> serials;
  };
  for (const Case& c : {
           Case{{TwoMonitors(2), TwoMonitors(5)}, {Answer::kStale, Answer::kApplied}, true, {2, 5}},
           Case{{TwoMonitors(2), TwoMonitors(5), TwoMonitors(9)}, {Answer::kStale}, false, {2, 5}},
           Case{{TwoMonitors(2), TwoMonitors(5, 2000)},
                {Answer::kStale, Answer::kApplied},
                false,
                {2}},
           Case{{TwoMonitors(2)}, {Answer::kRefused, Answer::kApplied}, false, {2}},
       }) {
    FakeDisplayConfig::Log log{c.states, c.answers, 0, {}};
    quillet::wayland::MutterOutputs outputs(std::make_unique<FakeDisplayConfig>(log));
    const auto read = outputs.Read();
    ASSERT_TRUE(read);
    std::vector<DesktopOutput> turned = quillet::linux_desktop::TurnOutput(*read, 0, 2);
    EXPECT_EQ(outputs.Apply(turned), c.applied) << c.states.back();
    EXPECT_EQ(log.appliedSerials, c.serials) << c.states.back();
  }
}

}  // namespace

#include "platform/x11/xsettings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

using platform::x11::XsettingsDpiOf;

// Writes the settings format in either byte order.
class Settings {
 public:
  explicit Settings(bool bigEndian, uint32_t count) : bigEndian_(bigEndian) {
    bytes.push_back(bigEndian ? 1 : 0);
    bytes.insert(bytes.end(), 3, 0);
    Card32(7);  // serial
    Card32(count);
  }
  Settings& Integer(const std::string& name, int32_t value) {
    Head(0, name);
    Card32(static_cast<uint32_t>(value));
    return *this;
  }
  Settings& Text(const std::string& name, const std::string& value) {
    Head(1, name);
    Card32(static_cast<uint32_t>(value.size()));
    Padded(value);
    return *this;
  }
  Settings& Color(const std::string& name) {
    Head(2, name);
    bytes.insert(bytes.end(), 8, 0xFF);
    return *this;
  }
  std::optional<int32_t> Dpi() const { return XsettingsDpiOf(bytes); }

  std::vector<uint8_t> bytes;

 private:
  void Head(uint8_t type, const std::string& name) {
    bytes.push_back(type);
    bytes.push_back(0);
    const auto length = static_cast<uint16_t>(name.size());
    bytes.push_back(static_cast<uint8_t>(bigEndian_ ? length >> 8 : length & 0xFF));
    bytes.push_back(static_cast<uint8_t>(bigEndian_ ? length & 0xFF : length >> 8));
    Padded(name);
    Card32(3);  // last change
  }
  void Padded(const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.insert(bytes.end(), (4 - text.size() % 4) % 4, 0);
  }
  void Card32(uint32_t value) {
    for (int i = 0; i < 4; ++i) {
      const int shift = bigEndian_ ? 24 - 8 * i : 8 * i;
      bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
  }
  bool bigEndian_;
};

TEST(XsettingsTest, ReadsTheScaleInEitherByteOrderPastOtherSettings) {
  for (const bool bigEndian : {false, true}) {
    EXPECT_EQ(Settings(bigEndian, 1).Integer("Xft/DPI", 144 * 1024).Dpi(), 144);
    EXPECT_EQ(Settings(bigEndian, 1).Integer("Gdk/WindowScalingFactor", 2).Dpi(), 192);
    // The larger counts: desktops differ in whether Xft/DPI holds the factor already.
    EXPECT_EQ(Settings(bigEndian, 2)
                  .Integer("Gdk/WindowScalingFactor", 2)
                  .Integer("Xft/DPI", 96 * 1024)
                  .Dpi(),
              192);
    EXPECT_EQ(Settings(bigEndian, 2)
                  .Integer("Xft/DPI", 240 * 1024)
                  .Integer("Gdk/WindowScalingFactor", 2)
                  .Dpi(),
              240);
    EXPECT_EQ(Settings(bigEndian, 4)
                  .Text("Net/ThemeName", "Adwaita")
                  .Color("Gtk/Color")
                  .Integer("Xft/Antialias", 1)
                  .Integer("Xft/DPI", 120 * 1024 + 300)
                  .Dpi(),
              120);
  }
}

TEST(XsettingsTest, NothingWithoutASensibleValueOrWithBytesOffTheFormat) {
  EXPECT_EQ(Settings(false, 1).Integer("Xft/DPI", -1).Dpi(), std::nullopt);  // "the default"
  EXPECT_EQ(Settings(false, 1).Integer("Gdk/WindowScalingFactor", 0).Dpi(), std::nullopt);
  EXPECT_EQ(Settings(false, 1).Integer("Xft/Hinting", 1).Dpi(), std::nullopt);
  EXPECT_EQ(Settings(false, 0).Integer("Xft/DPI", 144 * 1024).Dpi(), std::nullopt);
  Settings unknownType(false, 2);
  unknownType.Integer("Xft/DPI", 144 * 1024).Integer("Other", 1).bytes[12 + 20] =
      3;  // the second setting's type
  EXPECT_EQ(unknownType.Dpi(), std::nullopt);
  Settings badOrder(false, 1);
  badOrder.Integer("Xft/DPI", 144 * 1024).bytes[0] = 2;
  EXPECT_EQ(badOrder.Dpi(), std::nullopt);
  EXPECT_EQ(XsettingsDpiOf({}), std::nullopt);
}

TEST(XsettingsTest, CutOrScrambledBytesNeverReadOutsideThemNorGiveANonsenseScale) {
  const std::vector<uint8_t> whole = Settings(false, 3)
                                         .Text("Net/ThemeName", "Adwaita")
                                         .Color("Gtk/Color")
                                         .Integer("Xft/DPI", 144 * 1024)
                                         .bytes;
  for (size_t length = 0; length < whole.size(); ++length) {
    // Copied so that the sanitizer sees a read past the cut.
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(length));
    EXPECT_EQ(XsettingsDpiOf(cut), std::nullopt) << length;
  }
  uint32_t seed = 12345;
  for (int round = 0; round < 2000; ++round) {
    std::vector<uint8_t> scrambled = whole;
    for (int flips = 0; flips < 3; ++flips) {
      seed = seed * 1103515245u + 12345u;
      scrambled[(seed >> 8) % scrambled.size()] = static_cast<uint8_t>(seed >> 24);
    }
    const std::optional<int32_t> dpi = XsettingsDpiOf(scrambled);
    if (dpi) {
      EXPECT_GE(*dpi, 24);
      EXPECT_LE(*dpi, 960);
    }
  }
}

}  // namespace

#include "platform/x11/xft_dpi.h"

#include <gtest/gtest.h>

namespace {

using platform::x11::XftDpiOf;

TEST(XftDpiTest, ReadsTheEntryAmongOthers) {
  EXPECT_EQ(XftDpiOf("Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n"), 144);
  EXPECT_EQ(XftDpiOf("Xft.dpi: 120.4"), 120);
  EXPECT_EQ(XftDpiOf("*.dpi:\t200\nXft.dpi:\t192"), 192);
}

TEST(XftDpiTest, NinetySixWithoutASensibleEntry) {
  for (const char* resources :
       {"", "Xft.antialias: 1\n", "Xft.dpi:\n", "Xft.dpi: lots\n", "Xft.dpi: 0\n", "Xft.dpi: -96\n",
        "Xft.dpi: 1e9\n", "Xft.dpix: 144\n"})
    EXPECT_EQ(XftDpiOf(resources), 96) << resources;
}

}  // namespace

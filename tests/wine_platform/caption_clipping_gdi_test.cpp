// Captions whose rectangles, radius or shifts reach far beyond the target,
// through GDI: real anti-aliased glyphs, with italic overhangs, must come out
// as with temporaries of the whole rectangle, and extreme settings must stay
// quick and never throw.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "effects/outer_glow_text_painter.h"
#include "effects/scratch_area.h"
#include "gs/image_loader.h"
#include "gs/wdg_button.h"
#include "gs/widget_factories.h"
#include "null_platform.h"
#include "platform/win32/gdi_text_rasterizer.h"
#include "text_painting.h"
#include "unclipped_painting.h"

namespace {

namespace unclipped = testing_support::unclipped;
using testing_support::Bytes;
using testing_support::Fill;
using testing_support::Pixel;

// GDI, with the formats of every call noted.
class NotingGdi : public platform::TextRasterizer {
 public:
  int32_t Draw(platform::PixelBuffer& target, const platform::TextStyle& style, const char* text,
               platform::Rect& rect, const platform::TextLayout& layout) override {
    layouts.push_back(layout);
    return gdi.Draw(target, style, text, rect, layout);
  }
  int32_t Draw(platform::PixelBuffer& target, const platform::TextStyle& style, const wchar_t* text,
               platform::Rect& rect, const platform::TextLayout& layout) override {
    layouts.push_back(layout);
    return gdi.Draw(target, style, text, rect, layout);
  }
  bool Measured() const {
    return std::any_of(layouts.begin(), layouts.end(),
                       [](const platform::TextLayout& layout) { return layout.measureOnly; });
  }

  platform::win32::GdiTextRasterizer gdi;
  std::vector<platform::TextLayout> layouts;
};

void Prepare(TBitmap& bitmap, int32_t width, int32_t height, bool italic) {
  Fill(bitmap, width, height, {40, 60, 80, 200});
  TFont& font = bitmap.Canvas().Font();
  font.SetName(L"Tahoma");
  font.SetHeight(-16);
  font.SetStyle(italic ? fsItalic : fsBold);
  font.SetColor(0x000000FF);
}

class CaptionClippingGdiTest : public ::testing::Test {
 protected:
  testing_support::NullPlatform platform;
  NotingGdi gdi;
  testing_support::LargestTargetRasterizer noting{gdi};
  testing_support::ScopedTextRasterizer useGdi{noting};
  ReleasingPtr<TOuterGlowTextPainter> painter = TOuterGlowTextPainter::Create();
};

TEST_F(CaptionClippingGdiTest, FarTextPlacedByMeasuringHoldsEveryGlyph) {
  struct Case {
    TRect rect;
    int32_t radius;
    int32_t format;
    const wchar_t* text;
  };
  // A 40 x 20 target; text rectangles far larger than it, so that the halo's
  // mask covers only the measured text with its margin.
  const Case cases[] = {
      {{-230, -230, 270, 250}, 80, 0x25, L"Wafjy"},               // centred line
      {{-230, -230, 270, 250}, 80, 0x11, L"Wa fj\nyQ\nZentara"},  // centred, wrapped lines
      {{-430, -430, 168, 148}, 130, 0x2A, L"fjWy"},               // bottom right
      {{-128, -128, 530, 530}, 130, 0x00, L"jfWy"},               // top left
  };
  ReleasingPtr<TRadiateTextPainter> halo = TRadiateTextPainter::Create();
  for (const Case& c : cases) {
    halo->SetRadius(c.radius);
    for (bool italic : {false, true}) {
      for (bool premultiplied : {true, false}) {
        TBitmap painted, expected;
        Prepare(painted, 40, 20, italic);
        Prepare(expected, 40, 20, italic);
        gdi.layouts.clear();
        halo->PaintText(painted, c.text, c.rect, c.format, 0, premultiplied);
        EXPECT_TRUE(gdi.Measured()) << c.text;
        unclipped::Halo(*halo, expected, c.text, c.rect, c.format, 0, premultiplied);
        ASSERT_EQ(Bytes(painted), Bytes(expected))
            << c.text << (italic ? " italic" : "") << premultiplied;
      }
    }
  }
}

TEST_F(CaptionClippingGdiTest, CaptionsAcrossTheEdgeMatchWholeRectangleLayers) {
  painter->SetRadius(3);
  painter->SetSpread(70);
  const TRect rects[] = {{-17, -8, 60, 22}, {-4, -4, 84, 34}, {30, 6, 130, 50}};
  for (const TRect& rect : rects) {
    for (int32_t shift : {2, -25}) {
      painter->SetRadiationX(shift);
      painter->SetRadiationY(shift / 2);
      for (bool premultiplied : {true, false}) {
        TBitmap painted, expected;
        Prepare(painted, 80, 30, true);
        Prepare(expected, 80, 30, true);
        painter->PaintText(painted, L"Zentara", rect, 0x25, 0, premultiplied);
        unclipped::OuterGlow(*painter, expected, L"Zentara", rect, 0x25, premultiplied);
        ASSERT_EQ(Bytes(painted), Bytes(expected)) << rect.Left << " " << shift << premultiplied;
      }
      TBitmap painted, expected;
      Prepare(painted, 80, 30, false);
      Prepare(expected, 80, 30, false);
      painter->PaintText(painted.Canvas(), L"Zentara", rect, 0x25, 1, true);
      unclipped::OuterGlowLayer(*painter, expected.Canvas(), L"Zentara", rect, 0x25);
      ASSERT_EQ(Bytes(painted), Bytes(expected)) << rect.Left << " " << shift << " layer";
    }
  }
}

// Margins of -3000 with radius 2900, and shifts of -12000 and INT32_MIN: each
// once took seconds and gigabytes or threw out of the paint.
TEST_F(CaptionClippingGdiTest, TheCaptionSettingsThatOnceBlewUpPaintWithinTheTarget) {
  const gs::ButtonImageNames names{L"Button\\Caption\\n.png", L"", L"", L""};
  platform.images.AddSolid(gs::ImagesPath() + names[0], 100, 30, 0xFF302010);
  std::unique_ptr<gs::WdgButton> button = gs::CreateButton(names);
  button->SetCaption(L"Zentara");
  gs::GsTextRadiationEffect& raised = button->TextEffect().Raised();
  raised.Font().SetHeight(-16);
  TBitmap target;
  target.SetPixelFormat(TPixelFormat::pf32bit);
  target.SetSize(100, 30);

  for (auto set : {&gs::GsTextMargins::SetLeft, &gs::GsTextMargins::SetRight,
                   &gs::GsTextMargins::SetTop, &gs::GsTextMargins::SetBottom}) {
    (button->Margins().*set)(-3000);
  }
  raised.SetRadius(2900);
  ASSERT_NO_THROW(button->PaintTo(target));
  EXPECT_EQ(raised.GlowPainter().Factory().CachedFilter(), nullptr);
  for (auto set : {&gs::GsTextMargins::SetLeft, &gs::GsTextMargins::SetRight,
                   &gs::GsTextMargins::SetTop, &gs::GsTextMargins::SetBottom}) {
    (button->Margins().*set)(0);
  }
  for (int32_t shift : {-12000, INT32_MIN}) {
    for (uint32_t radius : {0U, 2U}) {
      raised.SetRadius(radius);
      raised.SetRadiationX(shift);
      raised.SetRadiationY(shift == INT32_MIN ? 0 : shift);
      ASSERT_NO_THROW(button->PaintTo(target)) << shift;
      ASSERT_NO_THROW(painter->PaintText(target, L"Zentara", {0, 0, 100, 30}, 0x25, 1, true))
          << shift;
    }
  }
  EXPECT_LE(noting.largest, ScratchBudget(100, 30));
}

}  // namespace

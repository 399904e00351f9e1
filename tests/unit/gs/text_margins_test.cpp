#include "gs/text_margins.h"
#include "function_handler.h"

#include <gtest/gtest.h>

namespace {

TEST(TextMarginsTest, EveryWriteIsReportedAlsoWhenTheValueStays) {
  gs::GsTextMargins margins;
  int reports = 0;
  testing_support::FunctionHandler<TObject*> counter([&](TObject* sender) {
    EXPECT_EQ(sender, &margins);
    ++reports;
  });
  margins.OnChange = counter.Event();
  margins.SetLeft(0);
  margins.SetRight(3);
  margins.SetTop(4);
  margins.SetBottom(4);
  EXPECT_EQ(reports, 4);
  EXPECT_EQ(margins.Left(), 0);
  EXPECT_EQ(margins.Right(), 3);
  EXPECT_EQ(margins.Top(), 4);
  EXPECT_EQ(margins.Bottom(), 4);
}

TEST(TextMarginsTest, AssignCopiesAllFourAndReportsOnce) {
  gs::GsTextMargins source;
  source.SetLeft(1);
  source.SetRight(2);
  source.SetTop(3);
  source.SetBottom(4);
  gs::GsTextMargins copy;
  int reports = 0;
  testing_support::FunctionHandler<TObject*> counter([&](TObject*) { ++reports; });
  copy.OnChange = counter.Event();
  copy.Assign(source);
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(copy.Left(), 1);
  EXPECT_EQ(copy.Right(), 2);
  EXPECT_EQ(copy.Top(), 3);
  EXPECT_EQ(copy.Bottom(), 4);
}

}  // namespace

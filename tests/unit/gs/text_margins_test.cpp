#include "gs/text_margins.h"
#include "function_handler.h"

#include <gtest/gtest.h>

namespace {

TEST(TextMarginsTest, AssignCopiesAllFourAndReportsOnceAndAnUnchangedWriteStillReports) {
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
  copy.SetLeft(1);
  EXPECT_EQ(reports, 2);
}

}  // namespace

// The progress bar publishes its percentage as text and as its accessible description, which is
// all that assistive technologies can read of a GTK 2 progress bar.

#include <gtest/gtest.h>

#include "PercentProgressBar.h"

namespace {

TEST(PercentProgressBar, TextAndDescriptionFollowThePosition) {
  platform::PercentProgressBar bar;
  EXPECT_EQ(bar.get_text(), "0%");
  bar.SetMax(200);
  bar.SetPosition(50);
  EXPECT_EQ(bar.get_text(), "25%");
  EXPECT_EQ(bar.get_accessible()->get_description(), "25%");
  EXPECT_DOUBLE_EQ(bar.get_fraction(), 0.25);

  platform::PercentProgressBar silent(false);
  silent.SetPosition(100);
  EXPECT_EQ(silent.get_text(), "");
  EXPECT_EQ(silent.get_accessible()->get_description(), "100%");
}

} // namespace

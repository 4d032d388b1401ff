// The percentage a progress bar shows.

#include <gtest/gtest.h>

#include "PercentProgressBar.h"

namespace {

struct PercentCase {
  int Position, Max, Percent;
};

class Percent : public ::testing::TestWithParam<PercentCase> {};

TEST_P(Percent, OfAPositionWithinItsMaximum) {
  EXPECT_EQ(platform::PercentOf(GetParam().Position, GetParam().Max), GetParam().Percent);
}

INSTANTIATE_TEST_SUITE_P(Cases, Percent,
                         ::testing::Values(PercentCase{0, 100, 0}, PercentCase{1, 3, 33},
                                           PercentCase{2, 3, 66}, PercentCase{3, 3, 100},
                                           PercentCase{5, 0, 0}, PercentCase{-1, 10, 0},
                                           PercentCase{11, 10, 100},
                                           // byte counts of a large archive do not overflow
                                           PercentCase{2000000000, 2100000000, 95}));

} // namespace

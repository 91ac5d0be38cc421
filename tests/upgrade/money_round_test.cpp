#include "kestrel/upgrade/money_round.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Case {
  double in;
  double out;
};

TEST(RoundMoney, FifteenDigitsThenHalfAwayFromZero) {
  const Case cases[] = {
      {0.0, 0.0},
      {100.0, 100.0},
      {33.333333333333336, 33.33},
      {62.5, 62.5},
      {60.0, 60.0},
      // Exactly halves in binary.
      {0.125, 0.13},
      {-0.125, -0.13},
      {2.5, 2.5},
      // Just below a half in binary (2.67499999999999982…, 1.00499999999999989…): the
      // 15-digit decimal is the half, which goes up.
      {2.675, 2.68},
      {1.005, 1.01},
      {-2.675, -2.68},
      // Below the half even at 15 digits.
      {1.00499999999, 1.0},
      {0.004, 0.0},
      {0.005, 0.01},
      {-0.004, -0.0},
      // Large amounts keep their cents.
      {9999999999999.99, 9999999999999.99},
      {123456789012.345, 123456789012.35},
      {1e20, 1e20},
  };
  for (const auto& c : cases) EXPECT_EQ(upgrade::round_money(c.in), c.out) << c.in;
  // Never a negative zero, which would store as "-0.00".
  for (double zero : {-0.004, -0.0, 0.0}) EXPECT_FALSE(std::signbit(upgrade::round_money(zero)));
}

}  // namespace

#include "kestrel/upgrade/money_round.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace upgrade {

double round_money(double amount) {
  if (!std::isfinite(amount)) return amount;
  if (amount == 0) return 0;  // -0.0 too: never a negative zero, which would store as "-0.00"
  // d.dddddddddddddde±x: 15 significant digits, independent of the locale.
  char buf[40];
  auto res =
      std::to_chars(buf, buf + sizeof buf, std::fabs(amount), std::chars_format::scientific, 14);
  const std::string text(buf, res.ptr);
  const auto e = text.find('e');
  std::int64_t mantissa = 0;  // the 15 digits as an integer
  for (size_t i = 0; i < e; ++i)
    if (text[i] != '.') mantissa = mantissa * 10 + (text[i] - '0');
  const int exponent = std::atoi(text.c_str() + e + 1);
  // amount * 100 = mantissa * 10^(exponent - 12); drop the digits beyond the hundredths.
  const int drop = 12 - exponent;
  if (drop <= 0) {  // no digits beyond the hundredths: the 15-digit value itself
    double whole = 0;
    std::from_chars(text.data(), text.data() + text.size(), whole);
    return std::copysign(whole, amount);
  }
  std::int64_t cents = 0;
  if (drop <= 18) {
    std::int64_t unit = 1;
    for (int i = 0; i < drop; ++i) unit *= 10;
    cents = mantissa / unit;
    if ((mantissa % unit) * 2 >= unit) ++cents;
  }
  if (cents == 0) return 0;
  return std::copysign(static_cast<double>(cents) / 100, amount);
}

}  // namespace upgrade

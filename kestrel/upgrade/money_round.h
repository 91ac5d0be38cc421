#pragma once

namespace upgrade {

// Brings an amount to 2 decimal places the way the runtime's decimal conversion does: the
// double is first taken to 15 significant digits, and that decimal is rounded half away from
// zero. So 1.005, stored as 1.00499999999999989…, gives 1.01, as a user would expect.
double round_money(double amount);

}  // namespace upgrade

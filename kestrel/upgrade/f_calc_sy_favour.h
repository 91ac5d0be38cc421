#pragma once
// The derived member amount mem_info.sy_favour: the part of a member's card consumption that
// counts as used bonus, card_consume × favour ÷ (sum_deposit + favour), in cents.
#include <optional>

namespace upgrade {

// The amount for one member, or nothing where it is 0.00 by rule (favour, card_consume or
// sum_deposit + favour is 0). No clamping: a negative deposit can raise the share above 1.
std::optional<double> sy_favour_amount(double sum_deposit, double card_consume, double favour);

// Fills sy_favour for the members of the store gs_fd_id, one committed update each: 0 when
// every member was written (or there was none), -1 at the first update that failed.
int f_calc_sy_favour();

}  // namespace upgrade

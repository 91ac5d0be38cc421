#pragma once
// The bitmap strikes a font file carries for its small sizes (its 'EBLC' table), drawn as they
// are in place of the outlines at those sizes.
#include <QByteArray>
#include <vector>

namespace rt {

// The pixel sizes of the one-bit strikes that an 'EBLC' table lists, in the table's order; none
// for a table that is empty, of another version or cut short.
std::vector<int> bitmap_strike_sizes(const QByteArray& eblc);

}  // namespace rt

#include "kestrel/rebuild/key_groups.h"

#include <algorithm>
#include <array>

namespace rebuild {

KeyGroup key_group(int n) {
  static constexpr std::array numbers{1, 3, 4, 10};
  static constexpr std::array texts{5,  7,  9,  13, 14, 15, 16, 17, 18,
                                    19, 26, 27, 31, 42, 43, 45, 46, 50};
  if (std::ranges::find(numbers, n) != numbers.end()) return KeyGroup::number;
  if (std::ranges::find(texts, n) != texts.end()) return KeyGroup::text;
  if (n == 25) return KeyGroup::emp_id_text;
  return KeyGroup::none;
}

}  // namespace rebuild

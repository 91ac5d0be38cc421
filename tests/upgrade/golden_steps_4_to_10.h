#pragma once
#include "tests/upgrade/golden_schema.h"

namespace golden {

const std::vector<Table>& steps_4_to_10();

}  // namespace golden

#pragma once
// The five looks of the button: which colours, visibility and content positions each one sets.
#include <string_view>

#include "shared/button/button_parts.h"

namespace xpb {

enum class Look { normal, normal_focused, hover, pressed, disabled };

std::string_view look_name(Look look);

// The button's face colours, which its users may change.
struct FaceColours {
  long raisedcolor = rgb(232, 232, 230);
  long loweredcolor = rgb(224, 224, 216);
  long disabledcolor = rgb(248, 244, 232);
};

// Sets every property of the look on parts; what the look keeps is left as it was. The focus
// rectangle is the caller's business (it depends on the focus, not only on the look).
void apply_look(Look look, ButtonParts& parts, const FaceColours& colours);

}  // namespace xpb

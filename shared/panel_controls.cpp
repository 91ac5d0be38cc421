#include "shared/panel_controls.h"

namespace shared {
namespace {

#define SHARED_SLE_MEMBER_POINTER(name) &panel_controls::sle_##name,
constexpr singlelineedit* panel_controls::*kFields[] = {
    SHARED_PANEL_FIELDS(SHARED_SLE_MEMBER_POINTER)};
#undef SHARED_SLE_MEMBER_POINTER

}  // namespace

singlelineedit*& panel_controls::field(sle f) { return this->*kFields[static_cast<int>(f)]; }
singlelineedit* panel_controls::field(sle f) const { return this->*kFields[static_cast<int>(f)]; }

}  // namespace shared

#pragma once

namespace rt {

// Lets the message loop deliver pending events, as the programs' long actions do.
void yield();

}  // namespace rt

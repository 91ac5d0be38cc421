#pragma once
// How kestrel ends when its upgrade chain asks it to: at once, or by starting itself again.

namespace kestrel {

// Leaves the event loop; the program ends when the running handler returns.
void end_program();

// Starts this program again, in its own folder, and ends this process. A program that cannot
// be started is told in a failure box, and this process ends all the same.
void restart_program();

}  // namespace kestrel

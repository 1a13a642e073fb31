#pragma once

namespace testsupport {

// Lets the display and the program's timers run for `ms` milliseconds,
// handling every event as it comes.
void RunEventsFor(int ms);

}  // namespace testsupport

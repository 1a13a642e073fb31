#pragma once

// Starting the desktop's handler (xdg-open) so that its failure is seen:
// it is a child of its own session whose end the event loop polls for, with
// its error output kept in memory, never a pipe that could break the
// browser it starts.

#include <string>

#include "shell/shell_execute.h"

namespace shell::detail {

// Starts `handler` with `target`, to be watched from the running event loop.
// Returns false when it could not be started at all; otherwise `failed`
// hears once, later, if it ends in failure.
bool StartWatchedHandler(const std::string& handler, const std::string& target, OpenFailure failed);

// The words for a handler's end that was no success: its exit code (-1 for
// a signal) and the last line it wrote on its error output.
std::string HandlerFailure(int exitCode, const std::string& errorOutput);

}  // namespace shell::detail

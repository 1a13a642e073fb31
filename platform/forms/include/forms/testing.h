#pragma once

// Seams for tests of programs written on the forms runtime.

#include <functional>
#include <stdexcept>

namespace forms::testing {

// Thrown by End() while an end handler is set, so that a test sees the
// program end without the process ending.
struct ProgramEnded : std::exception {
  const char* what() const noexcept override { return "the program ended"; }
};

// Called by End() instead of ending the process; an empty handler restores
// the real End.
void SetEndHandler(std::function<void()> handler);

// Ends every form of the program at once (a test's forms must go before its
// application does).
void ReleaseAllForms();

// Empties the string table, so that a test can register one with gaps.
void ClearStringTable();

}  // namespace forms::testing

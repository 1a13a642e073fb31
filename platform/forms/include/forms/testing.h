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

// Lets go of the program's single-instance lock, so that the next program a
// test starts in this process asks again whether it is the first copy.
void ReleaseInstanceLock();

// Empties the string table, so that a test can register one with gaps.
void ClearStringTable();

}  // namespace forms::testing

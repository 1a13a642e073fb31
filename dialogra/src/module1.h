#pragma once

// Start at logon: the Run-key value "Italian" that starts the bar when the
// user logs on.

namespace dialogra {

inline constexpr const char* kAutoStartName = "Italian";

// Writes the value with the program's full path when `mark` is 1, deletes it
// when `mark` is 0, and leaves it alone for any other `mark`.
void SetAutoStart();

}  // namespace dialogra

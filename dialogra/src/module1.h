#pragma once

// Start at logon: the Run-key value "Italian" that starts the bar when the
// user logs on.

#include <string>
#include <string_view>

namespace dialogra {

inline constexpr const char* kAutoStartName = "Italian";

// Writes the value with the program's full path when `mark` is 1, deletes it
// when `mark` is 0, and leaves it alone for any other `mark`. Silent.
void SetAutoStart();

// The program's full path as the value holds it: the folder, one "\", the
// program's name and ".exe".
std::string AutoStartPath(std::string_view folder, std::string_view exeName);

}  // namespace dialogra

#pragma once

// Starting the word trainer when the user logs on.

#include <string>
#include <string_view>

namespace vocabra {

// The name of the word trainer's start-at-logon entry.
inline constexpr std::string_view kAutoStartName = "Rezitavo";

// The program's full path as the entry holds it: the folder, a "\" unless
// the folder ends with one, the program's name and ".exe".
std::string AutoStartPath(std::string_view folder, std::string_view program);

// Adds (on) or removes (off) the start-at-logon entry `name` for this
// program's full path. Failures are silent.
void SetAutoStart(std::string_view name, bool on);

// Updates the word trainer's entry by "markword": 1 adds it, 0 removes it,
// any other value changes nothing.
void SetAutoStart();

}  // namespace vocabra

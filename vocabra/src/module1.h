#pragma once

// Starting the word trainer when the user logs on.

#include <string_view>

namespace vocabra {

// The name of the word trainer's start-at-logon entry.
inline constexpr std::string_view kAutoStartName = "Rezitavo";

// Adds (on) or removes (off) the start-at-logon entry `name` for this
// program's full path. Failures are silent.
void SetAutoStart(std::string_view name, bool on);

// Updates the word trainer's entry by "markword": 1 adds it, 0 removes it,
// any other value changes nothing.
void SetAutoStart();

}  // namespace vocabra

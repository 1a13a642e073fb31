#pragma once

// Start at logon for both trainers: a value of the current user's Run key,
// named after the program's entry, that holds the program's full path.

#include <cstdint>
#include <string>
#include <string_view>

namespace dialogra {

// Writes the value `name` with `path` when `mark` is 1, deletes it when
// `mark` is 0, and changes nothing for any other `mark`. A failing registry
// call is silent, and the value is never read back.
void SetRunEntry(std::string_view name, std::int16_t mark, const std::string& path);

// A program's full path as the value holds it: the folder, one "\", the
// program's name and ".exe".
std::string ProgramExePath(std::string_view folder, std::string_view exeName);

}  // namespace dialogra

#pragma once

#include <filesystem>
#include <string_view>

namespace shell {

// The folder that holds the running program, its sibling programs and the
// data files beside them. TAVRINEL_PROGRAM_DIR overrides it (tests).
std::filesystem::path ProgramFolder();

// The suite's "system folder": it holds msagent/chars with the character
// files. TAVRINEL_SYSTEM_DIR overrides it; otherwise it is the folder
// "system" of the program folder.
std::filesystem::path SystemFolder();

// The system folder as the platform call reports it: written into buffer
// with a terminating zero when it fits. Returns the length of the path, or
// the size needed (with the zero) when the buffer is too small, 0 on failure.
unsigned GetWindowsDirectoryA(char* buffer, unsigned size);

// Accepts both "\" and "/" as separators, as the suite builds its paths with
// "\"; drive letters such as "C:" are dropped. A folder whose own name holds
// a "\" keeps it.
std::filesystem::path NativePath(std::string_view path);

}  // namespace shell

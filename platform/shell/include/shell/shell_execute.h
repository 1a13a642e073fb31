#pragma once

// Opening a file, program or address the way the desktop's shell does.

#include <cstdint>
#include <functional>
#include <string>

#include "win/types.h"

namespace shell {

// Show commands; the desktop decides how a started program shows itself.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;

// Results below 33 are failures.
inline constexpr std::intptr_t SE_ERR_OUT_OF_RESOURCES = 0;
inline constexpr std::intptr_t SE_ERR_FNF = 2;           // the file does not exist
inline constexpr std::intptr_t SE_ERR_PNF = 3;           // its folder does not exist
inline constexpr std::intptr_t SE_ERR_ACCESSDENIED = 5;  // not a program, or it cannot start
inline constexpr std::intptr_t SE_ERR_OOM = 8;
inline constexpr std::intptr_t SE_ERR_NOASSOC = 31;  // no handler for it (or an unknown verb)
inline constexpr std::intptr_t kShellExecuteOk = 42;

// Opens `file` with `verb` ("open" in any case, or none):
// - a program of the suite ("Reader.exe": program files carry no ".exe") or
//   any executable file is started detached in its own folder, with
//   `parameters` split like a command line, and outlives its starter;
// - "http://", "https://" and "mailto:" addresses go to the desktop's handler;
// - "name.hlp" opens the HTML help "name.html" beside it;
// - any other existing file goes to the desktop's handler for its type.
// A relative file is taken from `folder` when one is given. The desktop's
// handler is the first "xdg-open" on PATH. Never blocks on the started
// program. Returns a value above 32 on success, an SE_ERR_* number otherwise.
std::intptr_t ShellExecuteA(win::HWND owner, const char* verb, const char* file,
                            const char* parameters, const char* folder, int show);

// Told, once, what could not be opened and why, in words for the user.
using OpenFailure = std::function<void(const std::string& message)>;

// As above, and a failure is told to `failed`: one the call finds at once
// (no file, no handler), and one of the desktop's handler, which is watched
// from the event loop until it ends (no browser or mail program behind it).
// A handler that goes on running has handed the file on: that is success.
std::intptr_t ShellExecuteA(win::HWND owner, const char* verb, const char* file,
                            const char* parameters, const char* folder, int show,
                            OpenFailure failed);

}  // namespace shell

#pragma once

// The library's open-file dialog: one call that asks for a file and either
// returns its path or raises the runtime error of a cancelled dialog.

#include <string>
#include <string_view>

#include "win/types.h"

namespace ornatek {

// The error a cancelled or failed dialog raises, and its description.
inline constexpr int kCancelPressed = 32755;
inline constexpr const char* kCancelPressedText = "Cancel was pressed";

// `filter` lists name|pattern pairs ("*.*|*.*"); `initialFile` and
// `defaultExtension` may be empty. Returns the chosen path without
// surrounding blanks; throws forms::RuntimeError(kCancelPressed) when the
// dialog is cancelled or fails.
std::string ShowOpenDialog(win::HWND owner, std::string_view filter, std::string_view initialFile,
                           std::string_view defaultExtension, std::string_view title);

}  // namespace ornatek

#pragma once

// Pictures of windows and of the screen, written as PNG files.

#include <string>

#include "win/types.h"

namespace win {

// Writes what the window shows (its children included) to a PNG file.
bool SaveWindowPng(HWND hwnd, const std::string& path);
// Writes the whole screen, as the screen device context reads it, to a PNG
// file: what lies outside one window (an open menu, a character) included.
bool SaveScreenPng(const std::string& path);

}  // namespace win

#pragma once

// Windows as objects: creating and destroying them, their family, finding
// them, their text and their named properties.

#include <string>

#include "win/types.h"

namespace win {

HWND CreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                     int x, int y, int width, int height, HWND parent, HMENU menuOrId,
                     HINSTANCE instance, void* param);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
BOOL IsChild(HWND parent, HWND hwnd);
HWND GetParent(HWND hwnd);
HWND GetAncestor(HWND hwnd, UINT flags);
inline constexpr UINT GA_PARENT = 1;
inline constexpr UINT GA_ROOT = 2;
inline constexpr UINT GA_ROOTOWNER = 3;
HWND GetDesktopWindow();
HWND FindWindowExA(HWND parent, HWND childAfter, const char* className, const char* windowName);

BOOL SetWindowTextA(HWND hwnd, const char* text);
std::string GetWindowText(HWND hwnd);

// Named properties; names compare without regard to case.
BOOL SetPropA(HWND hwnd, const char* name, std::uintptr_t data);
std::uintptr_t GetPropA(HWND hwnd, const char* name);
std::uintptr_t RemovePropA(HWND hwnd, const char* name);

}  // namespace win

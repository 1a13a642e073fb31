#pragma once

// Structures that messages carry by pointer: creation, position changes,
// frame size and size limits.

#include "win/types.h"

namespace win {

struct CREATESTRUCTA {
  void* lpCreateParams = nullptr;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy = 0;
  int cx = 0;
  int y = 0;
  int x = 0;
  LONG style = 0;
  const char* lpszName = nullptr;
  const char* lpszClass = nullptr;
  DWORD dwExStyle = 0;
};

struct WINDOWPOS {
  HWND hwnd;
  HWND hwndInsertAfter;
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
  UINT flags = 0;
};

struct NCCALCSIZE_PARAMS {
  RECT rgrc[3];
  WINDOWPOS* lppos = nullptr;
};

struct MINMAXINFO {
  POINT ptReserved;
  POINT ptMaxSize;
  POINT ptMaxPosition;
  POINT ptMinTrackSize;
  POINT ptMaxTrackSize;
};

}  // namespace win

#pragma once

// The window system's own record of every menu. Only the window system's
// sources include this.

#include <string>
#include <vector>

#include "win/menu.h"

namespace win::detail {

struct MenuItem {
  UINT type = MFT_STRING;
  UINT state = 0;
  UINT id = 0;
  HMENU sub;
  HBITMAP checked;
  HBITMAP unchecked;
  HBITMAP bitmap;
  ULONG_PTR data = 0;
  std::string text;
  RECT rect;  // in the coordinates of the window that shows the menu
};

struct Menu {
  HMENU handle;
  bool bar = false;
  std::vector<MenuItem> items;
  HWND shownIn;  // the window that shows it now: its popup window, or the bar's window
  // A bar only: laid out again (owner-drawn items measured again) when an
  // item changed; its height with the line beneath; the item under the pointer.
  bool needsLayout = true;
  int barHeight = 0;
  int hot = -1;
};

Menu* FindMenu(HMENU menu);
// The item at a position (byPosition) or with a command id, searched through
// submenus as the platform does; `owner` receives the menu that holds it.
MenuItem* FindItem(HMENU menu, UINT item, bool byPosition, Menu** owner = nullptr);

}  // namespace win::detail

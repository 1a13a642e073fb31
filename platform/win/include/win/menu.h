#pragma once

// Menus of the window system: menu bars and popup menus, their items, and
// the structures and messages that owner-drawn menus use.

#include <cstddef>
#include <string>
#include <vector>

#include "win/gdi_types.h"
#include "win/window.h"

namespace win {

using ULONG_PTR = std::uintptr_t;

// --- item types and states ------------------------------------------------------
inline constexpr UINT MF_INSERT = 0x0000;
inline constexpr UINT MF_CHANGE = 0x0080;
inline constexpr UINT MF_APPEND = 0x0100;
inline constexpr UINT MF_DELETE = 0x0200;
inline constexpr UINT MF_REMOVE = 0x1000;
inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_BYPOSITION = 0x0400;
inline constexpr UINT MF_SEPARATOR = 0x0800;
inline constexpr UINT MF_ENABLED = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_UNCHECKED = 0x0000;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_BITMAP = 0x0004;
inline constexpr UINT MF_OWNERDRAW = 0x0100;
inline constexpr UINT MF_POPUP = 0x0010;
inline constexpr UINT MF_MENUBARBREAK = 0x0020;
inline constexpr UINT MF_MENUBREAK = 0x0040;
inline constexpr UINT MF_UNHILITE = 0x0000;
inline constexpr UINT MF_HILITE = 0x0080;
inline constexpr UINT MF_DEFAULT = 0x1000;
inline constexpr UINT MF_RIGHTJUSTIFY = 0x4000;
inline constexpr UINT MF_MOUSESELECT = 0x8000;

inline constexpr UINT MFT_STRING = MF_STRING;
inline constexpr UINT MFT_BITMAP = MF_BITMAP;
inline constexpr UINT MFT_MENUBARBREAK = MF_MENUBARBREAK;
inline constexpr UINT MFT_MENUBREAK = MF_MENUBREAK;
inline constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
inline constexpr UINT MFT_RADIOCHECK = 0x0200;
inline constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
inline constexpr UINT MFT_RIGHTORDER = 0x2000;
inline constexpr UINT MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY;

inline constexpr UINT MFS_GRAYED = 0x0003;
inline constexpr UINT MFS_DISABLED = MFS_GRAYED;
inline constexpr UINT MFS_CHECKED = MF_CHECKED;
inline constexpr UINT MFS_HILITE = MF_HILITE;
inline constexpr UINT MFS_ENABLED = MF_ENABLED;
inline constexpr UINT MFS_UNCHECKED = MF_UNCHECKED;
inline constexpr UINT MFS_UNHILITE = MF_UNHILITE;
inline constexpr UINT MFS_DEFAULT = MF_DEFAULT;

inline constexpr UINT MIIM_STATE = 0x0001;
inline constexpr UINT MIIM_ID = 0x0002;
inline constexpr UINT MIIM_SUBMENU = 0x0004;
inline constexpr UINT MIIM_CHECKMARKS = 0x0008;
inline constexpr UINT MIIM_TYPE = 0x0010;
inline constexpr UINT MIIM_DATA = 0x0020;
inline constexpr UINT MIIM_STRING = 0x0040;
inline constexpr UINT MIIM_BITMAP = 0x0080;
inline constexpr UINT MIIM_FTYPE = 0x0100;

// --- TrackPopupMenu flags --------------------------------------------------------
inline constexpr UINT TPM_LEFTBUTTON = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_CENTERALIGN = 0x0004;
inline constexpr UINT TPM_RIGHTALIGN = 0x0008;
inline constexpr UINT TPM_TOPALIGN = 0x0000;
inline constexpr UINT TPM_VCENTERALIGN = 0x0010;
inline constexpr UINT TPM_BOTTOMALIGN = 0x0020;
inline constexpr UINT TPM_NONOTIFY = 0x0080;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

// --- owner-draw ---------------------------------------------------------------------
inline constexpr UINT ODT_MENU = 1;
inline constexpr UINT ODA_DRAWENTIRE = 0x0001;
inline constexpr UINT ODA_SELECT = 0x0002;
inline constexpr UINT ODA_FOCUS = 0x0004;
inline constexpr UINT ODS_SELECTED = 0x0001;
inline constexpr UINT ODS_GRAYED = 0x0002;
inline constexpr UINT ODS_DISABLED = 0x0004;
inline constexpr UINT ODS_CHECKED = 0x0008;
inline constexpr UINT ODS_FOCUS = 0x0010;
inline constexpr UINT ODS_DEFAULT = 0x0020;
inline constexpr UINT ODS_HOTLIGHT = 0x0040;
inline constexpr UINT ODS_INACTIVE = 0x0080;
inline constexpr UINT ODS_NOACCEL = 0x0100;

// WM_MENUCHAR answers (high word) and WM_ENTERIDLE sources.
inline constexpr LRESULT MNC_IGNORE = 0;
inline constexpr LRESULT MNC_CLOSE = 1;
inline constexpr LRESULT MNC_EXECUTE = 2;
inline constexpr LRESULT MNC_SELECT = 3;
inline constexpr WPARAM MSGF_MENU = 2;

// WM_PRINT flags.
inline constexpr LPARAM PRF_CHECKVISIBLE = 0x0001;
inline constexpr LPARAM PRF_NONCLIENT = 0x0002;
inline constexpr LPARAM PRF_CLIENT = 0x0004;
inline constexpr LPARAM PRF_ERASEBKGND = 0x0008;
inline constexpr LPARAM PRF_CHILDREN = 0x0010;
inline constexpr LPARAM PRF_OWNED = 0x0020;

// Window commands of the window menu.
inline constexpr UINT SC_SIZE = 0xF000;
inline constexpr UINT SC_MOVE = 0xF010;
inline constexpr UINT SC_MINIMIZE = 0xF020;
inline constexpr UINT SC_MAXIMIZE = 0xF030;
inline constexpr UINT SC_NEXTWINDOW = 0xF040;
inline constexpr UINT SC_PREVWINDOW = 0xF050;
inline constexpr UINT SC_CLOSE = 0xF060;
inline constexpr UINT SC_RESTORE = 0xF120;

// The class name of popup-menu windows.
inline constexpr const char* POPUPMENU_CLASS = "#32768";

// --- structures -------------------------------------------------------------------
// An item's description. The platform's two record sizes are both accepted:
// the short one ends before `hbmpItem`; the full one includes it. Callers
// that write the platform's byte counts (44 and 48) are understood as well.
struct MENUITEMINFOA {
  UINT cbSize = sizeof(MENUITEMINFOA);
  UINT fMask = 0;
  UINT fType = 0;
  UINT fState = 0;
  UINT wID = 0;
  HMENU hSubMenu;
  HBITMAP hbmpChecked;
  HBITMAP hbmpUnchecked;
  ULONG_PTR dwItemData = 0;
  char* dwTypeData = nullptr;
  UINT cch = 0;
  HBITMAP hbmpItem;
};
inline constexpr UINT MENUITEMINFO_SHORT_SIZE = offsetof(MENUITEMINFOA, hbmpItem);
inline constexpr UINT MENUITEMINFO_PLATFORM_SHORT = 44;
inline constexpr UINT MENUITEMINFO_PLATFORM_FULL = 48;

struct MEASUREITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemWidth = 0;
  UINT itemHeight = 0;
  ULONG_PTR itemData = 0;
};

struct DRAWITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemAction = 0;
  UINT itemState = 0;
  HWND hwndItem;  // for menus: the menu handle's value
  HDC hDC;
  RECT rcItem;
  ULONG_PTR itemData = 0;
};

// --- menus ---------------------------------------------------------------------------
HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
HMENU GetMenu(HWND hwnd);
BOOL SetMenu(HWND hwnd, HMENU menu);
BOOL DrawMenuBar(HWND hwnd);
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info);
BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
// `newItem` is a command id, or a submenu's handle value with MF_POPUP.
BOOL AppendMenuA(HMENU menu, UINT flags, ULONG_PTR newItem, const char* text);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
// Returns the previous state (MF_ENABLED/MF_GRAYED/MF_DISABLED), -1 when no such item.
int EnableMenuItem(HMENU menu, UINT item, UINT flags);
// Returns the previous check state, -1 when no such item.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
int GetMenuStringA(HMENU menu, UINT item, char* buffer, int size, UINT flags);
HMENU GetSystemMenu(HWND hwnd, BOOL revert);
// The item's rectangle in screen coordinates, while its menu is on screen
// (a menu bar, or an open popup).
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, RECT* rect);

// Shows a popup menu and tracks it until a command is chosen or the menu is
// dismissed. With TPM_RETURNCMD the chosen command id is returned (0 for
// none); otherwise the owner gets WM_COMMAND and the result is TRUE.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* ignored);
// Closes the menu that is being tracked, as Esc on every level would.
BOOL EndMenu();

// The access key of a menu item text with "&" markers ("&&" is a plain "&"),
// in lower case; 0 when it has none.
char MenuAccessKey(const std::string& text);
// A text with "&" markers as the user reads it: a marker before a character
// goes, "&&" is one "&".
std::string TextWithoutMarkers(const std::string& text);

// What the character `ch` typed in an open menu does, given the texts of its
// items in order ("" for an item whose text the menu does not know) and the
// position of the selected item (-1 for none), as a WM_MENUCHAR answer: the
// only item with that access key is chosen (MNC_EXECUTE); of several, the
// next one after the selected item, round the end, is selected (MNC_SELECT),
// so that each press moves on and none runs; with no item, MNC_IGNORE.
LRESULT MenuAccessKeyAnswer(const std::vector<std::string>& texts, int selected, unsigned ch);

}  // namespace win

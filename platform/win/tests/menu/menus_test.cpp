// Menu handles and items: building menus, reading and changing items by
// position and by command, stale handles.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "win/win.h"

using namespace win;

namespace {

std::string ItemText(HMENU m, UINT item, BOOL byPos) {
  char buf[256] = {};
  MENUITEMINFOA mii;
  mii.fMask = MIIM_STRING;
  mii.dwTypeData = buf;
  mii.cch = sizeof buf;
  if (!GetMenuItemInfoA(m, item, byPos, &mii)) return "<fail>";
  return std::string(buf, mii.cch);
}

}  // namespace

TEST(MenuHandles, BuildReadAndDestroy) {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  ASSERT_TRUE(IsMenu(bar));
  ASSERT_TRUE(AppendMenuA(file, MF_STRING, 101, "&Open\tCtrl+O"));
  ASSERT_TRUE(AppendMenuA(file, MF_SEPARATOR, 0, nullptr));
  ASSERT_TRUE(AppendMenuA(file, MF_STRING | MF_GRAYED, 102, "E&xit"));
  ASSERT_TRUE(AppendMenuA(bar, MF_POPUP, file.value, "&File"));
  EXPECT_EQ(GetMenuItemCount(bar), 1);
  EXPECT_EQ(GetMenuItemCount(file), 3);
  EXPECT_EQ(GetSubMenu(bar, 0), file);
  EXPECT_EQ(GetSubMenu(file, 0), HMENU());
  EXPECT_EQ(GetMenuItemID(file, 0), 101u);
  EXPECT_EQ(GetMenuItemID(bar, 0), 0xFFFFFFFFu) << "a submenu item has no command";
  EXPECT_EQ(ItemText(file, 0, TRUE), "&Open\tCtrl+O");
  // By command the search goes into submenus.
  EXPECT_EQ(ItemText(bar, 102, FALSE), "E&xit");
  EXPECT_EQ(GetMenuState(bar, 102, MF_BYCOMMAND), MF_GRAYED);
  EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION), MF_SEPARATOR);
  EXPECT_EQ(GetMenuState(bar, 0, MF_BYPOSITION), (3u << 8) | MF_POPUP);

  ASSERT_TRUE(DestroyMenu(bar));
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_FALSE(IsMenu(file)) << "submenus end with their menu";
  // Stale handles fail the way the platform's do.
  EXPECT_EQ(GetMenuItemCount(file), -1);
  EXPECT_EQ(GetMenuState(file, 0, MF_BYPOSITION), 0xFFFFFFFFu);
  EXPECT_FALSE(AppendMenuA(file, MF_STRING, 1, "x"));
  EXPECT_FALSE(DestroyMenu(file));
  EXPECT_EQ(ItemText(file, 0, TRUE), "<fail>");
  EXPECT_EQ(EnableMenuItem(file, 0, MF_BYPOSITION), -1);
  EXPECT_FALSE(AppendMenuA(CreatePopupMenu(), MF_POPUP, 0x12345, "bad submenu"));
}

TEST(MenuItemInfo, BothRecordSizesAndTheLibraryMasks) {
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_STRING, 7, "&Speak");
  AppendMenuA(m, MF_SEPARATOR, 0, nullptr);

  // The long form with the masks of the newer versions: read id, data, string, type.
  char buf[1024] = {};
  MENUITEMINFOA mii;
  mii.cbSize = MENUITEMINFO_PLATFORM_FULL;
  mii.fMask = 0x162;
  mii.dwTypeData = buf;
  mii.cch = 1024;
  ASSERT_TRUE(GetMenuItemInfoA(m, 0, TRUE, &mii));
  EXPECT_EQ(mii.wID, 7u);
  EXPECT_EQ(mii.fType, MFT_STRING);
  EXPECT_EQ(std::string(buf, mii.cch), "&Speak");

  // Convert: type owner-draw alone, data = 3, bitmap 0; the text stays.
  MENUITEMINFOA conv;
  conv.cbSize = MENUITEMINFO_PLATFORM_FULL;
  conv.fMask = 0x1A0;
  conv.fType = MFT_OWNERDRAW;
  conv.dwItemData = 3;
  ASSERT_TRUE(SetMenuItemInfoA(m, 0, TRUE, &conv));
  ASSERT_TRUE(SetMenuItemInfoA(m, 1, TRUE, &conv));
  EXPECT_EQ(GetMenuState(m, 7, MF_BYCOMMAND), MF_OWNERDRAW);
  EXPECT_EQ(GetMenuState(m, 1, MF_BYPOSITION), MF_OWNERDRAW) << "the separator flag is dropped";
  EXPECT_EQ(ItemText(m, 7, FALSE), "&Speak");

  // Restore by command with the short form and MIIM_TYPE.
  MENUITEMINFOA back;
  back.cbSize = MENUITEMINFO_PLATFORM_SHORT;
  back.fMask = MIIM_TYPE | MIIM_DATA;
  back.fType = MFT_STRING;
  char text[] = "&Talk";
  back.dwTypeData = text;
  ASSERT_TRUE(SetMenuItemInfoA(m, 7, FALSE, &back));
  MENUITEMINFOA read;
  read.cbSize = MENUITEMINFO_SHORT_SIZE;
  read.fMask = MIIM_TYPE | MIIM_DATA | MIIM_ID;
  char out[16] = {};
  read.dwTypeData = out;
  read.cch = 16;
  ASSERT_TRUE(GetMenuItemInfoA(m, 0, TRUE, &read));
  EXPECT_EQ(read.fType, MFT_STRING);
  EXPECT_EQ(read.dwItemData, 0u);
  EXPECT_STREQ(out, "&Talk");

  // A short buffer gets what fits; no buffer gets the length.
  char tiny[3] = {};
  read.fMask = MIIM_STRING;
  read.dwTypeData = tiny;
  read.cch = 3;
  ASSERT_TRUE(GetMenuItemInfoA(m, 0, TRUE, &read));
  EXPECT_STREQ(tiny, "&T");
  read.dwTypeData = nullptr;
  ASSERT_TRUE(GetMenuItemInfoA(m, 0, TRUE, &read));
  EXPECT_EQ(read.cch, 5u);

  // A record of no known size, or an item that is not there, fails.
  read.cbSize = 12;
  EXPECT_FALSE(GetMenuItemInfoA(m, 0, TRUE, &read));
  read.cbSize = sizeof(MENUITEMINFOA);
  EXPECT_FALSE(GetMenuItemInfoA(m, 9, TRUE, &read));
  EXPECT_FALSE(GetMenuItemInfoA(m, 999, FALSE, &read));
  DestroyMenu(m);
}

TEST(MenuItemInfo, StateSubmenuCheckmarksAndInsert) {
  HMENU m = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  MENUITEMINFOA mii;
  mii.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_BITMAP;
  mii.wID = 5;
  char t[] = "More";
  mii.dwTypeData = t;
  mii.fState = MFS_CHECKED | MFS_DEFAULT;
  mii.hSubMenu = sub;
  mii.hbmpChecked = HBITMAP(std::uintptr_t{0x99});
  mii.hbmpItem = HBITMAP(std::uintptr_t{0x77});
  ASSERT_TRUE(InsertMenuItemA(m, 0, TRUE, &mii));
  AppendMenuA(m, MF_STRING, 9, "Last");
  mii.wID = 8;
  mii.fMask = MIIM_ID | MIIM_STRING;
  char f[] = "First";
  mii.dwTypeData = f;
  ASSERT_TRUE(InsertMenuItemA(m, 0, TRUE, &mii));
  EXPECT_EQ(ItemText(m, 0, TRUE), "First");

  MENUITEMINFOA r;
  r.fMask = MIIM_STATE | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_BITMAP;
  ASSERT_TRUE(GetMenuItemInfoA(m, 1, TRUE, &r));
  EXPECT_EQ(r.fState, MFS_CHECKED | MFS_DEFAULT);
  EXPECT_EQ(r.hSubMenu, sub);
  EXPECT_EQ(r.hbmpChecked.value, 0x99u);
  EXPECT_EQ(r.hbmpItem.value, 0x77u);

  EXPECT_EQ(CheckMenuItem(m, 9, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(CheckMenuItem(m, 9, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
  EXPECT_EQ(EnableMenuItem(m, 9, MF_BYCOMMAND | MF_GRAYED), static_cast<int>(MF_ENABLED));
  EXPECT_EQ(GetMenuState(m, 9, MF_BYCOMMAND), MF_GRAYED);
  EXPECT_EQ(EnableMenuItem(m, 2, MF_BYPOSITION | MF_ENABLED), static_cast<int>(MF_GRAYED));

  ASSERT_TRUE(RemoveMenu(m, 1, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(sub)) << "RemoveMenu keeps the submenu";
  EXPECT_EQ(GetMenuItemCount(m), 2);
  DestroyMenu(m);
  DestroyMenu(sub);
}

TEST(MenuHandles, WindowMenusSystemMenuAndVersion) {
  WNDCLASSEXA wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "MenuHolder";
  RegisterClassExA(&wc);
  HWND h = CreateWindowExA(0, "MenuHolder", "m", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, HWND(),
                           HMENU(), HINSTANCE(), nullptr);
  ASSERT_TRUE(h);
  EXPECT_EQ(GetMenu(h), HMENU());
  HMENU bar = CreateMenu();
  ASSERT_TRUE(SetMenu(h, bar));
  EXPECT_EQ(GetMenu(h), bar);
  EXPECT_FALSE(SetMenu(h, HMENU(std::uintptr_t{0x4242})));
  RECT r;
  AppendMenuA(bar, MF_STRING, 1, "&File");
  EXPECT_TRUE(GetMenuItemRect(h, bar, 0, &r)) << "a bar item has its place above the client area";
  DestroyMenu(bar);
  EXPECT_EQ(GetMenu(h), HMENU());

  HMENU sys = GetSystemMenu(h, FALSE);
  ASSERT_TRUE(IsMenu(sys));
  EXPECT_EQ(GetSystemMenu(h, FALSE), sys);
  EXPECT_NE(GetMenuState(sys, SC_CLOSE, MF_BYCOMMAND), 0xFFFFFFFFu);
  EXPECT_NE(GetMenuState(sys, SC_MOVE, MF_BYCOMMAND), 0xFFFFFFFFu);
  EXPECT_EQ(GetSystemMenu(h, TRUE), HMENU());
  EXPECT_FALSE(IsMenu(sys));
  EXPECT_EQ(GetSystemMenu(HWND(std::uintptr_t{0x999}), FALSE), HMENU());
  DestroyWindow(h);

  OSVERSIONINFOA v;
  ASSERT_TRUE(GetVersionExA(&v));
  EXPECT_GE(v.dwMajorVersion * 256 + v.dwMinorVersion, 0x40Au);
  v.dwOSVersionInfoSize = 4;
  EXPECT_FALSE(GetVersionExA(&v));

  NONCLIENTMETRICSA ncm;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0));
  EXPECT_LT(ncm.lfMenuFont.lfHeight, 0);
  EXPECT_GT(std::strlen(ncm.lfMenuFont.lfFaceName), 0u);
  LOGFONTA icon;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof icon, &icon, 0));
  ncm.cbSize = 8;
  EXPECT_FALSE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 8, &ncm, 0));
}

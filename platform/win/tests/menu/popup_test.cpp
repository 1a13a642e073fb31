// Popup menus on screen: the owner's messages and their order, owner-drawn
// items, the popup window a hook can change, and pointer and keys.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QWidget>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "gdi/layer_calls.h"
#include "win/qt_window.h"
#include "win/testing.h"
#include "win/win.h"

using namespace win;

namespace {

std::vector<std::string> g_log;
std::deque<std::function<void()>> g_script;  // one step per WM_ENTERIDLE
std::vector<MEASUREITEMSTRUCT> g_measured;
std::vector<DRAWITEMSTRUCT> g_drawn;
UINT g_command = 0;
HWND g_popup;

LRESULT OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_INITMENU:
      g_log.push_back("initmenu");
      break;
    case WM_INITMENUPOPUP:
      g_log.push_back("initmenupopup " + std::to_string(LOWORD(static_cast<std::uintptr_t>(l))));
      break;
    case WM_UNINITMENUPOPUP:
      g_log.push_back("uninitmenupopup");
      break;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
      g_log.push_back("measure " + std::to_string(mis->itemID));
      mis->itemWidth = 100;
      mis->itemHeight = 23;
      g_measured.push_back(*mis);
      return TRUE;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
      g_log.push_back("draw " + std::to_string(dis->itemID));
      g_drawn.push_back(*dis);
      HBRUSH b =
          CreateSolidBrush((dis->itemState & ODS_SELECTED) ? RGB(255, 0, 0) : RGB(0, 0, 255));
      FillRect(dis->hDC, &dis->rcItem, b);
      DeleteObject(b);
      return TRUE;
    }
    case WM_ENTERIDLE:
      g_popup = HWND(static_cast<std::uintptr_t>(l));
      if (!g_script.empty()) {
        auto step = std::move(g_script.front());
        g_script.pop_front();
        step();
      } else {
        EndMenu();  // a test never hangs on a forgotten step
      }
      return 0;
    case WM_COMMAND:
      g_command = LOWORD(w);
      g_log.push_back("command " + std::to_string(g_command));
      return 0;
    case WM_MENUCHAR:
      g_log.push_back("menuchar");
      return 0;
    default:
      break;
  }
  return DefWindowProcA(h, m, w, l);
}

HWND MakeOwner() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXA wc;
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = "PopupOwner";
    RegisterClassExA(&wc);
    registered = true;
  }
  HWND h = CreateWindowExA(0, "PopupOwner", "owner", WS_POPUP | WS_VISIBLE, 10, 10, 300, 200,
                           HWND(), HMENU(), HINSTANCE(), nullptr);
  return h;
}

void Reset() {
  g_log.clear();
  g_script.clear();
  g_measured.clear();
  g_drawn.clear();
  g_command = 0;
  g_popup = HWND();
}

void Key(HWND popup, int qtKey, const QString& text = {}) {
  QKeyEvent e(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
  QApplication::sendEvent(WindowWidget(popup), &e);
}

void Mouse(HWND popup, QEvent::Type type, POINT client, Qt::MouseButton b = Qt::LeftButton) {
  QWidget* wd = WindowWidget(popup);
  POINT g = client;
  ClientToScreen(popup, &g);
  QMouseEvent e(type, QPointF(client.x, client.y), QPointF(g.x, g.y),
                type == QEvent::MouseMove ? Qt::NoButton : b,
                type == QEvent::MouseButtonPress ? b : Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(wd, &e);
}

POINT Centre(HWND popup, HMENU m, int pos) {
  RECT r;
  GetMenuItemRect(popup, m, static_cast<UINT>(pos), &r);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ScreenToClient(popup, &p);
  return p;
}

int Count(const std::string& what) {
  return static_cast<int>(std::count(g_log.begin(), g_log.end(), what));
}

}  // namespace

TEST(PopupMenu, OwnerDrawnItemsAreMeasuredOnceThenDrawnOnThePopup) {
  Reset();
  HWND owner = MakeOwner();
  HMENU m = CreatePopupMenu();
  for (UINT id = 1; id <= 3; ++id)
    AppendMenuA(m, MF_OWNERDRAW, id, reinterpret_cast<const char*>(std::uintptr_t{40 + id}));
  EnableMenuItem(m, 2, MF_GRAYED);
  CheckMenuItem(m, 3, MF_CHECKED);
  HWND seen;
  g_script.push_back([&] {
    seen = g_popup;
    EXPECT_EQ(GetClassName(g_popup), "#32768");
    EXPECT_EQ(GetParent(g_popup), owner) << "owned by the calling window";
    Key(g_popup, Qt::Key_Down);
  });
  g_script.push_back([&] { Key(g_popup, Qt::Key_Return); });
  EXPECT_TRUE(TrackPopupMenu(m, TPM_LEFTALIGN | TPM_RIGHTBUTTON, 50, 60, 0, owner, nullptr));
  EXPECT_EQ(g_command, 1u);
  EXPECT_FALSE(IsWindow(seen)) << "the popup is gone when the call returns";

  ASSERT_EQ(g_measured.size(), 3u);
  EXPECT_EQ(g_measured[0].CtlType, ODT_MENU);
  EXPECT_EQ(g_measured[1].itemData, 42u);
  // Order: init, popup init, every measure before any draw, the command last.
  ASSERT_GE(g_log.size(), 8u);
  EXPECT_EQ(g_log[0], "initmenu");
  EXPECT_EQ(g_log[1], "initmenupopup 0");
  EXPECT_EQ(g_log[2], "measure 1");
  EXPECT_EQ(g_log[4], "measure 3");
  EXPECT_EQ(g_log[5], "draw 1");
  EXPECT_EQ(g_log.back(), "command 1");
  EXPECT_EQ(Count("uninitmenupopup"), 1);

  // The first paint draws each item once; selecting item 1 redraws it selected.
  ASSERT_GE(g_drawn.size(), 4u);
  EXPECT_EQ(g_drawn[0].itemAction, ODA_DRAWENTIRE);
  EXPECT_EQ(g_drawn[1].itemState & (ODS_GRAYED | ODS_SELECTED), ODS_GRAYED);
  EXPECT_EQ(g_drawn[2].itemState, ODS_CHECKED);
  EXPECT_EQ(g_drawn[2].itemData, 43u);
  EXPECT_EQ(g_drawn[0].hwndItem.value, m.value);
  EXPECT_EQ(g_drawn[1].rcItem.top, g_drawn[0].rcItem.bottom);
  EXPECT_EQ(g_drawn[0].rcItem.right - g_drawn[0].rcItem.left, 100);
  const DRAWITEMSTRUCT& sel = g_drawn[3];
  EXPECT_EQ(sel.itemID, 1u);
  EXPECT_EQ(sel.itemAction, ODA_SELECT);
  EXPECT_EQ(sel.itemState & ODS_SELECTED, ODS_SELECTED);
  DestroyMenu(m);
  DestroyWindow(owner);
}

namespace {

HHOOK g_hook;
WNDPROC g_oldPopupProc = nullptr;
std::vector<std::string> g_popupSeen;

LRESULT SubclassedPopup(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_PRINT) g_popupSeen.push_back("print " + std::to_string(l));
  if (m == WM_ERASEBKGND) {
    g_popupSeen.push_back("erase");
    RECT r;
    GetWindowRect(h, &r);
    OffsetRect(&r, -r.left, -r.top);
    HBRUSH b = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(HDC(w), &r, b);
    DeleteObject(b);
    return 0;
  }
  if (m == WM_WINDOWPOSCHANGING) {
    auto* wp = reinterpret_cast<WINDOWPOS*>(l);
    if (wp->cx) wp->cx += 1;
    if (wp->cy) wp->cy += 1;
  }
  return CallWindowProcA(g_oldPopupProc, h, m, w, l);
}

LRESULT CALLBACK_Hook(int code, WPARAM w, LPARAM l) {
  auto* cwp = reinterpret_cast<CWPSTRUCT*>(l);
  if (code == HC_ACTION && cwp->message == WM_CREATE && GetClassName(cwp->hwnd) == "#32768") {
    HWND p = cwp->hwnd;
    SetWindowLongPtrA(p, GWL_EXSTYLE, GetWindowLongPtrA(p, GWL_EXSTYLE) & ~LONG_PTR{0x101});
    SetWindowLongPtrA(p, GWL_STYLE, GetWindowLongPtrA(p, GWL_STYLE) & 0xFF7FFFFF);
    const LONG_PTR cs = GetClassLongPtrA(p, GCL_STYLE);
    if (cs & CS_DROPSHADOW) SetClassLongPtrA(p, GCL_STYLE, cs & ~LONG_PTR{CS_DROPSHADOW});
    SetWindowPos(p, HWND(), 0, 0, 0, 0, 0x37);
    g_oldPopupProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(p, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassedPopup)));
  }
  return CallNextHookEx(g_hook, code, w, l);
}

}  // namespace

TEST(PopupMenu, AHookStripsTheFrameGrowsThePopupAndPaintsItsBackground) {
  Reset();
  g_popupSeen.clear();
  HWND owner = MakeOwner();
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_OWNERDRAW, 1, nullptr);
  AppendMenuA(m, MF_OWNERDRAW, 2, nullptr);
  g_hook = SetWindowsHookExA(WH_CALLWNDPROC, CALLBACK_Hook, HINSTANCE(), GetCurrentThreadId());
  RECT win{};
  DWORD style = 0, ex = 0;
  LONG_PTR clsStyle = 0;
  g_script.push_back([&] {
    GetWindowRect(g_popup, &win);
    style = static_cast<DWORD>(GetWindowLongPtrA(g_popup, GWL_STYLE));
    ex = static_cast<DWORD>(GetWindowLongPtrA(g_popup, GWL_EXSTYLE));
    clsStyle = GetClassLongPtrA(g_popup, GCL_STYLE);
    std::string png = ::testing::TempDir() + "/popup.png";
    EXPECT_TRUE(SaveWindowPng(g_popup, png));
    HDC dc = GetDC(g_popup);
    // No frame: the items start at the window's corner, the background is the hook's.
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 106, 52), RGB(0, 255, 0)) << "the grown pixel is the window's";
    ReleaseDC(g_popup, dc);
    EndMenu();
  });
  TrackPopupMenu(m, TPM_RETURNCMD, 40, 40, 0, owner, nullptr);
  UnhookWindowsHookEx(g_hook);
  // The room of the stripped frame stays: the hook's flat frame and shadow go there.
  EXPECT_EQ(win.right - win.left, 107) << "100 wide items, 3 + 3 of frame, one pixel more";
  EXPECT_EQ(win.bottom - win.top, 53);
  EXPECT_EQ(style & WS_BORDER, 0u);
  EXPECT_EQ(ex & 0x101, 0u);
  EXPECT_EQ(clsStyle & CS_DROPSHADOW, 0);
  ASSERT_FALSE(g_popupSeen.empty());
  EXPECT_EQ(g_popupSeen[0], "print 8") << "the first picture asks for the background by WM_PRINT";
  EXPECT_NE(std::find(g_popupSeen.begin(), g_popupSeen.end(), "erase"), g_popupSeen.end());
  DestroyMenu(m);
  DestroyWindow(owner);
}

TEST(PopupMenu, DisabledItemsTakeNoCommandAndEscapeCloses) {
  Reset();
  HWND owner = MakeOwner();
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_STRING | MF_GRAYED, 11, "&Grey");
  AppendMenuA(m, MF_STRING, 12, "&Fine");
  g_script.push_back([&] { Mouse(g_popup, QEvent::MouseMove, Centre(g_popup, m, 0)); });
  g_script.push_back([&] { Mouse(g_popup, QEvent::MouseButtonPress, Centre(g_popup, m, 0)); });
  g_script.push_back([&] { Mouse(g_popup, QEvent::MouseButtonRelease, Centre(g_popup, m, 0)); });
  g_script.push_back([&] { Key(g_popup, Qt::Key_Return); });
  g_script.push_back([&] { Key(g_popup, Qt::Key_Escape); });
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 20, 20, 0, owner, nullptr), 0);
  EXPECT_TRUE(g_script.empty()) << "the menu stayed open until Esc";
  EXPECT_EQ(Count("command 11"), 0);

  // A right-button release chooses only with TPM_RIGHTBUTTON.
  Reset();
  g_script.push_back(
      [&] { Mouse(g_popup, QEvent::MouseButtonRelease, Centre(g_popup, m, 1), Qt::RightButton); });
  g_script.push_back([&] { EndMenu(); });
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 20, 20, 0, owner, nullptr), 0);
  Reset();
  g_script.push_back(
      [&] { Mouse(g_popup, QEvent::MouseButtonRelease, Centre(g_popup, m, 1), Qt::RightButton); });
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD | TPM_RIGHTBUTTON, 20, 20, 0, owner, nullptr), 12);
  EXPECT_EQ(Count("command 12"), 0) << "TPM_RETURNCMD sends no WM_COMMAND";
  DestroyMenu(m);
  DestroyWindow(owner);
}

TEST(PopupMenu, AccessKeysClickOutsideAndMenuChar) {
  Reset();
  HWND owner = MakeOwner();
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_STRING, 21, "&Repeat");
  AppendMenuA(m, MF_STRING, 22, "R&&D &Next");
  g_script.push_back([&] { Key(g_popup, Qt::Key_N, "n"); });
  TrackPopupMenu(m, 0, 20, 20, 0, owner, nullptr);
  EXPECT_EQ(g_command, 22u);

  // A letter no item has goes to the owner; a click outside closes.
  Reset();
  g_script.push_back([&] { Key(g_popup, Qt::Key_Z, "z"); });
  g_script.push_back([&] {
    QWidget* ow = WindowWidget(owner);
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(250, 150), ow->mapToGlobal(QPointF(250, 150)),
                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(ow, &e);
  });
  EXPECT_TRUE(TrackPopupMenu(m, 0, 20, 20, 0, owner, nullptr));
  EXPECT_EQ(Count("menuchar"), 1);
  EXPECT_EQ(g_command, 0u);
  EXPECT_TRUE(g_script.empty());
  DestroyMenu(m);
  DestroyWindow(owner);
}

TEST(PopupMenu, CascadesOpenTheirOwnPopupWindows) {
  Reset();
  HWND owner = MakeOwner();
  HMENU m = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 31, "&Slow");
  AppendMenuA(sub, MF_STRING, 32, "&Fast");
  AppendMenuA(m, MF_STRING, 30, "&Top");
  AppendMenuA(m, MF_POPUP, sub.value, "S&peed");
  HWND first, second;
  RECT r1{}, r2{};
  g_script.push_back([&] {
    first = g_popup;
    Mouse(g_popup, QEvent::MouseMove, Centre(g_popup, m, 1));
  });
  g_script.push_back([&] {
    second = g_popup;
    EXPECT_NE(first, second);
    EXPECT_EQ(GetClassName(second), "#32768");
    GetWindowRect(first, &r1);
    GetWindowRect(second, &r2);
    Key(g_popup, Qt::Key_Down);
  });
  g_script.push_back([&] { Key(g_popup, Qt::Key_Down); });
  g_script.push_back([&] { Key(g_popup, Qt::Key_Return); });
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 20, 20, 0, owner, nullptr), 32);
  EXPECT_GT(r2.left, r1.left) << "the cascade opens to the right";
  EXPECT_EQ(Count("initmenupopup 1"), 1) << "the position of the item that opened it";
  EXPECT_EQ(Count("uninitmenupopup"), 2);
  EXPECT_FALSE(IsWindow(second));

  // Left closes the cascade only; Esc then closes the menu.
  Reset();
  g_script.push_back([&] {
    Key(g_popup, Qt::Key_Down);
    Key(g_popup, Qt::Key_Down);
    Key(g_popup, Qt::Key_Right);
  });
  g_script.push_back([&] {
    second = g_popup;
    Key(g_popup, Qt::Key_Left);
  });
  g_script.push_back([&] {
    EXPECT_FALSE(IsWindow(second));
    Key(g_popup, Qt::Key_Escape);
  });
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 20, 20, 0, owner, nullptr), 0);
  EXPECT_TRUE(g_script.empty());
  DestroyMenu(m);
  DestroyWindow(owner);
}

TEST(PopupMenu, BadCallsFail) {
  Reset();
  HWND owner = MakeOwner();
  EXPECT_FALSE(TrackPopupMenu(HMENU(std::uintptr_t{0x5555}), 0, 0, 0, 0, owner, nullptr));
  HMENU bar = CreateMenu();
  EXPECT_FALSE(TrackPopupMenu(bar, 0, 0, 0, 0, owner, nullptr));
  HMENU m = CreatePopupMenu();
  EXPECT_FALSE(TrackPopupMenu(m, 0, 0, 0, 0, HWND(std::uintptr_t{0x999}), nullptr));
  EXPECT_FALSE(EndMenu());
  DestroyMenu(bar);
  DestroyMenu(m);
  DestroyWindow(owner);
}

namespace {

int g_colourChanges = 0;
int g_settingChanges = 0;
LRESULT ColourWatcher(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_SYSCOLORCHANGE) ++g_colourChanges;
  if (m == WM_SETTINGCHANGE) ++g_settingChanges;
  return DefWindowProcA(h, m, w, l);
}

COLORREF g_behind = CLR_INVALID;
LRESULT ScreenReadingPopup(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_ERASEBKGND && g_behind == CLR_INVALID) {
    // Read the screen where the popup goes, as the menu library's shadow does.
    RECT r;
    GetWindowRect(h, &r);
    HDC screen = GetDC(HWND());
    g_behind = GetPixel(screen, r.left + 2, r.top + 2);
    ReleaseDC(HWND(), screen);
  }
  return CallWindowProcA(g_oldPopupProc, h, m, w, l);
}

LRESULT ReadingHook(int code, WPARAM w, LPARAM l) {
  auto* cwp = reinterpret_cast<CWPSTRUCT*>(l);
  if (code == HC_ACTION && cwp->message == WM_CREATE && GetClassName(cwp->hwnd) == "#32768")
    g_oldPopupProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(cwp->hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&ScreenReadingPopup)));
  return CallNextHookEx(g_hook, code, w, l);
}

}  // namespace

TEST(SystemChanges, ColourChangesReachTopLevelWindowsAndScreenDrawingShows) {
  WNDCLASSEXA wc;
  wc.lpfnWndProc = ColourWatcher;
  wc.lpszClassName = "ColourWatcher";
  RegisterClassExA(&wc);
  HWND top = CreateWindowExA(0, "ColourWatcher", "t", WS_POPUP, 0, 0, 50, 50, HWND(), HMENU(),
                             HINSTANCE(), nullptr);
  HWND child = CreateWindowExA(0, "ColourWatcher", "c", WS_CHILD, 0, 0, 5, 5, top, HMENU(),
                               HINSTANCE(), nullptr);
  ASSERT_TRUE(child);
  g_colourChanges = 0;
  const int idx = COLOR_MENU;
  const COLORREF old = GetSysColor(COLOR_MENU);
  SetSysColors(1, &idx, &old);
  EXPECT_EQ(g_colourChanges, 1) << "the top-level window only";
  // A change of the desktop's colour scheme or fonts under the application.
  g_colourChanges = 0;
  QPalette pal = QApplication::palette();
  pal.setColor(QPalette::Window, QColor(10, 20, 30));
  QApplication::setPalette(pal);
  EXPECT_EQ(g_colourChanges, 1);
  EXPECT_GE(g_settingChanges, 1);
  g_settingChanges = 0;
  QFont font = QApplication::font();
  font.setPointSize(font.pointSize() + 1);
  QApplication::setFont(font);
  EXPECT_EQ(g_settingChanges, 1);
  DestroyWindow(top);

  // Drawing on the screen DC (or the desktop window's) shows in the overlay.
  HDC dc = GetWindowDC(GetDesktopWindow());
  ASSERT_TRUE(dc);
  SetPixel(dc, 5, 6, RGB(1, 2, 3));
  ReleaseDC(GetDesktopWindow(), dc);
  EXPECT_EQ(win::testing::ScreenOverlayPixel(5, 6), RGB(1, 2, 3));
  EXPECT_FALSE(win::testing::ScreenOverlayPixel(6, 6).has_value());
}

TEST(PopupMenu, ThePopupReadsTheScreenBehindItBeforeItShows) {
  Reset();
  HWND owner = MakeOwner();
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_OWNERDRAW, 1, nullptr);
  g_behind = CLR_INVALID;
  QCoreApplication::processEvents();  // a picture of the screen lasts one turn of the loop
  g_hook = SetWindowsHookExA(WH_CALLWNDPROC, ReadingHook, HINSTANCE(), GetCurrentThreadId());
  TrackPopupMenu(m, TPM_RETURNCMD, 60, 60, 0, owner, nullptr);
  UnhookWindowsHookEx(g_hook);
  EXPECT_EQ(g_behind, GetSysColor(COLOR_BTNFACE)) << "the owner's surface, not the popup's items";
  DestroyMenu(m);
  DestroyWindow(owner);
}

TEST(PopupMenu, AnOwnerDestroyedWhileTheMenuIsOpenEndsIt) {
  Reset();
  HWND owner = MakeOwner();
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_STRING, 1, "One");
  HWND popup;
  g_script.push_back([&] {
    popup = g_popup;
    DestroyWindow(owner);
  });
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 20, 20, 0, owner, nullptr), 0);
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_TRUE(IsMenu(m));
  DestroyMenu(m);
}

TEST(PopupMenu, PlainItemsShowCheckMarksAndHighlight) {
  Reset();
  HWND owner = MakeOwner();
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_STRING | MF_CHECKED, 1, "&Checked");
  AppendMenuA(m, MF_STRING, 2, "&Plain");
  int tickPixels = 0, plainPixels = 0;
  COLORREF selectedBack = CLR_INVALID, otherBack = CLR_INVALID;
  g_script.push_back([&] {
    Key(g_popup, Qt::Key_Down);  // selects the first item
  });
  g_script.push_back([&] {
    HDC dc = GetDC(g_popup);
    RECT r1, r2;
    GetMenuItemRect(g_popup, m, 0, &r1);
    GetMenuItemRect(g_popup, m, 1, &r2);
    POINT o{0, 0};
    ClientToScreen(g_popup, &o);
    OffsetRect(&r1, -o.x, -o.y);
    OffsetRect(&r2, -o.x, -o.y);
    // The check column: the first 20 pixels of each item.
    for (int y = r1.top; y < r1.bottom; ++y)
      for (int x = r1.left; x < r1.left + 20; ++x)
        tickPixels += GetPixel(dc, x, y) == GetSysColor(COLOR_HIGHLIGHTTEXT);
    for (int y = r2.top; y < r2.bottom; ++y)
      for (int x = r2.left; x < r2.left + 20; ++x)
        plainPixels += GetPixel(dc, x, y) != GetSysColor(COLOR_MENU);
    selectedBack = GetPixel(dc, r1.right - 2, r1.top + 1);
    otherBack = GetPixel(dc, r2.right - 2, r2.top + 1);
    ReleaseDC(g_popup, dc);
    EndMenu();
  });
  TrackPopupMenu(m, TPM_RETURNCMD, 20, 20, 0, owner, nullptr);
  EXPECT_GE(tickPixels, 15) << "a tick of seven columns, three pixels thick";
  EXPECT_EQ(plainPixels, 0);
  EXPECT_EQ(selectedBack, GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(otherBack, GetSysColor(COLOR_MENU));
  DestroyMenu(m);
  DestroyWindow(owner);
}

namespace {

int g_calcs = 0;
LRESULT Grower(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_WINDOWPOSCHANGING) {
    auto* wp = reinterpret_cast<WINDOWPOS*>(l);
    if (wp->cx) wp->cx += 1;
  }
  if (m == WM_NCCALCSIZE) ++g_calcs;
  return DefWindowProcA(h, m, w, l);
}

}  // namespace

TEST(SystemChanges, PlacingAWindowFollowsWhatWindowPosChangingSays) {
  WNDCLASSEXA wc;
  wc.lpfnWndProc = Grower;
  wc.lpszClassName = "Grower";
  RegisterClassExA(&wc);
  HWND h = CreateWindowExA(0, "Grower", "g", WS_POPUP, 0, 0, 10, 10, HWND(), HMENU(), HINSTANCE(),
                           nullptr);
  g_calcs = 0;
  ASSERT_TRUE(SetWindowPos(h, HWND(), 5, 5, 40, 30, SWP_NOZORDER));
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r.right - r.left, 41);
  ASSERT_TRUE(MoveWindow(h, 5, 5, 60, 30, TRUE));
  GetWindowRect(h, &r);
  EXPECT_EQ(r.right - r.left, 61);
  EXPECT_EQ(g_calcs, 2) << "each size change asks WM_NCCALCSIZE";
  SetWindowPos(h, HWND(), 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(g_calcs, 2);
  SetWindowPos(h, HWND(), 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_EQ(g_calcs, 3);
  GetWindowRect(h, &r);
  EXPECT_EQ(r.right - r.left, 61) << "no size given, none changed";
  DestroyWindow(h);
}

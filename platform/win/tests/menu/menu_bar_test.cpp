// Menu bars: the room a bar takes above the client area, its items' places,
// and the pointer and keys that open its popups.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "win/qt_window.h"
#include "win/testing.h"
#include "win/win.h"

using namespace win;

namespace {

std::vector<std::string> g_log;
std::deque<std::function<void()>> g_script;  // one step per WM_ENTERIDLE
std::vector<DRAWITEMSTRUCT> g_drawn;
int g_measures = 0;
int g_calcs = 0;
int g_sizeHeight = -1;
HWND g_idle;
HMENU g_shadowBar;  // bar whose open item gets a shadow drawn on the screen

// As the menu library does: after a change of selection, a shadow right of
// the open bar item, painted on the screen.
void DrawBarShadow(HWND host) {
  for (int pos = 0; pos < GetMenuItemCount(g_shadowBar); ++pos) {
    if (!(GetMenuState(g_shadowBar, static_cast<UINT>(pos), MF_BYPOSITION) & MF_HILITE)) continue;
    RECT r;
    GetMenuItemRect(host, g_shadowBar, static_cast<UINT>(pos), &r);
    HDC screen = GetWindowDC(GetDesktopWindow());
    for (int c = 0; c < 3; ++c)
      for (int k = 3; k < r.bottom - r.top; ++k)
        SetPixel(screen, r.right + c, r.top + k, RGB(1, 2, 3));
    ReleaseDC(GetDesktopWindow(), screen);
  }
}

LRESULT HostProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_NCCALCSIZE:
      ++g_calcs;
      break;
    case WM_SIZE:
      g_sizeHeight = HIWORD(static_cast<std::uintptr_t>(l));
      break;
    case WM_INITMENUPOPUP:
      g_log.push_back("initmenupopup " + std::to_string(LOWORD(static_cast<std::uintptr_t>(l))));
      break;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
      ++g_measures;
      mis->itemWidth = 70;
      mis->itemHeight = 26;
      return TRUE;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
      g_drawn.push_back(*dis);
      if (g_shadowBar && dis->itemAction == ODA_SELECT) DrawBarShadow(h);
      HBRUSH b = CreateSolidBrush((dis->itemState & ODS_SELECTED)   ? RGB(255, 0, 0)
                                  : (dis->itemState & ODS_HOTLIGHT) ? RGB(0, 255, 0)
                                                                    : RGB(0, 0, 255));
      FillRect(dis->hDC, &dis->rcItem, b);
      DeleteObject(b);
      return TRUE;
    }
    case WM_ENTERIDLE:
      g_idle = HWND(static_cast<std::uintptr_t>(l));
      if (!g_script.empty()) {
        auto step = std::move(g_script.front());
        g_script.pop_front();
        step();
      } else {
        EndMenu();  // a test never hangs on a forgotten step
      }
      return 0;
    case WM_COMMAND:
      g_log.push_back("command " + std::to_string(LOWORD(w)));
      return 0;
    default:
      break;
  }
  return DefWindowProcA(h, m, w, l);
}

void Reset() {
  g_log.clear();
  g_script.clear();
  g_drawn.clear();
  g_measures = g_calcs = 0;
  g_sizeHeight = -1;
  g_idle = HWND();
}

HWND MakeHost() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXA wc;
    wc.lpfnWndProc = HostProc;
    wc.lpszClassName = "BarHost";
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    RegisterClassExA(&wc);
    registered = true;
  }
  return CreateWindowExA(0, "BarHost", "host", WS_POPUP | WS_VISIBLE, 20, 20, 360, 200, HWND(),
                         HMENU(), HINSTANCE(), nullptr);
}

// File (New 11, Open 12), Edit (Copy 21, Paste 22), and Help, a command (30).
struct Bar {
  HMENU bar, file, edit;
};

Bar MakeBar() {
  Bar b{CreateMenu(), CreatePopupMenu(), CreatePopupMenu()};
  AppendMenuA(b.file, MF_STRING, 11, "&New");
  AppendMenuA(b.file, MF_STRING, 12, "&Open");
  AppendMenuA(b.edit, MF_STRING, 21, "&Copy");
  AppendMenuA(b.edit, MF_STRING, 22, "&Paste");
  AppendMenuA(b.bar, MF_POPUP, b.file.value, "&File");
  AppendMenuA(b.bar, MF_POPUP, b.edit.value, "&Edit");
  AppendMenuA(b.bar, MF_STRING, 30, "&Help");
  return b;
}

RECT ItemRect(HWND h, HMENU bar, int pos) {
  RECT r{};
  GetMenuItemRect(h, bar, static_cast<UINT>(pos), &r);
  return r;
}

// A pointer event at a screen point, given to the host's widget.
void Mouse(HWND host, QEvent::Type type, POINT screen) {
  QWidget* wd = WindowWidget(host);
  const QPointF global(screen.x, screen.y);
  const QPointF local = wd->mapFromGlobal(global);
  const Qt::MouseButton b = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, local, global, b, type == QEvent::MouseButtonPress ? b : Qt::NoButton,
                Qt::NoModifier);
  QApplication::sendEvent(wd, &e);
}

POINT Centre(const RECT& r) {
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void Key(HWND host, int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier, bool release = false,
         const QString& text = {}) {
  QKeyEvent e(release ? QEvent::KeyRelease : QEvent::KeyPress, qtKey, mods, text);
  QApplication::sendEvent(WindowWidget(host), &e);
}

bool Hilited(HMENU bar, int pos) {
  return GetMenuState(bar, static_cast<UINT>(pos), MF_BYPOSITION) & MF_HILITE;
}

std::string ClassOf(HWND h) {
  char buf[64] = {};
  GetClassNameA(h, buf, sizeof buf);
  return buf;
}

COLORREF WindowPixel(HWND h, int x, int y) {
  HDC dc = GetWindowDC(h);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(h, dc);
  return c;
}

}  // namespace

TEST(MenuBar, TakesTheTopOfTheWindowAndTheClientAreaMovesDown) {
  Reset();
  HWND host = MakeHost();
  HWND child = CreateWindowExA(0, "BarHost", "child", WS_CHILD | WS_VISIBLE, 10, 15, 50, 40, host,
                               HMENU(), HINSTANCE(), nullptr);
  RECT win, client;
  GetWindowRect(host, &win);
  GetClientRect(host, &client);
  EXPECT_EQ(client.bottom, 200) << "without a bar the client area is the whole window";
  Bar b = MakeBar();
  g_calcs = 0;
  ASSERT_TRUE(SetMenu(host, b.bar));
  EXPECT_GE(g_calcs, 1) << "the window hears WM_NCCALCSIZE when it gets a bar";

  const RECT file = ItemRect(host, b.bar, 0), edit = ItemRect(host, b.bar, 1),
             help = ItemRect(host, b.bar, 2);
  EXPECT_EQ(file.left, win.left);
  EXPECT_EQ(file.top, win.top);
  EXPECT_EQ(edit.left, file.right) << "bar items side by side";
  EXPECT_EQ(help.left, edit.right);
  EXPECT_EQ(edit.top, file.top);
  EXPECT_GE(file.bottom - file.top, GetSystemMetrics(SM_CYMENU));
  EXPECT_GT(file.right - file.left, 20);

  GetClientRect(host, &client);
  const int bar = 200 - client.bottom;
  EXPECT_EQ(bar, file.bottom - file.top + 1) << "the items and the line beneath them";
  EXPECT_EQ(g_sizeHeight, client.bottom) << "WM_SIZE reports the smaller client area";
  POINT origin{0, 0};
  ClientToScreen(host, &origin);
  EXPECT_EQ(origin.y, win.top + bar);
  POINT back = origin;
  ScreenToClient(host, &back);
  EXPECT_EQ(back.y, 0);

  RECT c;
  GetWindowRect(child, &c);
  EXPECT_EQ(c.top, origin.y + 15) << "children keep their place in the client area";
  ASSERT_TRUE(SetWindowPos(child, HWND(), 5, 5, 50, 40, SWP_NOZORDER));
  GetWindowRect(child, &c);
  EXPECT_EQ(c.top, origin.y + 5);
  EXPECT_EQ(c.left, origin.x + 5);

  // Client drawing lands below the bar; the bar is the layer's.
  UpdateWindow(host);
  HDC dc = GetDC(host);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT corner{0, 0, 4, 4};
  FillRect(dc, &corner, red);
  DeleteObject(red);
  ReleaseDC(host, dc);
  EXPECT_EQ(WindowPixel(host, 300, 1), GetSysColor(COLOR_MENU)) << "the bar's own colour";
  EXPECT_NE(WindowPixel(host, 1, 1), RGB(255, 0, 0)) << "the client DC does not reach the bar";
  EXPECT_EQ(WindowPixel(host, 1, bar + 1), RGB(255, 0, 0));
  EXPECT_EQ(WindowPixel(host, 300, bar - 1), GetSysColor(COLOR_BTNSHADOW)) << "the line";

  // Taking the bar away gives the room back.
  ASSERT_TRUE(SetMenu(host, HMENU()));
  GetClientRect(host, &client);
  EXPECT_EQ(client.bottom, 200);
  GetWindowRect(child, &c);
  EXPECT_EQ(c.top, win.top + 5);
  EXPECT_FALSE(GetMenuItemRect(host, b.bar, 0, &c)) << "a bar no window shows has no place";
  DestroyMenu(b.bar);
  DestroyWindow(host);
}

TEST(MenuBar, AWindowWithoutABarKeepsItsClientArea) {
  Reset();
  HWND host = MakeHost();
  g_calcs = 0;
  g_sizeHeight = -1;
  ASSERT_TRUE(SetMenu(host, HMENU()));
  ASSERT_TRUE(DrawMenuBar(host));
  RECT client;
  GetClientRect(host, &client);
  EXPECT_EQ(client.bottom, 200);
  EXPECT_EQ(g_sizeHeight, -1) << "nothing changed, nothing reported";
  POINT origin{0, 0};
  ClientToScreen(host, &origin);
  RECT win;
  GetWindowRect(host, &win);
  EXPECT_EQ(origin.y, win.top);
  // Destroying the bar a window shows takes it off the window, room and all.
  Bar b = MakeBar();
  SetMenu(host, b.bar);
  DestroyMenu(b.bar);
  GetClientRect(host, &client);
  EXPECT_EQ(client.bottom, 200);
  EXPECT_EQ(GetMenu(host), HMENU());
  DestroyWindow(host);
}

TEST(MenuBar, APressOpensThePopupUnderItsItemAndMovingAcrossSwitchesPopups) {
  Reset();
  HWND host = MakeHost();
  Bar b = MakeBar();
  SetMenu(host, b.bar);
  const RECT file = ItemRect(host, b.bar, 0), edit = ItemRect(host, b.bar, 1);
  HWND first, second;
  std::string firstClass;
  RECT firstRect{}, secondRect{};
  bool fileHilited = false, editHilited = false;
  g_script.push_back([&] {
    first = g_idle;
    firstClass = ClassOf(first);
    GetWindowRect(first, &firstRect);
    fileHilited = Hilited(b.bar, 0);
    Mouse(host, QEvent::MouseButtonRelease, Centre(file));  // the press's own release
    Mouse(host, QEvent::MouseMove, Centre(edit));
  });
  g_script.push_back([&] {
    second = g_idle;
    GetWindowRect(second, &secondRect);
    editHilited = Hilited(b.bar, 1) && !Hilited(b.bar, 0);
    Mouse(host, QEvent::MouseButtonPress, Centre(edit));  // the open item again: closes
  });
  Mouse(host, QEvent::MouseButtonPress, Centre(file));
  EXPECT_EQ(firstClass, "#32768");
  EXPECT_EQ(firstRect.left, file.left);
  EXPECT_EQ(firstRect.top, file.bottom) << "the popup opens right under its item";
  EXPECT_TRUE(fileHilited) << "the open item is MF_HILITE";
  EXPECT_NE(second, first);
  EXPECT_EQ(secondRect.left, edit.left);
  EXPECT_TRUE(editHilited);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_FALSE(IsWindow(second));
  EXPECT_FALSE(Hilited(b.bar, 1)) << "nothing stays highlighted";
  EXPECT_EQ(g_log, (std::vector<std::string>{"initmenupopup 0", "initmenupopup 1"}));

  // A bar item without a popup is a command: press and release on it.
  Reset();
  const RECT help = ItemRect(host, b.bar, 2);
  g_script.push_back([&] { Mouse(host, QEvent::MouseButtonRelease, Centre(help)); });
  Mouse(host, QEvent::MouseButtonPress, Centre(help));
  EXPECT_EQ(g_log, (std::vector<std::string>{"command 30"}));

  // A popup item chosen with the pointer runs its command.
  Reset();
  g_script.push_back([&] {
    Mouse(host, QEvent::MouseButtonRelease, Centre(file));
    RECT open;
    GetMenuItemRect(g_idle, b.file, 1, &open);
    Mouse(host, QEvent::MouseButtonRelease, Centre(open));
  });
  Mouse(host, QEvent::MouseButtonPress, Centre(file));
  EXPECT_EQ(g_log, (std::vector<std::string>{"initmenupopup 0", "command 12"}));

  // A press outside the bar and the popups closes the menu.
  Reset();
  g_script.push_back([&] {
    RECT w;
    GetWindowRect(host, &w);
    Mouse(host, QEvent::MouseButtonPress, POINT{w.right - 5, w.bottom - 5});
  });
  Mouse(host, QEvent::MouseButtonPress, Centre(file));
  EXPECT_EQ(g_log, (std::vector<std::string>{"initmenupopup 0"}));
  DestroyMenu(b.bar);
  DestroyWindow(host);
}

TEST(MenuBar, KeysEnterTheBarMoveAlongItAndOpenItsPopups) {
  Reset();
  HWND host = MakeHost();
  Bar b = MakeBar();
  SetMenu(host, b.bar);
  // Alt alone selects the first item without opening it; arrows move; Down
  // opens with the first item selected; Return chooses it.
  bool firstSelected = false, secondSelected = false, noPopup = false;
  g_script.push_back([&] {
    firstSelected = Hilited(b.bar, 0);
    noPopup = g_idle == host;
    Key(host, Qt::Key_Right);
  });
  g_script.push_back([&] {
    secondSelected = Hilited(b.bar, 1);
    Key(host, Qt::Key_Down);
  });
  g_script.push_back([&] { Key(host, Qt::Key_Return); });
  Key(host, Qt::Key_Alt, Qt::AltModifier);
  Key(host, Qt::Key_Alt, Qt::NoModifier, true);
  EXPECT_TRUE(firstSelected);
  EXPECT_TRUE(noPopup) << "the menu waits on the bar";
  EXPECT_TRUE(secondSelected);
  EXPECT_EQ(g_log, (std::vector<std::string>{"initmenupopup 1", "command 21"}));

  // Alt with an access key opens that item; Right and Left switch popups;
  // Esc goes back to the bar, and Esc again leaves it.
  Reset();
  bool backOnBar = false;
  g_script.push_back([&] { Key(host, Qt::Key_Right); });
  g_script.push_back([&] { Key(host, Qt::Key_Left); });
  g_script.push_back([&] { Key(host, Qt::Key_Escape); });
  g_script.push_back([&] {
    backOnBar = g_idle == host && Hilited(b.bar, 0);
    Key(host, Qt::Key_Escape);
  });
  Key(host, Qt::Key_Alt, Qt::AltModifier);
  Key(host, Qt::Key_F, Qt::AltModifier, false, "f");
  EXPECT_TRUE(backOnBar);
  EXPECT_EQ(g_log,
            (std::vector<std::string>{"initmenupopup 0", "initmenupopup 1", "initmenupopup 0"}));
  EXPECT_FALSE(Hilited(b.bar, 0));

  // F10 enters too; an access key on the bar chooses a command item.
  Reset();
  g_script.push_back([&] { Key(host, Qt::Key_H, Qt::NoModifier, false, "h"); });
  Key(host, Qt::Key_F10);
  EXPECT_EQ(g_log, (std::vector<std::string>{"command 30"}));

  // Alt with the access key of a command item runs it at once.
  Reset();
  Key(host, Qt::Key_H, Qt::AltModifier, false, "h");
  EXPECT_EQ(g_log, (std::vector<std::string>{"command 30"}));

  // Alt with a key no item has is left to the window.
  Reset();
  Key(host, Qt::Key_Q, Qt::AltModifier, false, "q");
  EXPECT_TRUE(g_log.empty());
  DestroyMenu(b.bar);
  DestroyWindow(host);
}

TEST(MenuBar, OwnerDrawnItemsAreMeasuredAndDrawnOnTheBar) {
  Reset();
  HWND host = MakeHost();
  Bar b = MakeBar();
  for (UINT pos = 0; pos < 2; ++pos) {
    MENUITEMINFOA mii;
    mii.fMask = MIIM_FTYPE | MIIM_DATA;
    mii.fType = MFT_OWNERDRAW;
    mii.dwItemData = 100 + pos;
    ASSERT_TRUE(SetMenuItemInfoA(b.bar, pos, TRUE, &mii));
  }
  ASSERT_TRUE(SetMenu(host, b.bar));
  EXPECT_EQ(g_measures, 2) << "each owner-drawn bar item is measured";
  const RECT file = ItemRect(host, b.bar, 0), edit = ItemRect(host, b.bar, 1);
  EXPECT_EQ(file.right - file.left, 70);
  EXPECT_EQ(file.bottom - file.top, 26) << "the bar is as high as its highest item";
  EXPECT_EQ(edit.left, file.right);
  RECT client;
  GetClientRect(host, &client);
  EXPECT_EQ(client.bottom, 200 - 27);

  UpdateWindow(host);
  ASSERT_EQ(g_drawn.size(), 2u) << "the bar's picture draws each owner-drawn item";
  const DRAWITEMSTRUCT d = g_drawn[1];
  EXPECT_EQ(d.CtlType, ODT_MENU);
  EXPECT_EQ(d.itemAction, ODA_DRAWENTIRE);
  EXPECT_EQ(d.itemData, 101u);
  EXPECT_EQ(d.hwndItem.value, b.bar.value);
  EXPECT_EQ(d.rcItem.left, 70);
  EXPECT_EQ(d.rcItem.top, 0);
  EXPECT_EQ(d.rcItem.bottom, 26) << "rectangles count from the window's corner";
  EXPECT_EQ(WindowPixel(host, 100, 10), RGB(0, 0, 255)) << "drawn with the window's DC";

  // The item under the pointer is hot; opening it selects it (ODA_SELECT).
  g_drawn.clear();
  Mouse(host, QEvent::MouseMove, Centre(file));
  ASSERT_FALSE(g_drawn.empty());
  EXPECT_TRUE(g_drawn.back().itemState & ODS_HOTLIGHT);
  EXPECT_EQ(g_drawn.back().itemAction, ODA_SELECT);
  EXPECT_EQ(WindowPixel(host, 10, 10), RGB(0, 255, 0));
  g_drawn.clear();
  COLORREF open = 0;
  g_script.push_back([&] {
    open = WindowPixel(host, 10, 10);
    EndMenu();
  });
  Mouse(host, QEvent::MouseButtonPress, Centre(file));
  EXPECT_EQ(open, RGB(255, 0, 0));
  bool selectedSeen = false;
  for (const DRAWITEMSTRUCT& x : g_drawn)
    if (x.itemData == 100 && (x.itemState & ODS_SELECTED) && x.itemAction == ODA_SELECT)
      selectedSeen = true;
  EXPECT_TRUE(selectedSeen);
  EXPECT_EQ(g_measures, 2) << "an unchanged bar is not measured again";
  DestroyMenu(b.bar);
  DestroyWindow(host);
}

TEST(MenuBar, AShadowDrawnOnTheScreenForAnOpenItemGoesWhenAnotherOpens) {
  Reset();
  HWND host = MakeHost();
  Bar b = MakeBar();
  MENUITEMINFOA ownerDrawn;
  ownerDrawn.fMask = MIIM_FTYPE;
  ownerDrawn.fType = MFT_OWNERDRAW;
  ASSERT_TRUE(SetMenuItemInfoA(b.bar, 0, TRUE, &ownerDrawn));
  ASSERT_TRUE(SetMenuItemInfoA(b.bar, 1, TRUE, &ownerDrawn));
  SetMenu(host, b.bar);
  UpdateWindow(host);
  g_shadowBar = b.bar;
  const RECT file = ItemRect(host, b.bar, 0), edit = ItemRect(host, b.bar, 1);
  std::optional<COLORREF> fileShadow, fileShadowLater, editShadow;
  g_script.push_back([&] {
    fileShadow = win::testing::ScreenOverlayPixel(file.right + 1, file.top + 5);
    Mouse(host, QEvent::MouseMove, Centre(edit));
  });
  g_script.push_back([&] {
    fileShadowLater = win::testing::ScreenOverlayPixel(file.right + 1, file.top + 5);
    editShadow = win::testing::ScreenOverlayPixel(edit.right + 1, edit.top + 5);
    EndMenu();
  });
  Mouse(host, QEvent::MouseButtonPress, Centre(file));
  g_shadowBar = HMENU();
  EXPECT_EQ(fileShadow, RGB(1, 2, 3));
  EXPECT_FALSE(fileShadowLater) << "the item left takes its shadow along";
  EXPECT_EQ(editShadow, RGB(1, 2, 3));
  EXPECT_FALSE(win::testing::ScreenOverlayPixel(edit.right + 1, edit.top + 5)) << "closed: none";
  DestroyMenu(b.bar);
  DestroyWindow(host);
}

namespace {

HMENU g_converted;  // the bar a procedure converted when it first saw it

// As the menu library does: the first WM_NCCALCSIZE after the window got a
// bar turns its items owner-drawn, before the default makes room for them.
LRESULT ConvertingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NCCALCSIZE && !g_converted && GetMenu(h)) {
    g_converted = GetMenu(h);
    for (int pos = 0; pos < GetMenuItemCount(g_converted); ++pos) {
      MENUITEMINFOA mii;
      mii.cbSize = MENUITEMINFO_PLATFORM_FULL;
      mii.fMask = MIIM_DATA | MIIM_BITMAP | MIIM_FTYPE;
      mii.fType = MFT_OWNERDRAW;
      mii.dwItemData = static_cast<ULONG_PTR>(pos + 1);
      SetMenuItemInfoA(g_converted, static_cast<UINT>(pos), TRUE, &mii);
    }
  }
  if (m == WM_MEASUREITEM) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    mis->itemWidth = 50;
    mis->itemHeight = 23;
    return TRUE;
  }
  return HostProc(h, m, w, l);
}

}  // namespace

TEST(MenuBar, ItemsMadeOwnerDrawnWhileTheWindowFitsItsBarAreMeasuredForIt) {
  Reset();
  WNDCLASSEXA wc;
  wc.lpfnWndProc = ConvertingProc;
  wc.lpszClassName = "ConvertingHost";
  RegisterClassExA(&wc);
  HWND host = CreateWindowExA(0, "ConvertingHost", "c", WS_POPUP | WS_VISIBLE, 20, 20, 300, 200,
                              HWND(), HMENU(), HINSTANCE(), nullptr);
  g_converted = HMENU();
  Bar b = MakeBar();
  ASSERT_TRUE(SetMenu(host, b.bar));
  EXPECT_EQ(g_converted, b.bar);
  RECT client;
  GetClientRect(host, &client);
  EXPECT_EQ(client.bottom, 200 - 24) << "room for 23-pixel items and the line";
  const RECT edit = ItemRect(host, b.bar, 1);
  EXPECT_EQ(edit.right - edit.left, 50);
  DestroyMenu(b.bar);
  DestroyWindow(host);
}

TEST(MenuBar, ABarWhoseItemsGrewFitsTheWindowAgainAfterItsNextPicture) {
  Reset();
  HWND host = MakeHost();
  Bar b = MakeBar();
  SetMenu(host, b.bar);
  RECT client;
  GetClientRect(host, &client);
  const int plainBar = 200 - client.bottom;
  // An item changed without DrawMenuBar: the next picture lays the bar out
  // again and the window then makes room for the taller item.
  MENUITEMINFOA mii;
  mii.fMask = MIIM_FTYPE;
  mii.fType = MFT_OWNERDRAW;
  ASSERT_TRUE(SetMenuItemInfoA(b.bar, 2, TRUE, &mii));
  UpdateWindow(host);
  QApplication::processEvents();
  GetClientRect(host, &client);
  EXPECT_EQ(200 - client.bottom, 27);
  EXPECT_NE(plainBar, 27);
  DestroyMenu(b.bar);
  DestroyWindow(host);
}

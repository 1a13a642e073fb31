// Windows as objects: classes, relations, properties, places, states, capture.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <string>
#include <vector>

#include "win/qt_window.h"
#include "win/testing.h"
#include "win/win.h"

using namespace win;

namespace {

std::vector<std::string> g_events;

LRESULT Recorder(HWND h, UINT m, WPARAM w, LPARAM l) {
  const std::string name = GetWindowText(h);
  if (m == WM_DESTROY) g_events.push_back("destroy " + name);
  if (m == WM_NCDESTROY) g_events.push_back("ncdestroy " + name);
  if (m == WM_ENTERSIZEMOVE) g_events.push_back("enter move");
  if (m == WM_EXITSIZEMOVE) g_events.push_back("exit move");
  return DefWindowProcA(h, m, w, l);
}

HWND Make(const char* name, HWND parent = HWND(), DWORD style = WS_POPUP) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXA wc;
    wc.lpfnWndProc = Recorder;
    wc.lpszClassName = "RecorderClass";
    wc.style = CS_DBLCLKS;
    RegisterClassExA(&wc);
    registered = true;
  }
  return CreateWindowExA(0, "RecorderClass", name, style, 20, 30, 200, 100, parent, HMENU(),
                         HINSTANCE(), nullptr);
}

}  // namespace

TEST(Classes, NamesCompareWithoutCaseAndMustBeUnique) {
  WNDCLASSEXA wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "UniqueClass";
  wc.style = CS_DROPSHADOW;
  ASSERT_NE(RegisterClassExA(&wc), 0);
  wc.lpszClassName = "uniqueclass";
  EXPECT_EQ(RegisterClassExA(&wc), 0);
  HWND h = CreateWindowExA(0, "UNIQUECLASS", "x", WS_POPUP, 0, 0, 5, 5, HWND(), HMENU(),
                           HINSTANCE(), nullptr);
  ASSERT_TRUE(h);
  char buf[64];
  EXPECT_EQ(GetClassNameA(h, buf, sizeof buf), 11);
  EXPECT_STREQ(buf, "UniqueClass");
  EXPECT_EQ(GetClassNameA(h, buf, 4), 3);
  EXPECT_STREQ(buf, "Uni");
  // Switching the class's drop shadow off is seen through any of its windows.
  EXPECT_TRUE(GetClassLongPtrA(h, GCL_STYLE) & CS_DROPSHADOW);
  SetClassLongPtrA(h, GCL_STYLE, GetClassLongPtrA(h, GCL_STYLE) & ~CS_DROPSHADOW);
  WNDCLASSEXA info;
  ASSERT_TRUE(GetClassInfoExA(HINSTANCE(), "UniqueClass", &info));
  EXPECT_FALSE(info.style & CS_DROPSHADOW);
  DestroyWindow(h);
  EXPECT_FALSE(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, HWND(), HMENU(),
                               HINSTANCE(), nullptr));
}

TEST(Windows, FamilyRelationsAndFinding) {
  HWND top = Make("top");
  HWND child = Make("child", top, WS_CHILD | WS_VISIBLE);
  HWND grand = Make("grand", child, WS_CHILD | WS_VISIBLE);
  EXPECT_EQ(GetParent(child), top);
  EXPECT_EQ(GetParent(grand), child);
  EXPECT_TRUE(IsChild(top, grand));
  EXPECT_FALSE(IsChild(grand, top));
  EXPECT_EQ(GetAncestor(grand, GA_ROOT), top);
  EXPECT_EQ(FindWindowExA(top, HWND(), "recorderclass", nullptr), child);
  EXPECT_EQ(FindWindowExA(top, child, nullptr, nullptr), HWND());
  EXPECT_EQ(FindWindowExA(HWND(), HWND(), nullptr, "top"), top);
  // An owned popup names its owner as its parent.
  HWND owned = Make("owned", top, WS_POPUP);
  EXPECT_EQ(GetParent(owned), top);
  EXPECT_FALSE(IsChild(top, owned));

  g_events.clear();
  DestroyWindow(top);
  // Parents hear of their end first and are gone last.
  ASSERT_GE(g_events.size(), 6u);
  EXPECT_EQ(g_events.front(), "destroy top");
  EXPECT_EQ(g_events.back(), "ncdestroy top");
  auto pos = [&](const std::string& e) {
    return std::find(g_events.begin(), g_events.end(), e) - g_events.begin();
  };
  EXPECT_LT(pos("destroy child"), pos("destroy grand"));
  EXPECT_LT(pos("ncdestroy grand"), pos("ncdestroy child"));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(grand));
  EXPECT_FALSE(IsWindow(owned));
}

TEST(Windows, PropertiesTextAndLongs) {
  HWND h = Make("props");
  EXPECT_TRUE(SetPropA(h, "SSC_OLDPROC", 1234));
  EXPECT_EQ(GetPropA(h, "ssc_oldproc"), 1234u);
  EXPECT_EQ(GetPropA(h, "missing"), 0u);
  EXPECT_EQ(RemovePropA(h, "SSC_OLDPROC"), 1234u);
  EXPECT_EQ(GetPropA(h, "SSC_OLDPROC"), 0u);

  EXPECT_TRUE(SetWindowTextA(h, "Città più"));
  EXPECT_EQ(GetWindowText(h), "Città più");

  SetWindowLongPtrA(h, GWLP_USERDATA, 77);
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_USERDATA), 77);
  EXPECT_EQ(GetWindowLongPtrA(h, GWL_STYLE) & WS_POPUP, static_cast<LONG_PTR>(WS_POPUP));
  // Setting a window procedure of 0 is refused and keeps the old one.
  const LONG_PTR proc = GetWindowLongPtrA(h, GWL_WNDPROC);
  EXPECT_EQ(SetWindowLongPtrA(h, GWL_WNDPROC, 0), 0);
  EXPECT_EQ(GetWindowLongPtrA(h, GWL_WNDPROC), proc);
  DestroyWindow(h);
}

TEST(Windows, PlacesSizesTopmostAndRegions) {
  HWND h = Make("place");
  ShowWindow(h, SW_SHOWNA);
  RECT r;
  ASSERT_TRUE(GetWindowRect(h, &r));
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 100);
  ASSERT_TRUE(MoveWindow(h, 40, 50, 300, 23, TRUE));
  GetWindowRect(h, &r);
  EXPECT_EQ(r, (RECT{40, 50, 340, 73}));
  GetClientRect(h, &r);
  EXPECT_EQ(r, (RECT{0, 0, 300, 23}));

  EXPECT_FALSE(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
  ASSERT_TRUE(SetWindowPos(h, HWND_TOPMOST, 10, 0, 300, 23, 0));
  EXPECT_TRUE(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(WindowWidget(h)->windowFlags() & Qt::WindowStaysOnTopHint ||
              (WindowWidget(h)->windowHandle() &&
               (WindowWidget(h)->windowHandle()->flags() & Qt::WindowStaysOnTopHint)));
  GetWindowRect(h, &r);
  EXPECT_EQ(r.left, 10);
  EXPECT_TRUE(IsWindowVisible(h));  // becoming topmost keeps the window shown
  SetWindowPos(h, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_FALSE(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);

  POINT p{5, 6};
  ClientToScreen(h, &p);
  EXPECT_EQ(p, (POINT{15, 6}));
  ScreenToClient(h, &p);
  EXPECT_EQ(p, (POINT{5, 6}));

  // The window keeps the region it is given and lets go of the old one.
  HRGN first = CreateRectRgn(0, 0, 300, 23);
  HRGN cut = CreateRectRgn(0, 0, 1, 1);
  CombineRgn(first, first, cut, RGN_DIFF);
  DeleteObject(cut);
  EXPECT_EQ(SetWindowRgn(h, first, TRUE), 1);
  EXPECT_FALSE(WindowWidget(h)->mask().contains(QPoint(0, 0)));
  EXPECT_TRUE(WindowWidget(h)->mask().contains(QPoint(1, 0)));
  HRGN second = CreateRectRgn(0, 0, 300, 23);
  EXPECT_EQ(SetWindowRgn(h, second, TRUE), 1);
  EXPECT_FALSE(DeleteObject(first));  // already released by the window
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(h, copy), ERROR);
  RECT box;
  GetRgnBox(copy, &box);
  EXPECT_EQ(box, (RECT{0, 0, 300, 23}));
  DeleteObject(copy);
  DestroyWindow(h);
}

TEST(Windows, StatesFocusAndCapture) {
  HWND h = Make("states", HWND(), WS_OVERLAPPEDWINDOW);
  ShowWindow(h, SW_SHOW);
  QCoreApplication::processEvents();
  EXPECT_FALSE(IsZoomed(h));
  ShowWindow(h, SW_MAXIMIZE);
  QCoreApplication::processEvents();
  EXPECT_TRUE(IsZoomed(h));
  ShowWindow(h, SW_RESTORE);
  QCoreApplication::processEvents();
  EXPECT_FALSE(IsZoomed(h));

  EXPECT_TRUE(ReleaseCapture());

  EXPECT_TRUE(EnableWindow(h, FALSE) == FALSE);
  EXPECT_FALSE(IsWindowEnabled(h));
  EnableWindow(h, TRUE);
  EXPECT_TRUE(IsWindowEnabled(h));

  SetActiveWindow(h);
  QCoreApplication::processEvents();
  EXPECT_EQ(GetActiveWindow(), h);
  DestroyWindow(h);
}

TEST(Windows, ADisabledWindowTakesNoPointerOrKeyInput) {
  HWND h = Make("disabled");
  ShowWindow(h, SW_SHOWNA);
  QCoreApplication::processEvents();
  QWidget* widget = WindowWidget(h);
  ASSERT_TRUE(widget);
  std::vector<UINT> seen;
  static std::vector<UINT>* log = nullptr;
  static WNDPROC previous = nullptr;
  log = &seen;
  previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m == WM_LBUTTONDOWN || m == WM_MOUSEMOVE || m == WM_KEYDOWN) log->push_back(m);
        return CallWindowProcA(previous, w, m, wp, lp);
      })));
  auto poke = [&] {
    const QPointF at(5, 5), global = widget->mapToGlobal(QPointF(5, 5));
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, at, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    for (QEvent* e : std::initializer_list<QEvent*>{&press, &release, &move, &key})
      QCoreApplication::sendEvent(widget, e);
  };
  EnableWindow(h, FALSE);
  poke();
  EXPECT_TRUE(seen.empty());
  EnableWindow(h, TRUE);
  poke();
  EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_LBUTTONDOWN), 1);
  EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_KEYDOWN), 1);
  DestroyWindow(h);
}

TEST(Windows, CaptionPressMovesTheWindowWithThePointerUntilRelease) {
  HWND h = Make("mover");
  ShowWindow(h, SW_SHOWNA);
  MoveWindow(h, 100, 100, 200, 100, TRUE);
  SetCursorPos(150, 110);
  QCoreApplication::processEvents();
  win::testing::SetMouseButtons(MK_LBUTTON);
  // While the loop runs, the pointer travels and then lets go.
  QTimer::singleShot(40, [] { SetCursorPos(180, 140); });
  QTimer::singleShot(120, [] { win::testing::SetMouseButtons(0); });
  g_events.clear();
  SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  win::testing::SetMouseButtons(std::nullopt);
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r.left, 130);
  EXPECT_EQ(r.top, 130);
  EXPECT_EQ(g_events, (std::vector<std::string>{"enter move", "exit move"}));
  // Without a pressed button there is nothing to follow.
  SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  GetWindowRect(h, &r);
  EXPECT_EQ(r.left, 130);
  // A press that travels less than the drag distance, as the first half of a
  // double-click does, leaves the window where it is.
  SetCursorPos(150, 150);
  win::testing::SetMouseButtons(MK_LBUTTON);
  QTimer::singleShot(30, [] { SetCursorPos(152, 151); });
  QTimer::singleShot(80, [] { win::testing::SetMouseButtons(0); });
  SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  win::testing::SetMouseButtons(std::nullopt);
  GetWindowRect(h, &r);
  EXPECT_EQ(r.left, 130);
  EXPECT_EQ(r.top, 130);
  DestroyWindow(h);
}

// The message chain: procedures, subclassing, hooks, posted messages, timers.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <string>
#include <vector>

#include "win/win.h"

using namespace win;

namespace {

std::vector<std::string> g_log;
WNDPROC g_prevA = nullptr;
WNDPROC g_prevB = nullptr;

LRESULT BaseProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER + 1) {
    g_log.push_back("base");
    return 1;
  }
  return DefWindowProcA(h, m, w, l);
}

LRESULT SubA(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER + 1) g_log.push_back("A");
  return CallWindowProcA(g_prevA, h, m, w, l);
}

LRESULT SubB(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER + 1) {
    g_log.push_back("B");
    // Answers on its own when asked with wParam 7: nobody further down hears it.
    if (w == 7) return 42;
  }
  return CallWindowProcA(g_prevB, h, m, w, l);
}

void RegisterBase() {
  static bool done = false;
  if (done) return;
  WNDCLASSEXA wc;
  wc.lpfnWndProc = BaseProc;
  wc.lpszClassName = "TestBase";
  ASSERT_NE(RegisterClassExA(&wc), 0);
  done = true;
}

HWND MakeWindow(HWND parent = HWND(), DWORD style = WS_POPUP) {
  RegisterBase();
  return CreateWindowExA(0, "TestBase", "test window", style, 10, 10, 100, 50, parent, HMENU(),
                         HINSTANCE(), nullptr);
}

std::vector<UINT> g_hooked;
std::vector<std::string> g_hookOrder;
HHOOK g_hook1, g_hook2;

LRESULT Hook1(int code, WPARAM w, LPARAM l) {
  auto* cwp = reinterpret_cast<CWPSTRUCT*>(l);
  g_hooked.push_back(cwp->message);
  if (cwp->message == WM_USER + 1) g_hookOrder.push_back("hook1");
  return CallNextHookEx(g_hook1, code, w, l);
}

LRESULT Hook2(int code, WPARAM w, LPARAM l) {
  auto* cwp = reinterpret_cast<CWPSTRUCT*>(l);
  if (cwp->message == WM_USER + 1) g_hookOrder.push_back("hook2");
  return CallNextHookEx(g_hook2, code, w, l);
}

}  // namespace

TEST(MessageChain, SubclassesRunNewestFirstAndCanAnswerAlone) {
  g_log.clear();
  HWND h = MakeWindow();
  ASSERT_TRUE(h);
  g_prevA = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(SubA)));
  g_prevB = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(SubB)));
  EXPECT_EQ(g_prevA, &BaseProc);
  EXPECT_EQ(g_prevB, &SubA);

  EXPECT_EQ(SendMessageA(h, WM_USER + 1, 0, 0), 1);
  EXPECT_EQ(g_log, (std::vector<std::string>{"B", "A", "base"}));

  g_log.clear();
  EXPECT_EQ(SendMessageA(h, WM_USER + 1, 7, 0), 42);
  EXPECT_EQ(g_log, (std::vector<std::string>{"B"}));

  // Taking the subclass out restores the chain below it.
  SetWindowLongPtrA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(g_prevB));
  g_log.clear();
  SendMessageA(h, WM_USER + 1, 7, 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"A", "base"}));
  DestroyWindow(h);
}

TEST(MessageChain, StaleAndZeroHandlesFailQuietly) {
  HWND h = MakeWindow();
  ASSERT_TRUE(DestroyWindow(h));
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(SendMessageA(h, WM_USER + 1, 0, 0), 0);
  EXPECT_EQ(GetWindowLongPtrA(h, GWL_WNDPROC), 0);
  EXPECT_FALSE(SetPropA(h, "x", 1));
  RECT r;
  EXPECT_FALSE(GetWindowRect(h, &r));
  EXPECT_FALSE(DestroyWindow(h));
  EXPECT_FALSE(DestroyWindow(HWND()));
  EXPECT_FALSE(IsWindow(HWND(12345)));
  // A new window never gets the old handle back.
  HWND again = MakeWindow();
  EXPECT_NE(again, h);
  DestroyWindow(again);
}

TEST(Hooks, SeeEveryCallBeforeTheProcedureAndChainNewestFirst) {
  HWND h = MakeWindow();
  g_hooked.clear();
  g_hookOrder.clear();
  g_log.clear();
  g_hook1 = SetWindowsHookExA(WH_CALLWNDPROC, Hook1, HINSTANCE(), GetCurrentThreadId());
  g_hook2 = SetWindowsHookExA(WH_CALLWNDPROC, Hook2, HINSTANCE(), GetCurrentThreadId());
  ASSERT_TRUE(g_hook1);
  ASSERT_TRUE(g_hook2);

  SendMessageA(h, WM_USER + 1, 0, 0);
  EXPECT_EQ(g_hookOrder, (std::vector<std::string>{"hook2", "hook1"}));
  EXPECT_EQ(g_log, (std::vector<std::string>{"base"}));

  // Creation messages are seen too, as the menu library relies on.
  g_hooked.clear();
  HWND other = MakeWindow();
  EXPECT_NE(std::find(g_hooked.begin(), g_hooked.end(), WM_CREATE), g_hooked.end());

  EXPECT_TRUE(UnhookWindowsHookEx(g_hook2));
  EXPECT_FALSE(UnhookWindowsHookEx(g_hook2));
  g_hookOrder.clear();
  SendMessageA(h, WM_USER + 1, 0, 0);
  EXPECT_EQ(g_hookOrder, (std::vector<std::string>{"hook1"}));
  EXPECT_TRUE(UnhookWindowsHookEx(g_hook1));
  g_hooked.clear();
  SendMessageA(h, WM_USER + 1, 0, 0);
  EXPECT_TRUE(g_hooked.empty());
  EXPECT_FALSE(SetWindowsHookExA(99, Hook1, HINSTANCE(), 0));
  DestroyWindow(h);
  DestroyWindow(other);
}

TEST(Messages, RegisteredNamesGiveOneIdWhateverTheCase) {
  const UINT a = RegisterWindowMessageA("InitMenuMsg");
  EXPECT_GE(a, 0xC000u);
  EXPECT_EQ(RegisterWindowMessageA("initmenumsg"), a);
  EXPECT_NE(RegisterWindowMessageA("SomethingElse"), a);
  EXPECT_EQ(RegisterWindowMessageA(""), 0u);
}

TEST(Messages, WindowTimersTickUntilKilled) {
  static int ticks = 0;
  struct Local {
    static LRESULT Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
      if (m == WM_TIMER && w == 5) ++ticks;
      return DefWindowProcA(h, m, w, l);
    }
  };
  WNDCLASSEXA wc;
  wc.lpfnWndProc = Local::Proc;
  wc.lpszClassName = "TimerTest";
  RegisterClassExA(&wc);
  HWND h = CreateWindowExA(0, "TimerTest", "", WS_POPUP, 0, 0, 10, 10, HWND(), HMENU(), HINSTANCE(),
                           nullptr);
  ticks = 0;
  ASSERT_NE(SetTimer(h, 5, 10, nullptr), 0u);
  QElapsedTimer t;
  t.start();
  while (ticks < 3 && t.elapsed() < 2000)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  EXPECT_GE(ticks, 3);
  EXPECT_TRUE(KillTimer(h, 5));
  EXPECT_FALSE(KillTimer(h, 5));
  const int after = ticks;
  t.restart();
  while (t.elapsed() < 60) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_EQ(ticks, after);
  DestroyWindow(h);
}

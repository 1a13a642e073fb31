// The subclassing service: one procedure, properties on the window, every
// holder hearing each message, and holds that end cleanly.

#include <gtest/gtest.h>

#include <memory>

#include "module_state.h"
#include "sub_class.h"
#include "test_windows.h"

using namespace win;
using ornatek::cSubClass;
using ornatektest::BaseLog;
using ornatektest::MakeHost;

namespace {

WNDPROC g_foreignPrevious = nullptr;
int g_foreignCalls = 0;
LRESULT ForeignProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER + 1) ++g_foreignCalls;
  return CallWindowProcA(g_foreignPrevious, h, m, w, l);
}

}  // namespace

TEST(SubClass, SetsThePropertiesAndNeverSubclassesTwice) {
  const HWND h = MakeHost();
  auto first = std::make_unique<cSubClass>();
  cSubClass second;
  EXPECT_EQ(first->SubClassedWindowCount(), 0);
  ASSERT_TRUE(first->SubClassHwnd(h, true));
  EXPECT_EQ(GetWindowLongPtrA(h, GWL_WNDPROC),
            reinterpret_cast<LONG_PTR>(&ornatek::SubClassWndProc));
  EXPECT_EQ(GetPropA(h, ornatek::kOldProcProperty),
            reinterpret_cast<std::uintptr_t>(&ornatektest::BaseProc));
  EXPECT_EQ(GetPropA(h, ornatek::kObjectProperty), reinterpret_cast<std::uintptr_t>(first.get()));
  EXPECT_FALSE(first->SubClassHwnd(h, true));
  EXPECT_FALSE(second.SubClassHwnd(h, true));
  EXPECT_FALSE(second.IsWindowSubClassedByMe(h));
  EXPECT_TRUE(first->IsWindowSubClassedByMe(h));
  EXPECT_EQ(first->SubClassedWindowCount(), 1);
  EXPECT_EQ(first->SubClassedWindow(1), h);
  EXPECT_THROW(first->SubClassedWindow(2), std::out_of_range);

  EXPECT_FALSE(second.SubClassHwnd(MakeHost(), false)) << "releasing a window not held";
  EXPECT_EQ(second.SubClassedWindowCount(), 0);

  // The object's end gives every window its procedure back.
  first.reset();
  EXPECT_EQ(GetWindowLongPtrA(h, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&ornatektest::BaseProc));
  EXPECT_EQ(GetPropA(h, ornatek::kOldProcProperty), 0u);
  EXPECT_EQ(GetPropA(h, ornatek::kObjectProperty), 0u);
  DestroyWindow(h);
}

TEST(SubClass, EveryHolderHearsTheMessageAndTheLastAnswerCounts) {
  const HWND h = MakeHost();
  cSubClass sub;
  ASSERT_TRUE(sub.SubClassHwnd(h, true));
  std::vector<std::string> order;
  auto a = sub.SubClass.Connect([&](bool& handled, LRESULT& result, HWND, UINT m, WPARAM, LPARAM) {
    if (m != WM_USER + 1) return;
    order.push_back("A");
    EXPECT_FALSE(handled);
    handled = true;
    result = 5;
  });
  auto b = sub.SubClass.Connect([&](bool& handled, LRESULT& result, HWND, UINT m, WPARAM, LPARAM) {
    if (m != WM_USER + 1) return;
    order.push_back("B");
    EXPECT_TRUE(handled) << "the same reference arguments go round";
    EXPECT_EQ(result, 5);
    result = 7;
  });
  BaseLog().seen.clear();
  EXPECT_EQ(SendMessageA(h, WM_USER + 1, 0, 0), 7);
  EXPECT_EQ(order, (std::vector<std::string>{"A", "B"}));
  EXPECT_FALSE(BaseLog().saw(WM_USER + 1)) << "an answered message stops here";

  // Handled without a result: 0, and the previous procedure is not called.
  b.Disconnect();
  a = sub.SubClass.Connect([](bool& handled, LRESULT&, HWND, UINT m, WPARAM, LPARAM) {
    if (m == WM_USER + 1) handled = true;
  });
  EXPECT_EQ(SendMessageA(h, WM_USER + 1, 0, 0), 0);
  a.Disconnect();
  EXPECT_EQ(SendMessageA(h, WM_USER + 1, 0, 0), 100) << "unanswered: the window's own procedure";
  EXPECT_EQ(sub.CallOrigWndProc(h, WM_USER + 1, 0, 0), 100);
  EXPECT_FALSE(sub.CallOrigWndProc(MakeHost(), WM_USER + 1, 0, 0).has_value());
  DestroyWindow(h);
}

TEST(SubClass, TheEndOfAWindowReachesItsProcedureAndEndsTheHold) {
  const HWND h = MakeHost();
  cSubClass sub;
  ASSERT_TRUE(sub.SubClassHwnd(h, true));
  // A holder that lets go of the window while it ends, and even claims the message.
  auto c = sub.SubClass.Connect([&](bool& handled, LRESULT&, HWND w, UINT m, WPARAM, LPARAM) {
    if (m == WM_DESTROY) {
      handled = true;
      sub.SubClassHwnd(w, false);
    }
  });
  BaseLog().seen.clear();
  DestroyWindow(h);
  EXPECT_TRUE(BaseLog().saw(WM_DESTROY));
  EXPECT_TRUE(BaseLog().saw(WM_NCDESTROY));
  EXPECT_EQ(sub.SubClassedWindowCount(), 0);

  // Without a holder doing anything, the window's death ends the hold too.
  const HWND g = MakeHost();
  ASSERT_TRUE(sub.SubClassHwnd(g, true));
  c.Disconnect();
  BaseLog().seen.clear();
  DestroyWindow(g);
  EXPECT_TRUE(BaseLog().saw(WM_NCDESTROY));
  EXPECT_FALSE(sub.IsWindowSubClassedByMe(g));
  EXPECT_TRUE(ornatek::Module().PassThrough.empty());
}

TEST(SubClass, ReleasingLeavesALaterSubclasserHooked) {
  const HWND h = MakeHost();
  cSubClass sub;
  int heard = 0;
  auto c = sub.SubClass.Connect([&](bool&, LRESULT&, HWND, UINT m, WPARAM, LPARAM) {
    if (m == WM_USER + 1) ++heard;
  });
  ASSERT_TRUE(sub.SubClassHwnd(h, true));
  g_foreignPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
  g_foreignCalls = 0;

  EXPECT_FALSE(sub.SubClassHwnd(h, false)) << "our procedure could not be put back";
  EXPECT_EQ(GetWindowLongPtrA(h, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&ForeignProc));
  EXPECT_FALSE(sub.IsWindowSubClassedByMe(h));
  EXPECT_EQ(GetPropA(h, ornatek::kOldProcProperty), 0u);

  EXPECT_EQ(SendMessageA(h, WM_USER + 1, 0, 0), 100) << "the chain still reaches the window";
  EXPECT_EQ(g_foreignCalls, 1);
  EXPECT_EQ(heard, 0) << "we no longer answer";
  EXPECT_FALSE(sub.SubClassHwnd(h, true)) << "our procedure is still in its chain";

  BaseLog().seen.clear();
  DestroyWindow(h);
  EXPECT_TRUE(BaseLog().saw(WM_NCDESTROY));
  EXPECT_TRUE(ornatek::Module().PassThrough.empty());
}

TEST(SubClass, AWindowThatIsGoneIsCleanedOut) {
  cSubClass sub;
  const HWND h = MakeHost();
  DestroyWindow(h);
  EXPECT_FALSE(sub.SubClassHwnd(h, true));
  EXPECT_FALSE(sub.SubClassHwnd(h, false));
  EXPECT_EQ(sub.SubClassedWindowCount(), 0);
  // Messages reaching the shared procedure for a window nobody holds get 0.
  EXPECT_EQ(ornatek::SubClassWndProc(h, WM_USER + 1, 0, 0), 0);
}

TEST(SubClass, FreeSlotsAreReusedAndReleasesCloseTheList) {
  cSubClass sub;
  const HWND a = MakeHost(), b = MakeHost(), c = MakeHost();
  for (HWND h : {a, b, c}) ASSERT_TRUE(sub.SubClassHwnd(h, true));
  EXPECT_EQ(sub.SubClassedWindowCount(), 3);
  EXPECT_TRUE(sub.SubClassHwnd(b, false));
  EXPECT_EQ(sub.SubClassedWindowCount(), 2);
  EXPECT_EQ(sub.SubClassedWindow(2), c) << "later entries move down";
  // The slot b held is not left behind: the next window takes the place
  // after the last one, and the list is no longer than the windows it holds.
  const HWND d = MakeHost();
  ASSERT_TRUE(sub.SubClassHwnd(d, true));
  EXPECT_EQ(sub.SubClassedWindowCount(), 3);
  EXPECT_EQ(sub.SubClassedWindow(1), a);
  EXPECT_EQ(sub.SubClassedWindow(2), c);
  EXPECT_EQ(sub.SubClassedWindow(3), d);
  // A window that died while held gives its slot up the same way.
  DestroyWindow(a);
  EXPECT_EQ(sub.SubClassedWindowCount(), 2);
  EXPECT_EQ(sub.SubClassedWindow(1), c);
  ASSERT_TRUE(sub.SubClassHwnd(b, true));
  EXPECT_EQ(sub.SubClassedWindowCount(), 3);
  EXPECT_EQ(sub.SubClassedWindow(3), b);
  for (HWND h : {b, c, d}) DestroyWindow(h);
  EXPECT_EQ(sub.SubClassedWindowCount(), 0);
}

// Forwarding to the active MDI child never sends a window's message to itself.

#include <gtest/gtest.h>

#include "mdi_forward.h"
#include "module_state.h"
#include "sub_class.h"
#include "test_windows.h"

using namespace win;
using ornatek::ForwardToActiveMdiChild;

TEST(MdiForward, NoChildOrTheWindowItselfIsNotAsked) {
  const HWND frame = ornatektest::MakeHost();
  ornatektest::BaseLog().seen.clear();
  EXPECT_FALSE(ForwardToActiveMdiChild(frame, HWND(), WM_USER + 1, 0, 0));
  EXPECT_FALSE(ForwardToActiveMdiChild(frame, frame, WM_USER + 1, 0, 0));
  EXPECT_FALSE(ornatektest::BaseLog().saw(WM_USER + 1));
  DestroyWindow(frame);
}

TEST(MdiForward, AnotherChildAnswersAndLoopsEndAtOnce) {
  const HWND frame = ornatektest::MakeHost();
  const HWND child = ornatektest::MakeHost();
  EXPECT_EQ(ForwardToActiveMdiChild(frame, child, WM_USER + 1, 0, 0), 100);

  // A child whose handler forwards the same message back to the frame.
  ornatek::cSubClass sub;
  ASSERT_TRUE(sub.SubClassHwnd(child, true));
  int rounds = 0;
  auto c =
      sub.SubClass.Connect([&](bool& handled, LRESULT& result, HWND h, UINT m, WPARAM w, LPARAM l) {
        if (m != WM_USER + 2) return;
        ++rounds;
        const auto back = ForwardToActiveMdiChild(h, frame, m, w, l);
        handled = true;
        result = back ? 1 : 2;
      });
  EXPECT_EQ(ForwardToActiveMdiChild(frame, child, WM_USER + 2, 0, 0), 2);
  EXPECT_EQ(rounds, 1);
  DestroyWindow(child);
  DestroyWindow(frame);
}

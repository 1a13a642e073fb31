// Forwarding to the active MDI child never sends a window's message to
// itself; through an MDI-like host, the child's control answers for its frame.

#include <gtest/gtest.h>

#include "mdi_forward.h"
#include "module_state.h"
#include "sub_class.h"
#include "test_windows.h"
#include "viro_dazu_host.h"

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

// ---- through an MDI-like host ---------------------------------------------------
// A frame whose "MDIClient" child names its active child, as an MDI frame's
// client window does, with the menu control bound to the frame and, for the
// child that has one, a control of its own.

namespace {

HWND g_activeChild;

LRESULT MdiClientProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_MDIGETACTIVE) return static_cast<LRESULT>(g_activeChild.value);
  return DefWindowProcA(h, m, w, l);
}

struct MdiHost : testing::Test {
  struct Registered {
    Registered() { ornatektest::UseLinkedControl(); }
  } registered;
  ornatektest::MenuHost frameForm, childForm;
  HWND frame, client, child;
  HMENU popup;

  void SetUp() override {
    WNDCLASSEXA existing;
    if (!GetClassInfoExA(HINSTANCE(), "MDIClient", &existing)) {
      WNDCLASSEXA wc;
      wc.lpfnWndProc = MdiClientProc;
      wc.lpszClassName = "MDIClient";
      RegisterClassExA(&wc);
    }
    frame = ornatektest::MakeHost();
    client = CreateWindowExA(0, "MDIClient", "", WS_CHILD, 0, 0, 200, 100, frame, HMENU(),
                             HINSTANCE(), nullptr);
    child = CreateWindowExA(0, "OrnatekTestHost", "child", WS_CHILD, 0, 0, 80, 60, client, HMENU(),
                            HINSTANCE(), nullptr);
    g_activeChild = HWND();
    frameForm.Load();
    childForm.Load();
    Frame().Init(frame);
    popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 961, "&Tile");
    AppendMenuA(popup, MF_STRING, 962, "&Cascade");
  }
  void TearDown() override {
    g_activeChild = HWND();
    forms::Unload(childForm);
    forms::Unload(frameForm);
    DestroyMenu(popup);
    DestroyWindow(frame);
  }
  ornatek::VIroDazu& Frame() { return frameForm.Control(); }
  ornatek::VIroDazu& Child() { return childForm.Control(); }

  // The width the frame's window gives its popup's first item.
  UINT MeasuredAt(HWND hwnd) {
    MENUITEMINFOA info;
    info.fMask = MIIM_ID | MIIM_DATA;
    GetMenuItemInfoA(popup, 0, TRUE, &info);
    MEASUREITEMSTRUCT m{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
    EXPECT_EQ(SendMessageA(hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m)), 1);
    return m.itemWidth;
  }
};

UINT ItemType(HMENU menu, int position) {
  MENUITEMINFOA info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
  return info.fType;
}

}  // namespace

TEST_F(MdiHost, TheActiveChildsControlConvertsAndMeasuresTheFramesMenus) {
  win::HWND bound = child;
  Child().Init(bound);
  // The child's control measures with a font of its own, far wider.
  Child().UseSystemFont(false);
  forms::StdFont wide(forms::Font{.Name = "Tahoma", .Size = 24});
  Child().Font(wide);
  g_activeChild = child;

  ornatektest::BaseLog().seen.clear();
  SendMessageA(frame, WM_INITMENUPOPUP, popup.value, 0);
  EXPECT_EQ(ItemType(popup, 0), MFT_OWNERDRAW);
  EXPECT_EQ(ItemType(popup, 1), MFT_OWNERDRAW);
  const UINT byChild = MeasuredAt(frame);

  // The same popup measured with no child to ask: the frame's control answers.
  g_activeChild = HWND();
  const UINT byFrame = MeasuredAt(frame);
  EXPECT_GT(byChild, byFrame) << "the child's control answered for the frame";
}

TEST_F(MdiHost, AChildHandledOnItsFramesBehalfIsNotAskedAgain) {
  // The popup hook marks an MDI child without a control of its own; the
  // frame's control answers its messages, and forwarding them to the active
  // child, which is that same window, must not come back to it.
  ASSERT_TRUE(Frame().HostWindow() == frame);
  ASSERT_TRUE(ornatek::Module().SharedSubClass->SubClassHwnd(child, true));
  SetPropA(child, ornatek::kByMdiParentProperty, 1);
  g_activeChild = child;

  SendMessageA(child, WM_INITMENUPOPUP, popup.value, 0);
  EXPECT_EQ(ItemType(popup, 0), MFT_OWNERDRAW) << "converted once, without a loop";
  const UINT direct = MeasuredAt(child);
  EXPECT_EQ(MeasuredAt(frame), direct) << "the frame's message, forwarded to the child";
  SendMessageA(frame, WM_INITMENUPOPUP, popup.value, 0);
  EXPECT_EQ(ItemType(popup, 1), MFT_OWNERDRAW);
}

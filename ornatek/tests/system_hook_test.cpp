// The counted popup hook, the popup catcher, the popup window handler and the
// flat frame it paints, pixel by pixel.

#include <gtest/gtest.h>
#include <utility>

#include <thread>

#include "mem_dc.h"
#include "menu_infos.h"
#include "module_state.h"
#include "popup_frame.h"
#include "sub_class.h"
#include "system_hook.h"
#include "test_windows.h"

using namespace win;
using namespace ornatek;
using ornatektest::MakeHost;
using ornatektest::MakePopup;

namespace {

// A host window that a menu control has bound: held by the thread's shared
// subclassing object, with the hook installed. Everything goes at the end.
class BoundHost {
 public:
  BoundHost() {
    auto& m = Module();
    if (!m.SharedSubClass) m.SharedSubClass = std::make_shared<cSubClass>();
    hwnd = MakeHost();
    m.SharedSubClass->SubClassHwnd(hwnd, true);
    MenuHookInstaller().InstallHook();
  }
  ~BoundHost() {
    MenuHookInstaller().UnInstallHook();
    DestroyWindow(hwnd);
    Module().SharedSubClass.reset();
    Module().OwnPopupActive = false;
  }
  HWND hwnd;
};

bool Framed(HWND popup) {
  return (GetWindowLongPtrA(popup, GWL_STYLE) & WS_BORDER) ||
         (GetWindowLongPtrA(popup, GWL_EXSTYLE) & (WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE));
}

bool HeldByPopupHandler(HWND popup) {
  return GetPropA(popup, kOldProcProperty) != 0;
}

}  // namespace

TEST(MapiHelpers, DarkenSplitAndLowWord) {
  EXPECT_EQ(DarkenColor(60, RGB(200, 200, 200)), RGB(153, 153, 153));
  EXPECT_EQ(DarkenColor(0, RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(DarkenColor(255, RGB(255, 10, 0)), RGB(0, 0, 0));
  const auto parts = SplitRGB(0x00332211);
  EXPECT_EQ(parts.red, 0x11);
  EXPECT_EQ(parts.green, 0x22);
  EXPECT_EQ(parts.blue, 0x33);
  EXPECT_EQ(LoWord(0x1234F060), static_cast<short>(0xF060));
  EXPECT_EQ(LoWord(5), 5);
}

TEST(SystemHook, IsCountedAndGoneExactlyWithTheLastWithdrawal) {
  clsInstallHook& installer = MenuHookInstaller();
  auto& m = Module();
  ASSERT_EQ(m.HookInstallCount, 0);
  installer.InstallHook();
  const HHOOK first = m.SystemHookHandle;
  ASSERT_TRUE(first);
  installer.InstallHook();
  EXPECT_EQ(m.SystemHookHandle, first) << "the second registration makes no second hook";
  EXPECT_EQ(m.HookInstallCount, 2);
  installer.UnInstallHook();
  EXPECT_EQ(m.SystemHookHandle, first);
  installer.UnInstallHook();
  EXPECT_FALSE(m.SystemHookHandle);
  EXPECT_FALSE(m.SharedSystemHook);
  EXPECT_FALSE(UnhookWindowsHookEx(first)) << "the platform no longer knows the hook";

  // A withdrawal without a registration changes nothing, so the next pair
  // installs and removes the hook again.
  installer.UnInstallHook();
  EXPECT_EQ(m.HookInstallCount, 0);
  installer.InstallHook();
  EXPECT_TRUE(m.SystemHookHandle);
  installer.UnInstallHook();
  EXPECT_FALSE(m.SystemHookHandle);
}

TEST(SystemHook, HolderAnswersAndTheChainGoesOn) {
  cSystemHook hook;
  hook.SetHook();
  int seen = 0;
  auto c = hook.Hook.Connect([&](bool&, LRESULT&, int code, WPARAM, LPARAM l) {
    if (code == HC_ACTION && reinterpret_cast<CWPSTRUCT*>(l)->message == WM_USER + 9) ++seen;
  });
  const HWND h = MakeHost();
  SendMessageA(h, WM_USER + 9, 0, 0);
  EXPECT_EQ(seen, 1);
  hook.RemoveHook();
  SendMessageA(h, WM_USER + 9, 0, 0);
  EXPECT_EQ(seen, 1);
  DestroyWindow(h);
}

TEST(PopupCatcher, RestylesPopupsOfMenuControlWindowsOnly) {
  BoundHost host;
  const HWND popup = MakePopup(host.hwnd);
  ASSERT_TRUE(popup);
  EXPECT_FALSE(Framed(popup));
  EXPECT_FALSE(GetClassLongPtrA(popup, GCL_STYLE) & CS_DROPSHADOW);
  EXPECT_TRUE(GetClassLongPtrA(popup, GCL_STYLE) & CS_SAVEBITS) << "other class bits stay";
  EXPECT_TRUE(HeldByPopupHandler(popup));

  // Another window's popup keeps its frame and is not held.
  const HWND stranger = MakeHost();
  const HWND other = MakePopup(stranger);
  EXPECT_TRUE(Framed(other));
  EXPECT_FALSE(HeldByPopupHandler(other));

  // An unowned popup is restyled.
  const HWND unowned = MakePopup(HWND());
  EXPECT_FALSE(Framed(unowned));

  // Hiding lets go of the popup and ends the control's popup look.
  Module().OwnPopupActive = true;
  SendMessageA(popup, WM_SHOWWINDOW, FALSE, 0);
  EXPECT_FALSE(HeldByPopupHandler(popup));
  EXPECT_FALSE(Module().OwnPopupActive);
  for (HWND h : {popup, other, unowned, stranger}) DestroyWindow(h);
}

TEST(PopupCatcher, APopupOfAnMdiChildConvertsTheChild) {
  BoundHost host;
  const HWND child = CreateWindowExA(0, "OrnatekTestHost", "child", WS_CHILD, 0, 0, 50, 50,
                                     host.hwnd, HMENU(), HINSTANCE(), nullptr);
  ASSERT_TRUE(child);
  ornatektest::BaseLog().seen.clear();
  const HWND popup = MakePopup(child);
  EXPECT_FALSE(Framed(popup));
  EXPECT_TRUE(Module().SharedSubClass->IsWindowSubClassedByMe(child));
  EXPECT_EQ(GetPropA(child, kByMdiParentProperty), 1u);
  EXPECT_TRUE(ornatektest::BaseLog().saw(WM_INITMENUPOPUP));
  DestroyWindow(popup);
}

TEST(PopupHandler, PositionsGrowAndZeroIsARealCoordinate) {
  BoundHost host;
  const HWND popup = MakePopup(host.hwnd);
  WINDOWPOS pos{popup, HWND(), 50, 60, 80, 40, 0};
  SendMessageA(popup, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  EXPECT_EQ(pos.cx, 81);
  EXPECT_EQ(pos.cy, 41);
  EXPECT_EQ(MenuHookInstaller().MenuWindowLeft(), 50);
  EXPECT_EQ(MenuHookInstaller().MenuWindowTop(), 60);
  WINDOWPOS atZero{popup, HWND(), 0, 0, 0, 0, SWP_NOSIZE};
  SendMessageA(popup, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&atZero));
  EXPECT_EQ(atZero.cx, 0) << "a zero size stays";
  EXPECT_EQ(MenuHookInstaller().MenuWindowLeft(), 0);
  EXPECT_EQ(MenuHookInstaller().MenuWindowTop(), 0);
  WINDOWPOS noMove{popup, HWND(), 0, 0, 10, 10, SWP_NOMOVE};
  pos = {popup, HWND(), 7, 9, 0, 0, SWP_NOSIZE};
  SendMessageA(popup, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  SendMessageA(popup, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&noMove));
  EXPECT_EQ(MenuHookInstaller().MenuWindowLeft(), 7)
      << "a record without a position keeps the last";
  DestroyWindow(popup);
}

namespace {

// Paints the popup's background into a surface of its size, placed at (x, y)
// on the screen, and returns the surface with the screen pixels it covered.
struct Painted {
  cMemDC surface;
  cMemDC screen;
  int W = 0, H = 0;
};

void PaintAt(HWND popup, int x, int y, Painted& out, LPARAM printFlags = -1) {
  RECT r;
  GetWindowRect(popup, &r);
  out.W = r.right - r.left;
  out.H = r.bottom - r.top;
  out.surface.Init(out.W, out.H);
  out.screen.Init(out.W, out.H);
  const HDC s = GetDC(HWND());
  BitBlt(out.screen.hDC(), 0, 0, out.W, out.H, s, x, y, SRCCOPY);
  ReleaseDC(HWND(), s);
  WINDOWPOS pos{popup, HWND(), x, y, 0, 0, SWP_NOSIZE};
  SendMessageA(popup, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  if (printFlags < 0)
    EXPECT_EQ(SendMessageA(popup, WM_ERASEBKGND, out.surface.hDC().value, 0), 0);
  else
    SendMessageA(popup, WM_PRINT, out.surface.hDC().value, printFlags);
}

}  // namespace

TEST(PopupFrame, FlatBorderImageColumnAndShadowOverTheScreen) {
  BoundHost host;
  auto& m = Module();
  m.OwnPopupActive = true;
  m.ImageColumnWidth = 23;
  const HWND popup = MakePopup(host.hwnd, 0, 0, 90, 60);
  Painted p;
  PaintAt(popup, 0, 0, p);  // at the screen's corner: zero is a real position
  const int W = p.W, H = p.H;
  ASSERT_EQ(W, 90);
  ASSERT_EQ(H, 60);
  const auto screen = [&](int x, int y) { return p.screen.GetPixel(x, y); };
  const auto at = [&](int x, int y) { return p.surface.GetPixel(x, y); };

  // Border on columns 0 and W - 5, rows 0 and H - 5; item background inside.
  EXPECT_EQ(at(0, 0), m.MenuBorderColor);
  EXPECT_EQ(at(W - 5, 10), m.MenuBorderColor);
  EXPECT_EQ(at(10, H - 5), m.MenuBorderColor);
  EXPECT_EQ(at(1, 1), m.MenuBackColor);
  EXPECT_EQ(at(W - 6, H - 6), m.MenuBackColor);
  // Image column from (2, 2) to ImageColumnWidth + 12 (excluded), down to H - 8.
  EXPECT_EQ(at(2, 2), m.ImageColumnColor);
  EXPECT_EQ(at(34, H - 9), m.ImageColumnColor);
  EXPECT_EQ(at(35, 10), m.MenuBackColor);
  EXPECT_EQ(at(10, H - 8), m.MenuBackColor);

  // Right shadow: column W - i, rows 0-3 untouched, 4-7 fading in, then 15i,
  // the last four rows fading out.
  for (int i = 1; i <= 4; ++i) {
    const int x = W - i;
    for (int y = 0; y < 4; ++y) EXPECT_EQ(at(x, y), screen(x, y));
    for (int y = 4; y <= 7; ++y) EXPECT_EQ(at(x, y), DarkenColor(3 * i * (y - 3), screen(x, y)));
    EXPECT_EQ(at(x, 30), DarkenColor(15 * i, screen(x, 30)));
    for (int y = H - 4; y < H; ++y)
      EXPECT_EQ(at(x, y), DarkenColor(3 * i * (H - y), screen(x, y))) << "corner darkened once";
  }
  // Bottom shadow: row H - k, columns 0-3 untouched, 4-7 fading in, then 15k.
  for (int k = 1; k <= 4; ++k) {
    const int y = H - k;
    for (int x = 0; x < 4; ++x) EXPECT_EQ(at(x, y), screen(x, y));
    for (int x = 4; x <= 7; ++x) EXPECT_EQ(at(x, y), DarkenColor(3 * k * (x - 3), screen(x, y)));
    EXPECT_EQ(at(40, y), DarkenColor(15 * k, screen(40, y)));
  }
  DestroyWindow(popup);
}

TEST(PopupFrame, WithoutTheControlsLookItIsFlatInTheMenuColour) {
  BoundHost host;
  Module().OwnPopupActive = false;
  const HWND popup = MakePopup(host.hwnd, 0, 0, 60, 30);
  Painted p;
  PaintAt(popup, 120, 80, p, 8);  // WM_PRINT with PRF_ERASEBKGND alone paints too
  EXPECT_EQ(p.surface.GetPixel(0, 0), GetSysColor(COLOR_MENU));
  EXPECT_EQ(p.surface.GetPixel(2, 2), GetSysColor(COLOR_MENU)) << "no image column";
  EXPECT_EQ(p.surface.GetPixel(p.W - 1, 12), DarkenColor(15, p.screen.GetPixel(p.W - 1, 12)));

  // Any other WM_PRINT goes on to the popup's own procedure, which draws
  // the plain popup: no shadow of ours at its right edge.
  Painted q;
  q.surface.Init(p.W, p.H);
  q.surface.Cls(0x123456);
  SendMessageA(popup, WM_PRINT, q.surface.hDC().value, 8 | 2);
  Painted own;
  own.surface.Init(p.W, p.H);
  own.surface.Cls(0x123456);
  const auto oldProc = reinterpret_cast<WNDPROC>(GetPropA(popup, "SSC_OLDPROC"));
  ASSERT_NE(oldProc, nullptr);
  CallWindowProcA(oldProc, popup, WM_PRINT, own.surface.hDC().value, 8 | 2);
  for (const auto& [x, y] : {std::pair{0, 0}, {2, 2}, {p.W - 1, 12}, {p.W / 2, p.H - 1}})
    EXPECT_EQ(q.surface.GetPixel(x, y), own.surface.GetPixel(x, y)) << x << "," << y;
  DestroyWindow(popup);
}

TEST(PopupFrame, VeryShortPopupsDarkenTheOverlapTwice) {
  BoundHost host;
  const HWND popup = MakePopup(host.hwnd, 0, 0, 40, 10);
  Painted p;
  PaintAt(popup, 200, 100, p);
  // Row 6 of a 10-high popup is in the fade-in (amount 3 * 3) and the fade-out (3 * 4).
  const COLORREF before = p.screen.GetPixel(39, 6);
  EXPECT_EQ(p.surface.GetPixel(39, 6), DarkenColor(12, DarkenColor(9, before)));
  DestroyWindow(popup);
}

TEST(ThreadState, ASecondThreadHasItsOwnHookAndStore) {
  MenuInfoStore().Add(1, "main", 0, false, 1);
  MenuHookInstaller().InstallHook();
  const HHOOK mainHook = Module().SystemHookHandle;
  ASSERT_TRUE(mainHook);
  HHOOK otherHook;
  int otherCount = -1, otherCountBefore = -1, otherRecords = -1;
  std::thread([&] {
    otherRecords = MenuInfoStore().Count();
    otherCountBefore = Module().HookInstallCount;
    MenuHookInstaller().InstallHook();
    otherHook = Module().SystemHookHandle;
    otherCount = Module().HookInstallCount;
    MenuInfoStore().Add(2, "other", 0, false, 2);
  }).join();
  EXPECT_EQ(otherRecords, 0);
  EXPECT_EQ(otherCountBefore, 0);
  EXPECT_EQ(otherCount, 1);
  EXPECT_TRUE(otherHook);
  EXPECT_NE(otherHook, mainHook);
  EXPECT_EQ(Module().SystemHookHandle, mainHook);
  EXPECT_EQ(Module().HookInstallCount, 1);
  EXPECT_FALSE(MenuInfoStore().MenuInfoExists(2, 2));
  MenuHookInstaller().UnInstallHook();
  MenuInfoStore().Remove(1);
}

TEST(PopupCatcher, CatchesPopupsExactlyWhileARegistrationIsLeft) {
  BoundHost host;  // one registration
  MenuHookInstaller().InstallHook();
  const HWND withTwo = MakePopup(host.hwnd);
  MenuHookInstaller().UnInstallHook();
  const HWND withOne = MakePopup(host.hwnd);
  MenuHookInstaller().UnInstallHook();
  const HWND withNone = MakePopup(host.hwnd);
  EXPECT_FALSE(Framed(withTwo));
  EXPECT_FALSE(Framed(withOne));
  EXPECT_TRUE(Framed(withNone));
  EXPECT_FALSE(HeldByPopupHandler(withNone));
  MenuHookInstaller().InstallHook();  // the one BoundHost withdraws at its end
  for (HWND h : {withTwo, withOne, withNone}) DestroyWindow(h);
}

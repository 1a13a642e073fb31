// Moving, maximising and resizing the host by the frame.

#include <gtest/gtest.h>

#include <tuple>

#include "forms/clock.h"
#include "forms/scale.h"
#include "resize_by_drag.h"
#include "test_hosts.h"
#include "win/window.h"

using namespace controls_test;
using controls::detail::resize_by_drag;
using forms::Image;
using forms::PictureBox;

namespace {

struct Place {
  float left, top, width, height;
  friend bool operator==(const Place&, const Place&) = default;
};

std::ostream& operator<<(std::ostream& os, const Place& p) {
  return os << "(" << p.left << ", " << p.top << ", " << p.width << ", " << p.height << ")";
}

Place PlaceOf(const forms::Form& f) {
  return {f.Left(), f.Top(), f.Width(), f.Height()};
}

// Raises a constituent's mouse event as the runtime would.
void Press(forms::MouseEvent& e, int button = forms::vbLeftButton) {
  int b = button, s = 0;
  float x = 1, y = 1;
  e(b, s, x, y);
}

// Messages that reach the host window, for watching caption presses.
std::vector<std::pair<win::UINT, win::WPARAM>> g_hostMessages;
win::WNDPROC g_hostProc = nullptr;

win::LRESULT Watch(win::HWND hwnd, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
  if (msg == win::WM_NCLBUTTONDOWN) {
    g_hostMessages.emplace_back(msg, wp);
    return 0;  // no move loop in a test
  }
  return win::CallWindowProcA(g_hostProc, hwnd, msg, wp, lp);
}

}  // namespace

TEST(ResizeByDrag, EachCodeMovesTheDraggedEdgesOnly) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Show();
  Settle();
  const Place start{1500, 1200, 6000, 4500};
  // Dragged 10 px right and 5 px up: 150 twips across, -75 down.
  const win::POINT from{300, 300}, to{310, 295};
  const std::vector<std::tuple<int, Place>> table{
      {0, {1650, 1200, 5850, 4500}},
      {1, {1500, 1200, 6150, 4500}},
      {2, {1500, 1125, 6000, 4575}},
      {3, {1500, 1200, 6000, 4425}},
      {4, {1500, 1200, 6150, 4425}},
      {5, {1650, 1200, 5850, 4425}},
      {6, {1500, 1125, 6150, 4575}},
      {7, {1650, 1125, 5850, 4575}},
      {8, start},
      {-1, start},
  };
  for (const auto& [code, expected] : table) {
    host.Move(start.left, start.top, start.width, start.height);
    Settle();
    ASSERT_EQ(PlaceOf(host), start);
    resize_by_drag(host, from, to, code);
    Settle();
    EXPECT_EQ(PlaceOf(host), expected) << "code " << code;
  }
  // A drag that ends where it started changes nothing.
  host.Move(start.left, start.top, start.width, start.height);
  for (int code = 0; code < 8; ++code) resize_by_drag(host, from, from, code);
  EXPECT_EQ(PlaceOf(host), start);
}

TEST(FrameMouse, DraggingTheRightEdgeWithEitherButtonWidensTheHost) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Show();
  Settle();
  auto& right = host.Frame().Get<PictureBox>("picright");
  const Place start = PlaceOf(host);
  // The right button resizes just as the left one does.
  for (const auto& [down, up, mk] :
       {std::tuple{win::WM_RBUTTONDOWN, win::WM_RBUTTONUP, win::MK_RBUTTON},
        std::tuple{win::WM_LBUTTONDOWN, win::WM_LBUTTONUP, win::MK_LBUTTON}}) {
    const Place before = PlaceOf(host);
    PointAt(right.hWnd(), 2, 100);
    win::SendMessageA(right.hWnd(), down, mk, win::MAKELPARAM(2, 100));
    PointAt(right.hWnd(), 12, 100);
    win::SendMessageA(right.hWnd(), up, 0, win::MAKELPARAM(12, 100));
    Settle();
    EXPECT_EQ(PlaceOf(host), (Place{before.left, before.top, before.width + 150, before.height}));
  }
  EXPECT_EQ(host.Width(), start.width + 300);
  // The frame follows and lays itself out for the new size.
  EXPECT_EQ(host.Frame().Get<PictureBox>("picright").Left(), 415);
}

TEST(FrameMouse, TheTopLeftGripMovesAndGrowsTheHost) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Show();
  Settle();
  auto grips = host.Frame().Array<Image>("imgresize");
  const Place start = PlaceOf(host);
  win::SetCursorPos(200, 200);
  Press(grips[7].MouseDown);
  win::SetCursorPos(190, 190);
  Press(grips[7].MouseUp);
  Settle();
  EXPECT_EQ(PlaceOf(host),
            (Place{start.left - 150, start.top - 150, start.width + 150, start.height + 150}));

  // Bottom edge and bottom-right grip: one press point serves them all, and a
  // release uses the last one stored.
  const Place mid = PlaceOf(host);
  win::SetCursorPos(300, 300);
  Press(host.Frame().Get<PictureBox>("picbottom").MouseDown);
  win::SetCursorPos(300, 320);
  Press(grips[4].MouseUp);
  Settle();
  EXPECT_EQ(PlaceOf(host), (Place{mid.left, mid.top, mid.width, mid.height + 300}));
}

TEST(FrameMouse, AFixedFrameNeitherResizesNorMaximises) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Show();
  Settle();
  auto& frame = host.Frame();
  frame.Fixed_Single(true);
  auto grips = frame.Array<Image>("imgresize");
  const Place start = PlaceOf(host);
  for (int code : {2, 4, 5, 6, 7}) {
    win::SetCursorPos(200, 200);
    Press(grips[code].MouseDown);
    win::SetCursorPos(230, 240);
    Press(grips[code].MouseUp);
  }
  for (const char* edge : {"picleft", "picright", "picbottom"}) {
    auto& box = frame.Get<PictureBox>(edge);
    win::SetCursorPos(200, 200);
    Press(box.MouseDown);
    win::SetCursorPos(230, 240);
    Press(box.MouseUp);
  }
  win::SendMessageA(frame.Get<PictureBox>("pictop").hWnd(), win::WM_LBUTTONDBLCLK, win::MK_LBUTTON,
                    win::MAKELPARAM(100, 10));
  frame.Get<forms::Label>("lblcaption").DblClick();
  Settle();
  EXPECT_EQ(PlaceOf(host), start);
  EXPECT_EQ(host.WindowState(), forms::vbNormal);
}

TEST(FrameMouse, DoubleClickingTheCaptionMaximisesAndRestores) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Show();
  Settle();
  auto& frame = host.Frame();
  const win::HWND bar = frame.Get<PictureBox>("pictop").hWnd();
  win::SendMessageA(bar, win::WM_LBUTTONDBLCLK, win::MK_LBUTTON, win::MAKELPARAM(100, 10));
  Settle();
  EXPECT_EQ(host.WindowState(), forms::vbMaximized);
  frame.Get<forms::Label>("lblcaption").DblClick();
  Settle();
  EXPECT_EQ(host.WindowState(), forms::vbNormal);
  host.WindowState(forms::vbMinimized);
  Settle();
  frame.Get<forms::Label>("lblcaption").DblClick();
  Settle();
  EXPECT_EQ(host.WindowState(), forms::vbNormal);
}

TEST(FrameMouse, ACaptionPressStartsTheSystemMoveOnlyInTheNormalState) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Show();
  Settle();
  g_hostMessages.clear();
  g_hostProc = reinterpret_cast<win::WNDPROC>(win::SetWindowLongPtrA(
      host.hWnd(), win::GWL_WNDPROC, reinterpret_cast<win::LONG_PTR>(&Watch)));
  auto& frame = host.Frame();
  const win::HWND bar = frame.Get<PictureBox>("pictop").hWnd();
  win::SendMessageA(bar, win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(100, 10));
  win::SendMessageA(bar, win::WM_LBUTTONUP, 0, win::MAKELPARAM(100, 10));
  win::SendMessageA(bar, win::WM_RBUTTONDOWN, win::MK_RBUTTON, win::MAKELPARAM(100, 10));
  win::SendMessageA(bar, win::WM_RBUTTONUP, 0, win::MAKELPARAM(100, 10));
  Press(frame.Get<forms::Label>("lblcaption").MouseDown);
  ASSERT_EQ(g_hostMessages.size(), 3u);
  for (const auto& [msg, wp] : g_hostMessages) EXPECT_EQ(wp, 2u);  // the caption hit code
  // A fixed frame still moves by its caption.
  frame.Fixed_Single(true);
  Press(frame.Get<forms::Label>("lblcaption").MouseDown);
  EXPECT_EQ(g_hostMessages.size(), 4u);

  host.WindowState(forms::vbMaximized);
  Settle();
  g_hostMessages.clear();
  win::SendMessageA(bar, win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(100, 10));
  win::SendMessageA(bar, win::WM_LBUTTONUP, 0, win::MAKELPARAM(100, 10));
  Press(frame.Get<forms::Label>("lblcaption").MouseDown);
  EXPECT_TRUE(g_hostMessages.empty());
  win::SetWindowLongPtrA(host.hWnd(), win::GWL_WNDPROC,
                         reinterpret_cast<win::LONG_PTR>(g_hostProc));
}

TEST(FrameMouse, DraggingAnEdgeOfAMaximisedHostChangesNothing) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Show();
  host.WindowState(forms::vbMaximized);
  Settle();
  ASSERT_EQ(host.WindowState(), forms::vbMaximized);
  const Place start = PlaceOf(host);
  auto& frame = host.Frame();
  win::SetCursorPos(200, 200);
  Press(frame.Get<PictureBox>("picright").MouseDown);
  win::SetCursorPos(150, 150);
  Press(frame.Get<PictureBox>("picright").MouseUp);
  Press(frame.Array<Image>("imgresize")[7].MouseUp);
  Settle();
  EXPECT_EQ(host.WindowState(), forms::vbMaximized);
  EXPECT_EQ(PlaceOf(host), start);
}

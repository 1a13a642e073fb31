// Moving, maximising and resizing the host by the frame.

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
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

constexpr win::SIZE kNoSmallest{0, 0};

// A press at `from` and a release at `to`, in the widget's own pixels, with
// real mouse events: the release goes to the pressed widget, as the pointer's
// grab sends it.
void Drag(QWidget* w, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
  QTest::mousePress(w, button, {}, from);
  QTest::mouseMove(w, to);
  QTest::mouseRelease(w, button, {}, to);
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
    resize_by_drag(host, from, to, code, kNoSmallest);
    Settle();
    EXPECT_EQ(PlaceOf(host), expected) << "code " << code;
  }
  // A drag that ends where it started changes nothing.
  host.Move(start.left, start.top, start.width, start.height);
  for (int code = 0; code < 8; ++code) resize_by_drag(host, from, from, code, kNoSmallest);
  EXPECT_EQ(PlaceOf(host), start);
}

TEST(ResizeByDrag, ADraggedEdgeStopsAtTheSmallestSizeWithTheOppositeEdgeKept) {
  forms::ManualClock clock;  // the polls tick only when a test says so
  FrameHost host;
  host.Show();
  Settle();
  const Place start{1500, 1200, 6000, 4500};
  const win::SIZE smallest{3000, 510};
  const win::POINT from{300, 300};
  // Dragged 1000 px past the opposite edge, each way.
  const std::vector<std::tuple<int, win::POINT, Place>> table{
      {0, {1300, 300}, {4500, 1200, 3000, 4500}}, {1, {-700, 300}, {1500, 1200, 3000, 4500}},
      {2, {300, 1300}, {1500, 5190, 6000, 510}},  {3, {300, -700}, {1500, 1200, 6000, 510}},
      {4, {-700, -700}, {1500, 1200, 3000, 510}}, {7, {1300, 1300}, {4500, 5190, 3000, 510}},
  };
  for (const auto& [code, to, expected] : table) {
    host.Move(start.left, start.top, start.width, start.height);
    resize_by_drag(host, from, to, code, smallest);
    Settle();
    EXPECT_EQ(PlaceOf(host), expected) << "code " << code;
  }
  // A window already smaller than that does not shrink, but it still grows.
  host.Move(start.left, start.top, 1995, 300);
  resize_by_drag(host, from, {290, 290}, 4, smallest);
  EXPECT_EQ(PlaceOf(host), (Place{start.left, start.top, 1995, 300}));
  resize_by_drag(host, from, {310, 310}, 4, smallest);
  EXPECT_EQ(PlaceOf(host), (Place{start.left, start.top, 2145, 450}));
}

// A frame host on the screen; the polls tick only when a test says so.
class FrameMouse : public ::testing::Test {
 protected:
  FrameMouse() { host.Show(); }
  forms::ManualClock clock;
  FrameHost host;
};

TEST_F(FrameMouse, DraggingTheRightEdgeWithEitherButtonWidensTheHost) {
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

TEST_F(FrameMouse, TheTopLeftGripMovesAndGrowsTheHost) {
  Settle();
  auto grips = host.Frame().Array<Image>("imgresize");
  const Place start = PlaceOf(host);
  Drag(grips[7].Widget(), {5, 5}, {-5, -5});
  Settle();
  EXPECT_EQ(PlaceOf(host),
            (Place{start.left - 150, start.top - 150, start.width + 150, start.height + 150}));

  // The bottom edge: the press and the release are each where their own
  // event says, whatever the pointer does meanwhile.
  const Place mid = PlaceOf(host);
  win::SetCursorPos(0, 0);
  Drag(host.Frame().Get<PictureBox>("picbottom").Widget(), {300, 2}, {300, 22});
  Settle();
  EXPECT_EQ(PlaceOf(host), (Place{mid.left, mid.top, mid.width, mid.height + 300}));
}

TEST_F(FrameMouse, AReleaseWithoutItsPressResizesNothing) {
  Settle();
  auto grips = host.Frame().Array<Image>("imgresize");
  const Place start = PlaceOf(host);
  // A click on the top edge whose release overtook the press (a layout pass
  // let it run first): the release has no press to pair with.
  QTest::mouseRelease(grips[2].Widget(), Qt::LeftButton, {}, {100, 2});
  QTest::mousePress(grips[2].Widget(), Qt::LeftButton, {}, {100, 2});
  Settle();
  EXPECT_EQ(PlaceOf(host), start);
  // The next drag pairs its own press and release.
  Drag(grips[2].Widget(), {100, 2}, {100, -18});
  Settle();
  EXPECT_EQ(PlaceOf(host), (Place{start.left, start.top - 300, start.width, start.height + 300}));
}

TEST_F(FrameMouse, AFixedFrameNeitherResizesNorMaximises) {
  Settle();
  auto& frame = host.Frame();
  frame.Fixed_Single(true);
  auto grips = frame.Array<Image>("imgresize");
  const Place start = PlaceOf(host);
  for (int code : {2, 4, 5, 6, 7}) Drag(grips[code].Widget(), {2, 2}, {32, 42});
  for (const char* edge : {"picleft", "picright", "picbottom"})
    Drag(frame.Get<PictureBox>(edge).Widget(), {2, 2}, {32, 42});
  win::SendMessageA(frame.Get<PictureBox>("pictop").hWnd(), win::WM_LBUTTONDBLCLK, win::MK_LBUTTON,
                    win::MAKELPARAM(100, 10));
  frame.Get<forms::Label>("lblcaption").DblClick();
  Settle();
  EXPECT_EQ(PlaceOf(host), start);
  EXPECT_EQ(host.WindowState(), forms::vbNormal);
}

TEST_F(FrameMouse, DoubleClickingTheCaptionMaximisesAndRestores) {
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

TEST_F(FrameMouse, ACaptionPressStartsTheSystemMoveOnlyInTheNormalState) {
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

TEST_F(FrameMouse, DraggingAnEdgeOfAMaximisedHostChangesNothing) {
  host.WindowState(forms::vbMaximized);
  Settle();
  ASSERT_EQ(host.WindowState(), forms::vbMaximized);
  const Place start = PlaceOf(host);
  auto& frame = host.Frame();
  Drag(frame.Get<PictureBox>("picright").Widget(), {2, 200}, {-48, 150});
  Drag(frame.Array<Image>("imgresize")[7].Widget(), {2, 2}, {-48, -48});
  Settle();
  EXPECT_EQ(host.WindowState(), forms::vbMaximized);
  EXPECT_EQ(PlaceOf(host), start);
}

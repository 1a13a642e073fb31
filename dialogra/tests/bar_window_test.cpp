// The bar's window: hiding and reopening, the strip, dragging.

#include "bar_fixture.h"

using namespace dialogra;
using dialogra::testing::BarFixture;

namespace {

class Bar : public BarFixture {
 protected:
  Form1& Started(bool autoHide = false) {
    Form1& bar = LoadBar();
    module().visi = autoHide ? 1 : 0;
    Ticks(70, 60);  // past the intro: from now on every tick sees 0
    return bar;
  }
  void Pointer(int x, int y) {
    win::SetCursorPos(x, y);
    QCoreApplication::processEvents();
  }
};

}  // namespace

TEST_F(Bar, WithAutoHideTheBarCollapsesWhenThePointerLeavesAndOpensAtTheTopRows) {
  Form1& bar = Started(true);
  const win::RECT r = bar.WindowRect;
  Pointer(r.left + 50, 2);  // the top rows over the bar open it
  Ticks(1, 60);
  EXPECT_EQ(bar.Height(), 340);
  Pointer(r.left + 50, r.top + 15);
  Ticks(1, 60);
  EXPECT_EQ(bar.Height(), 340);
  Pointer(r.left + 50, r.bottom + 40);
  Ticks(1, 60);  // within one tick
  EXPECT_EQ(bar.Height(), 20);
  // Inside the bar's old rectangle but below the top rows: stays collapsed.
  Pointer(r.left + 50, 10);
  Ticks(1, 60);
  EXPECT_EQ(bar.Height(), 20);
  Pointer(r.left + 50, 2);
  Ticks(1, 60);
  EXPECT_EQ(bar.Height(), 340);
  // Open again, it stays open while the pointer is inside.
  Pointer(r.left + 50, 15);
  Ticks(3, 60);
  EXPECT_EQ(bar.Height(), 340);
  // Outside the bar's span the top rows do not open it.
  Pointer(r.left + 50, r.bottom + 40);
  Ticks(1, 60);
  Pointer(r.right + 30, 1);
  Ticks(1, 60);
  EXPECT_EQ(bar.Height(), 20);
}

TEST_F(Bar, WithoutAutoHideTheBarStaysOpen) {
  Form1& bar = Started();
  Pointer(5, 700);
  Ticks(5, 60);
  EXPECT_EQ(bar.Height(), 340);
}

TEST_F(Bar, TheStripBlinksOnlyOnACollapsedBar) {
  Form1& bar = Started(true);
  Pointer(bar.WindowRect.left + 10, 500);
  Ticks(1, 60);
  ASSERT_EQ(bar.Height(), 20);
  std::vector<win::COLORREF> painted;
  for (int i = 0; i < 3; ++i) {
    bar.Timer2_Timer();
    painted.push_back(bar.Point(100, 0));
  }
  EXPECT_EQ(painted, (std::vector<win::COLORREF>{forms::QBColor(10), forms::QBColor(12),
                                                 forms::QBColor(10)}));
  // An expanded bar is cleared on the next strip tick.
  Pointer(bar.WindowRect.left + 10, 1);
  Ticks(1, 60);
  bar.Timer2_Timer();
  EXPECT_EQ(bar.Point(100, 0), forms::TranslateColor(bar.BackColor()));
}

TEST_F(Bar, ADragReleasedPastEitherEdgeComesBackOnScreenAtTheTop) {
  Form1& bar = Started();
  const int screenWidth = static_cast<int>(forms::Screen::Width() / 15);
  auto drag = [&](int fromX, int toX, int toY) {
    Pointer(fromX, 10);
    Ticks(1, 60);  // dragging follows the timer's sample of the pointer
    int b = 1, s = 0;
    float x = 0, y = 0;
    bar.Label1.MouseDown(b, s, x, y);
    Pointer(toX, toY);
    Ticks(1, 60);
    bar.Label1.MouseMove(b, s, x, y);
    bar.Label1.MouseUp(b, s, x, y);
  };
  const int left = bar.WindowRect.left;
  drag(left + 100, 40, 200);  // far to the left and down
  EXPECT_EQ(bar.Left(), 0);
  EXPECT_EQ(bar.Top(), 0);
  EXPECT_FALSE(bar.Dragging);
  drag(bar.WindowRect.left + 100, screenWidth - 10, 300);
  EXPECT_EQ(bar.Left(), forms::Screen::Width() - 7110);
  EXPECT_EQ(bar.Top(), 0);
  EXPECT_EQ(bar.WindowRect.right, screenWidth);
  // A plain sideways drag keeps its place.
  drag(bar.WindowRect.left + 100, bar.WindowRect.left, 10);
  EXPECT_EQ(bar.WindowRect.left, screenWidth - 474 - 100);
}

// What a real display shows of a skinned host once it has changed size. Runs
// on an X server (Xvfb): the offscreen platform keeps no window contents of
// its own, so the faults of the composed window show only there.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include "test_hosts.h"
#include "win/window.h"

using namespace controls_test;

namespace {

// Lets the display and the program settle for a while.
void Wait(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    QApplication::processEvents();
    QThread::msleep(5);
  }
}

// The window as the X server holds it.
QImage Composed(win::HWND hwnd) {
  win::RECT r{};
  win::GetWindowRect(hwnd, &r);
  return QGuiApplication::primaryScreen()
      ->grabWindow(0, r.left, r.top, r.right - r.left, r.bottom - r.top)
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

// Pixels of `a` and `b` that differ within the rectangle.
int Differing(const QImage& a, const QImage& b, const QRect& area) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

class ComposedPaint : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
    host.Show();
    Wait(400);
    before = Composed(host.hWnd());
    ASSERT_FALSE(before.isNull());
  }
  // The part of the window that stays as it was: above the bottom edge.
  QRect Kept() const { return QRect(0, 0, before.width(), before.height() - 10); }

  FrameHost host{":/test/GrowHost.json"};
  QImage before;
};

TEST_F(ComposedPaint, ControlsKeepTheirDrawingWhenTheHostGrowsInHeightOnly) {
  win::RECT r{};
  win::GetWindowRect(host.hWnd(), &r);
  win::MoveWindow(host.hWnd(), r.left, r.top, r.right - r.left, r.bottom - r.top + 80, win::TRUE);
  Wait(400);
  const QImage after = Composed(host.hWnd());
  ASSERT_EQ(after.height(), before.height() + 80);
  EXPECT_EQ(Differing(before, after, Kept()), 0);
}

TEST_F(ComposedPaint, ControlsKeepTheirDrawingWhenTheHostGrowsInWidthAndHeight) {
  win::RECT r{};
  win::GetWindowRect(host.hWnd(), &r);
  win::MoveWindow(host.hWnd(), r.left, r.top, r.right - r.left + 60, r.bottom - r.top + 80,
                  win::TRUE);
  Wait(400);
  const QImage after = Composed(host.hWnd());
  ASSERT_EQ(after.height(), before.height() + 80);
  // The caption bar stretches; the rest of the client area stays as it was.
  EXPECT_EQ(Differing(before, after, QRect(6, 40, before.width() - 80, before.height() - 50)), 0);
}

}  // namespace

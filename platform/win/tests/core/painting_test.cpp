// Window painting: invalidation, WM_PAINT, window DCs and pictures of windows.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QWidget>

#include "testsupport/temp_dir.h"
#include "win/qt_window.h"
#include "win/win.h"

using namespace win;

namespace {

int g_paints = 0;
COLORREF g_fill = RGB(0, 128, 0);

LRESULT Painter(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_PAINT) {
    ++g_paints;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    HBRUSH b = CreateSolidBrush(g_fill);
    RECT r{0, 0, 20, 10};
    FillRect(dc, &r, b);
    DeleteObject(b);
    EndPaint(h, &ps);
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

HWND MakePainter(int w, int h) {
  static bool done = false;
  if (!done) {
    WNDCLASSEXA wc;
    wc.lpfnWndProc = Painter;
    wc.lpszClassName = "PainterClass";
    wc.hbrBackground = CreateSolidBrush(RGB(255, 255, 255));
    RegisterClassExA(&wc);
    done = true;
  }
  return CreateWindowExA(0, "PainterClass", "", WS_POPUP, 0, 0, w, h, HWND(), HMENU(), HINSTANCE(),
                         nullptr);
}

}  // namespace

TEST(Painting, InvalidationBringsOnePaintWithTheBackgroundErased) {
  HWND h = MakePainter(40, 20);
  ShowWindow(h, SW_SHOWNA);
  g_paints = 0;
  testsupport::TempDir dir;
  const std::string png = (dir / "w.png").string();
  ASSERT_TRUE(SaveWindowPng(h, png));
  EXPECT_EQ(g_paints, 1);
  QImage img(QString::fromStdString(png));
  ASSERT_EQ(img.size(), QSize(40, 20));
  EXPECT_EQ(img.pixelColor(5, 5), QColor(0, 128, 0));
  EXPECT_EQ(img.pixelColor(30, 15), QColor(255, 255, 255));  // class background

  // Nothing invalid: no new paint, what was drawn stays.
  ASSERT_TRUE(SaveWindowPng(h, png));
  EXPECT_EQ(g_paints, 1);

  g_fill = RGB(0, 0, 255);
  InvalidateRect(h, nullptr, TRUE);
  UpdateWindow(h);
  EXPECT_EQ(g_paints, 2);
  ASSERT_TRUE(SaveWindowPng(h, png));
  EXPECT_EQ(QImage(QString::fromStdString(png)).pixelColor(5, 5), QColor(0, 0, 255));
  g_fill = RGB(0, 128, 0);
  DestroyWindow(h);
}

TEST(Painting, DrawingThroughAWindowDcStaysUntilRepainted) {
  HWND h = MakePainter(40, 20);
  ShowWindow(h, SW_SHOWNA);
  UpdateWindow(h);
  HDC dc = GetDC(h);
  ASSERT_TRUE(dc);
  SetPixel(dc, 30, 15, RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 30, 15), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 40, 15), CLR_INVALID);  // outside the client area
  ReleaseDC(h, dc);
  testsupport::TempDir dir;
  const std::string png = (dir / "w.png").string();
  ASSERT_TRUE(SaveWindowPng(h, png));
  EXPECT_EQ(QImage(QString::fromStdString(png)).pixelColor(30, 15), QColor(255, 0, 0));
  // A window that grows keeps what was drawn, and its new part is blank
  // until painted; one that shrinks keeps what still fits.
  RECT r{};
  GetWindowRect(h, &r);
  ASSERT_TRUE(MoveWindow(h, r.left, r.top, 60, 30, FALSE));
  dc = GetDC(h);
  EXPECT_EQ(GetPixel(dc, 30, 15), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 29, 15), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 50, 25), GetSysColor(COLOR_BTNFACE));
  SetPixel(dc, 5, 4, RGB(0, 0, 255));
  ReleaseDC(h, dc);
  ASSERT_TRUE(MoveWindow(h, r.left, r.top, 32, 16, FALSE));
  dc = GetDC(h);
  EXPECT_EQ(GetPixel(dc, 30, 15), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 5, 4), RGB(0, 0, 255));
  ReleaseDC(h, dc);
  DestroyWindow(h);
}

TEST(Painting, ThePictureOfAShapedWindowIsClearOutsideItsRegion) {
  HWND h = MakePainter(40, 20);
  ShowWindow(h, SW_SHOWNA);
  HRGN rgn = CreateRectRgn(0, 0, 40, 20);
  HRGN corner = CreateRectRgn(0, 0, 3, 1);
  CombineRgn(rgn, rgn, corner, RGN_DIFF);
  DeleteObject(corner);
  SetWindowRgn(h, rgn, TRUE);
  testsupport::TempDir dir;
  const std::string png = (dir / "w.png").string();
  ASSERT_TRUE(SaveWindowPng(h, png));
  QImage img(QString::fromStdString(png));
  EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(img.pixel(2, 0)), 0);
  EXPECT_EQ(qAlpha(img.pixel(3, 0)), 255);
  EXPECT_EQ(qAlpha(img.pixel(0, 1)), 255);
  DestroyWindow(h);
}

TEST(Painting, ScreenDcShowsOurWindowsAndSystemMetricsAre96Dpi) {
  HDC screen = GetDC(HWND());
  ASSERT_TRUE(screen);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
  EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
  EXPECT_EQ(GetSystemMetrics(SM_CXEDGE), 2);
  ReleaseDC(HWND(), screen);
}

namespace {
// Counts the paint events Qt delivers to a widget.
struct PaintCounter : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    paints += e->type() == QEvent::Paint;
    return false;
  }
};
}  // namespace

TEST(Painting, MovingAWindowToWhereItIsRepaintsNothing) {
  HWND h = MakePainter(40, 20);
  ShowWindow(h, SW_SHOWNA);
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  QWidget* widget = WindowWidget(h);
  ASSERT_NE(widget, nullptr);
  PaintCounter counter;
  widget->installEventFilter(&counter);
  RECT r{};
  GetWindowRect(h, &r);
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(MoveWindow(h, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE));
    QCoreApplication::processEvents();
  }
  EXPECT_EQ(counter.paints, 0);
  ASSERT_TRUE(MoveWindow(h, r.left + 5, r.top, r.right - r.left, r.bottom - r.top, TRUE));
  ASSERT_TRUE(MoveWindow(h, r.left + 5, r.top, r.right - r.left + 10, r.bottom - r.top, TRUE));
  QCoreApplication::processEvents();
  EXPECT_GE(counter.paints, 1);
  widget->removeEventFilter(&counter);
  DestroyWindow(h);
}

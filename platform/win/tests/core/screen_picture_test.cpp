// The picture behind the screen DC is fetched only where it is read or drawn
// on, and what is drawn shows above every window.

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "core/screen_picture.h"
#include "gdi/surface.h"
#include "win/testing.h"
#include "win/win.h"

using namespace win;
using detail::ScreenPicture;

namespace {

// A screen whose every pixel tells where it is.
QRgb ScreenAt(int x, int y) {
  return qRgb(x & 0xFF, y & 0xFF, (x + y) & 0xFF);
}

struct FakeScreen {
  std::vector<QRect> asked;
  ScreenPicture::Fetch fetch() {
    return [this](const QRect& area) {
      asked.push_back(area);
      QImage img(area.size(), QImage::Format_RGB32);
      for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
          img.setPixel(x, y, ScreenAt(area.x() + x, area.y() + y));
      return img;
    };
  }
};

std::uint32_t Rgb(QRgb p) {
  return p & 0xFFFFFFu;
}

}  // namespace

TEST(ScreenPicture, ReadsFetchTheTilesUnderThemOnceAndKeepWhatWasDrawn) {
  FakeScreen screen;
  ScreenPicture picture(QSize(50, 40), screen.fetch());
  detail::PixelBuffer& buf = *picture.buffer();
  EXPECT_TRUE(screen.asked.empty()) << "nothing is fetched before it is used";

  // A read across the border of two tiles: one fetch for both.
  buf.willRead(QRect(10, 3, 12, 4));
  ASSERT_EQ(screen.asked.size(), 1u);
  EXPECT_EQ(screen.asked[0], QRect(0, 0, 32, 16));
  EXPECT_EQ(buf.rgb(21, 6), Rgb(ScreenAt(21, 6)));
  EXPECT_EQ(buf.rgb(0, 15), Rgb(ScreenAt(0, 15)));
  buf.willRead(QRect(5, 5, 20, 2));
  EXPECT_EQ(screen.asked.size(), 1u) << "fetched tiles are not fetched again";

  // A pixel drawn outside every read: its tile is fetched first, then drawn on.
  buf.setRgb(40, 35, 0x010203);
  ASSERT_EQ(screen.asked.size(), 2u);
  EXPECT_EQ(screen.asked[1], QRect(32, 32, 16, 8)) << "clipped at the screen's corner";
  EXPECT_EQ(picture.drawn(), QRect(40, 35, 1, 1));
  EXPECT_EQ(Rgb(picture.pristine().pixel(40, 35)), Rgb(ScreenAt(40, 35)));
  EXPECT_EQ(buf.rgb(41, 35), Rgb(ScreenAt(41, 35)));

  // A read that spans a tile drawn on and a missing one fetches only the
  // missing one: the drawing stays.
  buf.willRead(QRect(30, 30, 20, 10));
  ASSERT_EQ(screen.asked.size(), 3u);
  EXPECT_EQ(screen.asked[2], QRect(16, 16, 34, 24)) << "the box of the missing tiles";
  EXPECT_EQ(buf.rgb(40, 35), 0x010203u);
  EXPECT_EQ(buf.rgb(20, 20), Rgb(ScreenAt(20, 20)));

  // Reads outside the screen ask for nothing.
  buf.willRead(QRect(-10, -10, 5, 5));
  buf.willRead(QRect(60, 0, 5, 5));
  EXPECT_EQ(screen.asked.size(), 3u);
  EXPECT_TRUE(picture.fetched(49, 39));
  EXPECT_FALSE(picture.fetched(49, 0));
}

TEST(ScreenPicture, AFailedFetchLeavesTheTilesBlackRatherThanUnset) {
  ScreenPicture picture(QSize(20, 20), [](const QRect&) { return QImage(); });
  EXPECT_EQ(picture.buffer()->rgb(3, 3), 0u);
  EXPECT_TRUE(picture.fetched(3, 3));
}

TEST(ScreenPicture, TheScreenDcReadsAcrossWindowsAndShowsOnlyWhatChanged) {
  // Our own window over the desktop colour (the offscreen platform has no
  // real screen to grab).
  WNDCLASSEXA wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "ScreenPictureWindow";
  wc.hbrBackground = CreateSolidBrush(RGB(0, 128, 0));
  RegisterClassExA(&wc);
  HWND h = CreateWindowExA(0, "ScreenPictureWindow", "", WS_POPUP, 100, 100, 40, 20, HWND(),
                           HMENU(), HINSTANCE(), nullptr);
  ASSERT_TRUE(h);
  ShowWindow(h, SW_SHOWNA);
  UpdateWindow(h);
  QCoreApplication::processEvents();
  const COLORREF desktop = GetSysColor(COLOR_DESKTOP);

  HDC screen = GetDC(HWND());
  ASSERT_TRUE(screen);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 30, 10);
  HGDIOBJ old = SelectObject(mem, bmp);
  // From the desktop into the window, across tiles in both directions.
  BitBlt(mem, 0, 0, 30, 10, screen, 90, 95, SRCCOPY);
  EXPECT_EQ(GetPixel(mem, 0, 0), desktop);
  EXPECT_EQ(GetPixel(mem, 9, 9), desktop);
  EXPECT_EQ(GetPixel(mem, 10, 5), RGB(0, 128, 0));
  EXPECT_EQ(GetPixel(mem, 29, 9), RGB(0, 128, 0));
  EXPECT_EQ(GetPixel(screen, 139, 119), RGB(0, 128, 0));
  EXPECT_EQ(GetPixel(screen, 140, 119), desktop);

  // Drawing far from what was read shows; drawing the screen's own colour
  // changes nothing, so nothing shows there.
  SetPixel(screen, 300, 300, RGB(9, 8, 7));
  SetPixel(screen, 302, 300, desktop);
  SetPixel(screen, 110, 110, RGB(0, 128, 0));
  ReleaseDC(HWND(), screen);
  EXPECT_EQ(win::testing::ScreenOverlayPixel(300, 300), RGB(9, 8, 7));
  EXPECT_FALSE(win::testing::ScreenOverlayPixel(302, 300).has_value());
  EXPECT_FALSE(win::testing::ScreenOverlayPixel(110, 110).has_value());
  EXPECT_FALSE(win::testing::ScreenOverlayPixel(301, 300).has_value());

  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  DestroyWindow(h);
}

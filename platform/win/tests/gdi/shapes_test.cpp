// Pixel rules of lines and shapes, pens, brushes and binary raster modes.

#include <gtest/gtest.h>

#include <vector>

#include "canvas_fixture.h"
#include "gdi/layer_calls.h"

using namespace win;
using gditest::kBlack;
using gditest::kRed;
using gditest::kWhite;
using gditest::Owned;
using gditest::Surface;

namespace {
std::vector<POINT> Drawn(const Surface& s, int w, int h, COLORREF background = kWhite) {
  std::vector<POINT> out;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (s.at(x, y) != background) out.push_back(POINT{x, y});
  return out;
}
}  // namespace

TEST(Lines, LeaveOutTheirEndPoint) {
  {
    Surface s(12, 3);
    MoveToEx(s.dc(), 0, 1, nullptr);
    LineTo(s.dc(), 10, 1);
    const auto px = Drawn(s, 12, 3);
    ASSERT_EQ(px.size(), 10u);
    EXPECT_EQ(px.front(), (POINT{0, 1}));
    EXPECT_EQ(px.back(), (POINT{9, 1}));
  }
  {
    // Drawn backwards, the first point is in and the last still out.
    Surface s(12, 3);
    MoveToEx(s.dc(), 10, 1, nullptr);
    LineTo(s.dc(), 0, 1);
    const auto px = Drawn(s, 12, 3);
    ASSERT_EQ(px.size(), 10u);
    EXPECT_EQ(px.front(), (POINT{1, 1}));
    EXPECT_EQ(px.back(), (POINT{10, 1}));
  }
  {
    Surface s(3, 10);
    MoveToEx(s.dc(), 1, 2, nullptr);
    LineTo(s.dc(), 1, 8);
    const auto px = Drawn(s, 3, 10);
    ASSERT_EQ(px.size(), 6u);
    EXPECT_EQ(px.front(), (POINT{1, 2}));
    EXPECT_EQ(px.back(), (POINT{1, 7}));
  }
  {
    Surface s(8, 8);
    MoveToEx(s.dc(), 0, 0, nullptr);
    LineTo(s.dc(), 5, 5);
    const auto px = Drawn(s, 8, 8);
    ASSERT_EQ(px.size(), 5u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(px[i], (POINT{i, i}));
  }
  {
    // Steep: one pixel a row, the end row left out.
    Surface s(4, 10);
    MoveToEx(s.dc(), 0, 0, nullptr);
    LineTo(s.dc(), 2, 8);
    const auto px = Drawn(s, 4, 10);
    ASSERT_EQ(px.size(), 8u);
    for (int y = 0; y < 8; ++y) EXPECT_EQ(px[y].y, y);
    EXPECT_EQ(px.front(), (POINT{0, 0}));
    EXPECT_NE(s.at(2, 8), kBlack);
  }
}

TEST(Lines, PenStylesAndWidths) {
  Surface s(40, 12);
  Owned<HPEN> dot(CreatePen(PS_DOT, 1, kBlack));
  SelectObject(s.dc(), dot);
  SetBkMode(s.dc(), TRANSPARENT);
  MoveToEx(s.dc(), 0, 1, nullptr);
  LineTo(s.dc(), 40, 1);
  int on = 0;
  for (int x = 0; x < 40; ++x) on += s.at(x, 1) == kBlack;
  EXPECT_GT(on, 10);
  EXPECT_LT(on, 30);
  // Opaque background fills the gaps with the background colour.
  SetBkMode(s.dc(), OPAQUE);
  SetBkColor(s.dc(), kRed);
  MoveToEx(s.dc(), 0, 3, nullptr);
  LineTo(s.dc(), 40, 3);
  for (int x = 0; x < 40; ++x) EXPECT_NE(s.at(x, 3), kWhite);
  // A wide pen covers rows around the line.
  Owned<HPEN> wide(CreatePen(PS_SOLID, 3, kBlack));
  SelectObject(s.dc(), wide);
  MoveToEx(s.dc(), 5, 8, nullptr);
  LineTo(s.dc(), 30, 8);
  EXPECT_EQ(s.at(15, 7), kBlack);
  EXPECT_EQ(s.at(15, 8), kBlack);
  EXPECT_EQ(s.at(15, 9), kBlack);
  EXPECT_EQ(s.at(15, 10), kWhite);
  // A null pen draws nothing but still moves.
  SelectObject(s.dc(), GetStockObject(NULL_PEN));
  MoveToEx(s.dc(), 0, 11, nullptr);
  LineTo(s.dc(), 40, 11);
  EXPECT_EQ(s.at(3, 11), kWhite);
  SelectObject(s.dc(), GetStockObject(BLACK_PEN));
}

TEST(Shapes, RectangleExcludesRightAndBottomEdges) {
  Surface s(12, 10);
  Owned<HBRUSH> red(CreateSolidBrush(kRed));
  HGDIOBJ oldBrush = SelectObject(s.dc(), red);
  ASSERT_TRUE(Rectangle(s.dc(), 2, 2, 8, 6));
  EXPECT_EQ(s.at(2, 2), kBlack);
  EXPECT_EQ(s.at(7, 2), kBlack);
  EXPECT_EQ(s.at(7, 5), kBlack);
  EXPECT_EQ(s.at(2, 5), kBlack);
  EXPECT_EQ(s.at(3, 3), kRed);
  EXPECT_EQ(s.at(6, 4), kRed);
  EXPECT_EQ(s.at(8, 3), kWhite);
  EXPECT_EQ(s.at(3, 6), kWhite);
  // A null pen lets the brush cover the whole area.
  Surface t(12, 10);
  SelectObject(t.dc(), red);
  SelectObject(t.dc(), GetStockObject(NULL_PEN));
  Rectangle(t.dc(), 2, 2, 8, 6);
  EXPECT_EQ(t.at(2, 2), kRed);
  EXPECT_EQ(t.at(7, 5), kRed);
  EXPECT_EQ(t.at(8, 5), kWhite);
  EXPECT_EQ(t.at(7, 6), kWhite);
  // A null brush leaves the inside alone.
  Surface u(12, 10);
  SelectObject(u.dc(), GetStockObject(NULL_BRUSH));
  Rectangle(u.dc(), 2, 2, 8, 6);
  EXPECT_EQ(u.at(2, 2), kBlack);
  EXPECT_EQ(u.at(4, 4), kWhite);
  // An inside-frame pen stays within the box.
  Surface v(12, 12);
  Owned<HPEN> thick(CreatePen(PS_INSIDEFRAME, 3, kBlack));
  SelectObject(v.dc(), thick);
  Rectangle(v.dc(), 1, 1, 11, 11);
  EXPECT_EQ(v.at(1, 1), kBlack);
  EXPECT_EQ(v.at(3, 5), kBlack);
  EXPECT_EQ(v.at(4, 5), kWhite);
  EXPECT_EQ(v.at(0, 5), kWhite);
  EXPECT_EQ(v.at(11, 5), kWhite);
  SelectObject(v.dc(), GetStockObject(BLACK_PEN));
  SelectObject(s.dc(), oldBrush);
  SelectObject(t.dc(), GetStockObject(WHITE_BRUSH));
  SelectObject(t.dc(), GetStockObject(BLACK_PEN));
}

TEST(Shapes, FillRectAndFrameRect) {
  Surface s(10, 10);
  Owned<HBRUSH> red(CreateSolidBrush(kRed));
  const RECT r{2, 2, 8, 6};
  EXPECT_TRUE(FillRect(s.dc(), &r, red));
  EXPECT_EQ(s.at(2, 2), kRed);
  EXPECT_EQ(s.at(7, 5), kRed);
  EXPECT_EQ(s.at(8, 5), kWhite);
  EXPECT_EQ(s.at(7, 6), kWhite);
  // A system colour index plus one stands for its brush.
  const RECT face{0, 8, 10, 10};
  EXPECT_TRUE(FillRect(s.dc(), &face, HBRUSH(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1))));
  EXPECT_EQ(s.at(0, 9), GetSysColor(COLOR_BTNFACE));
  // An empty or inverted rectangle fills nothing.
  const RECT inverted{6, 6, 2, 2};
  FillRect(s.dc(), &inverted, red);
  EXPECT_EQ(s.at(4, 7), kWhite);
  Surface f(10, 10);
  EXPECT_TRUE(FrameRect(f.dc(), &r, red));
  EXPECT_EQ(f.at(2, 2), kRed);
  EXPECT_EQ(f.at(7, 5), kRed);
  EXPECT_EQ(f.at(4, 4), kWhite);
  EXPECT_EQ(f.at(8, 4), kWhite);
  // DrawFocusRect twice restores.
  DrawFocusRect(f.dc(), &r);
  EXPECT_NE(f.at(2, 2), kRed);
  EXPECT_EQ(f.at(4, 4), kWhite);
  DrawFocusRect(f.dc(), &r);
  EXPECT_EQ(f.at(2, 2), kRed);
}

TEST(Shapes, PolygonAndArcStayInTheirBox) {
  Owned<HBRUSH> red(CreateSolidBrush(kRed));
  Surface p(20, 20);
  SelectObject(p.dc(), red);
  SelectObject(p.dc(), GetStockObject(NULL_PEN));
  const POINT tri[] = {{0, 0}, {10, 0}, {0, 10}};
  Polygon(p.dc(), tri, 3);
  EXPECT_EQ(p.at(1, 1), kRed);
  EXPECT_EQ(p.at(9, 0), kRed);
  EXPECT_EQ(p.at(10, 0), kWhite);
  EXPECT_EQ(p.at(8, 8), kWhite);
  // An arc with start and end on one radial draws the whole outline, no fill.
  Surface a(20, 20);
  Arc(a.dc(), 2, 2, 12, 12, 2, 2, 2, 2);
  EXPECT_EQ(a.at(2, 7), kBlack);
  EXPECT_EQ(a.at(7, 2), kBlack);
  EXPECT_EQ(a.at(7, 7), kWhite);
  SelectObject(p.dc(), GetStockObject(WHITE_BRUSH));
  SelectObject(p.dc(), GetStockObject(BLACK_PEN));
}

TEST(Pixels, GetPixelOutsideTheBitmapOrClipIsInvalid) {
  Surface s(4, 4);
  EXPECT_EQ(SetPixel(s.dc(), 1, 1, kRed), kRed);
  EXPECT_EQ(GetPixel(s.dc(), 1, 1), kRed);
  EXPECT_EQ(GetPixel(s.dc(), 4, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(s.dc(), -1, 0), CLR_INVALID);
  EXPECT_EQ(SetPixel(s.dc(), 9, 9, kRed), CLR_INVALID);
  Owned<HRGN> corner(CreateRectRgn(0, 0, 2, 2));
  SelectClipRgn(s.dc(), corner);
  EXPECT_EQ(GetPixel(s.dc(), 3, 3), CLR_INVALID);
  EXPECT_EQ(GetPixel(s.dc(), 1, 1), kRed);
  SelectClipRgn(s.dc(), HRGN());
  EXPECT_EQ(GetPixel(s.dc(), 3, 3), kWhite);
  EXPECT_EQ(GetPixel(HDC(), 0, 0), CLR_INVALID);
  // Monochrome bitmaps read black or white; colours map to the nearer.
  Surface m(2, 1, kBlack, 1);
  EXPECT_EQ(SetPixel(m.dc(), 0, 0, RGB(250, 240, 200)), kWhite);
  EXPECT_EQ(m.at(1, 0), kBlack);
}

TEST(Edges, RaisedEdgeColoursAndAdjust) {
  Surface s(10, 10, GetSysColor(COLOR_BTNFACE));
  RECT r{0, 0, 10, 10};
  ASSERT_TRUE(DrawEdge(s.dc(), &r, EDGE_RAISED, BF_RECT | BF_ADJUST));
  EXPECT_EQ(s.at(0, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(s.at(9, 9), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(s.at(9, 0), GetSysColor(COLOR_3DDKSHADOW));  // bottom-right colour owns the corner
  EXPECT_EQ(s.at(1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(s.at(8, 8), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(r, (RECT{2, 2, 8, 8}));
  Surface t(6, 6, kWhite);
  RECT q{0, 0, 6, 6};
  DrawEdge(t.dc(), &q, BDR_SUNKENOUTER, BF_TOPLEFT);
  EXPECT_EQ(t.at(0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(t.at(5, 5), kWhite);
}

TEST(Edges, FrameControlsDrawRecognisableGlyphs) {
  Surface s(16, 16, kRed);
  RECT r{0, 0, 16, 16};
  ASSERT_TRUE(DrawFrameControl(s.dc(), &r, DFC_MENU, DFCS_MENUCHECK));
  // Black on white: the glyph and its background, nothing else.
  int black = 0, white = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const COLORREF c = s.at(x, y);
      black += c == kBlack;
      white += c == kWhite;
    }
  EXPECT_GT(black, 10);
  EXPECT_EQ(black + white, 256);
  ASSERT_TRUE(DrawFrameControl(s.dc(), &r, DFC_MENU, DFCS_MENUBULLET));
  EXPECT_EQ(s.at(8, 8), kBlack);
  EXPECT_EQ(s.at(1, 1), kWhite);
  ASSERT_TRUE(DrawFrameControl(s.dc(), &r, DFC_CAPTION, DFCS_CAPTIONCLOSE));
  EXPECT_EQ(s.at(15, 15), GetSysColor(COLOR_3DDKSHADOW));
  ASSERT_TRUE(DrawFrameControl(s.dc(), &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED));
  EXPECT_FALSE(DrawFrameControl(s.dc(), &r, 99, 0));
}

TEST(Robustness, HugeCoordinatesAndBadArgumentsAreHarmless) {
  Surface s(8, 8);
  Owned<HBRUSH> red(CreateSolidBrush(kRed));
  SelectObject(s.dc(), red);
  EXPECT_TRUE(Rectangle(s.dc(), -1000000, -1000000, 1000000, 1000000));
  EXPECT_EQ(s.at(0, 0), kRed);  // the frame is far outside
  MoveToEx(s.dc(), 0, 3, nullptr);
  EXPECT_TRUE(LineTo(s.dc(), 2000000000, 3));
  EXPECT_EQ(s.at(7, 3), kBlack);
  Surface src(2, 2, kWhite);
  EXPECT_TRUE(StretchBlt(s.dc(), 0, 0, 1000000, 1000000, src.dc(), 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(s.at(7, 7), kWhite);
  // Null pointers and nonsense sizes fail instead of crashing.
  EXPECT_EQ(FillRect(s.dc(), nullptr, red), 0);
  EXPECT_FALSE(Polygon(s.dc(), nullptr, 3));
  EXPECT_FALSE(DrawEdge(s.dc(), nullptr, EDGE_RAISED, BF_RECT));
  EXPECT_FALSE(GradientFill(s.dc(), nullptr, 0, nullptr, 0, GRADIENT_FILL_RECT_H));
  EXPECT_FALSE(CreatePen(42, 1, kRed));
  EXPECT_FALSE(CreateHatchBrush(17, kRed));
  EXPECT_FALSE(CreatePatternBrush(HBITMAP()));
  EXPECT_FALSE(CreateCompatibleBitmap(HDC(), 4, 4));
  EXPECT_FALSE(CreateCompatibleDC(HDC(77)));
  SelectObject(s.dc(), GetStockObject(WHITE_BRUSH));
}

// Regions, their combination results, and clipping of device contexts.

#include <gtest/gtest.h>

#include "canvas_fixture.h"
#include "gdi/surface.h"

using namespace win;
using gditest::kRed;
using gditest::kWhite;
using gditest::Owned;
using gditest::Surface;

TEST(Regions, CombineReportsTheResultingKind) {
  Owned<HRGN> a(CreateRectRgn(0, 0, 10, 10));
  Owned<HRGN> b(CreateRectRgn(5, 5, 15, 15));
  Owned<HRGN> far(CreateRectRgn(20, 20, 30, 30));
  Owned<HRGN> dest(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(CombineRgn(dest, a, b, RGN_AND), SIMPLEREGION);
  RECT box;
  EXPECT_EQ(GetRgnBox(dest, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{5, 5, 10, 10}));
  EXPECT_EQ(CombineRgn(dest, a, far, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(CombineRgn(dest, a, far, RGN_AND), NULLREGION);
  EXPECT_EQ(GetRgnBox(dest, &box), NULLREGION);
  EXPECT_EQ(box, (RECT{0, 0, 0, 0}));
  EXPECT_EQ(CombineRgn(dest, a, a, RGN_DIFF), NULLREGION);
  EXPECT_EQ(CombineRgn(dest, a, b, RGN_XOR), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(dest, 2, 2));
  EXPECT_FALSE(PtInRegion(dest, 7, 7));
  EXPECT_TRUE(PtInRegion(dest, 12, 12));
  EXPECT_EQ(CombineRgn(dest, b, HRGN(), RGN_COPY), SIMPLEREGION);
  EXPECT_TRUE(EqualRgn(dest, b));
  EXPECT_EQ(CombineRgn(dest, a, b, 99), ERROR);
  EXPECT_EQ(CombineRgn(dest, a, HRGN(), RGN_AND), ERROR);
  // The destination may be one of the sources.
  EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(a, 14, 14));
}

TEST(Regions, RectanglesExcludeRightAndBottomAndMove) {
  Owned<HRGN> r(CreateRectRgn(10, 10, 0, 0));  // inverted corners are put in order
  EXPECT_TRUE(PtInRegion(r, 0, 0));
  EXPECT_TRUE(PtInRegion(r, 9, 9));
  EXPECT_FALSE(PtInRegion(r, 10, 9));
  EXPECT_FALSE(PtInRegion(r, 9, 10));
  const RECT touching{10, 0, 20, 10};
  const RECT overlapping{9, 9, 20, 20};
  EXPECT_FALSE(RectInRegion(r, &touching));
  EXPECT_TRUE(RectInRegion(r, &overlapping));
  EXPECT_EQ(OffsetRgn(r, 5, 0), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(r, 14, 0));
  EXPECT_FALSE(PtInRegion(r, 4, 0));
  EXPECT_TRUE(SetRectRgn(r, 0, 0, 0, 0));
  RECT box;
  EXPECT_EQ(GetRgnBox(r, &box), NULLREGION);
  Owned<HRGN> ellipse(CreateEllipticRgn(0, 0, 10, 10));
  EXPECT_TRUE(PtInRegion(ellipse, 5, 5));
  EXPECT_FALSE(PtInRegion(ellipse, 0, 0));
  Owned<HRGN> round(CreateRoundRectRgn(0, 0, 20, 20, 8, 8));
  EXPECT_FALSE(PtInRegion(round, 0, 0));
  EXPECT_TRUE(PtInRegion(round, 10, 0));
}

TEST(Regions, CuttingOutKeyPixelsOneByOne) {
  // Build a window shape the way a skinned frame does: the whole rectangle
  // less single pixels.
  Owned<HRGN> shape(CreateRectRgn(0, 0, 20, 10));
  for (int x = 0; x < 5; ++x) {
    const HRGN pixel = CreateRectRgn(x, 0, x + 1, 1);
    EXPECT_EQ(CombineRgn(shape, shape, pixel, RGN_DIFF), COMPLEXREGION);
    EXPECT_TRUE(DeleteObject(pixel));
  }
  EXPECT_FALSE(PtInRegion(shape, 4, 0));
  EXPECT_TRUE(PtInRegion(shape, 5, 0));
  EXPECT_TRUE(PtInRegion(shape, 0, 1));
  const auto q = detail::RegionOf(shape);
  ASSERT_TRUE(q.has_value());
  EXPECT_EQ(q->boundingRect(), QRect(0, 0, 20, 10));
  EXPECT_FALSE(detail::RegionOf(HRGN()).has_value());
  Owned<HRGN> adopted(detail::AdoptRegion(QRegion(1, 1, 2, 2)));
  EXPECT_TRUE(PtInRegion(adopted, 2, 2));
}

TEST(Regions, FillFrameAndInvert) {
  Surface s(10, 10);
  Owned<HRGN> r(CreateRectRgn(2, 2, 8, 8));
  Owned<HBRUSH> red(CreateSolidBrush(kRed));
  EXPECT_TRUE(FrameRgn(s.dc(), r, red, 1, 1));
  EXPECT_EQ(s.at(2, 2), kRed);
  EXPECT_EQ(s.at(7, 7), kRed);
  EXPECT_EQ(s.at(4, 4), kWhite);
  EXPECT_TRUE(FillRgn(s.dc(), r, red));
  EXPECT_EQ(s.at(4, 4), kRed);
  EXPECT_EQ(s.at(8, 8), kWhite);
  EXPECT_TRUE(InvertRgn(s.dc(), r));
  EXPECT_EQ(s.at(4, 4), RGB(0, 255, 255));
  EXPECT_FALSE(FillRgn(s.dc(), HRGN(), red));
}

TEST(Clipping, SelectIntersectExcludeAndReset) {
  Surface s(10, 10);
  Owned<HBRUSH> red(CreateSolidBrush(kRed));
  const RECT all{0, 0, 10, 10};
  Owned<HRGN> clip(CreateRectRgn(0, 0, 5, 5));
  EXPECT_EQ(SelectClipRgn(s.dc(), clip), SIMPLEREGION);
  // The DC keeps its own copy: changing or deleting the region does not matter.
  SetRectRgn(clip, 0, 0, 10, 10);
  FillRect(s.dc(), &all, red);
  EXPECT_EQ(s.at(4, 4), kRed);
  SelectClipRgn(s.dc(), HRGN());
  EXPECT_EQ(s.at(5, 5), kWhite);
  RECT box;
  EXPECT_EQ(GetClipBox(s.dc(), &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{0, 0, 10, 10}));
  EXPECT_EQ(ExcludeClipRect(s.dc(), 0, 0, 10, 5), SIMPLEREGION);
  EXPECT_EQ(IntersectClipRect(s.dc(), 0, 0, 3, 10), SIMPLEREGION);
  EXPECT_EQ(GetClipBox(s.dc(), &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{0, 5, 3, 10}));
  EXPECT_TRUE(PtVisible(s.dc(), 1, 6));
  EXPECT_FALSE(PtVisible(s.dc(), 1, 1));
  const RECT outside{5, 0, 9, 4};
  EXPECT_FALSE(RectVisible(s.dc(), &outside));
  Owned<HRGN> copy(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetClipRgn(s.dc(), copy), 1);
  EXPECT_TRUE(PtInRegion(copy, 2, 9));
  EXPECT_EQ(IntersectClipRect(s.dc(), 7, 0, 9, 2), NULLREGION);
  SelectClipRgn(s.dc(), HRGN());
  EXPECT_EQ(GetClipRgn(s.dc(), copy), 0);
  // Clip rectangles are logical, the clip region itself is in device units.
  SetViewportOrgEx(s.dc(), 2, 2, nullptr);
  IntersectClipRect(s.dc(), 0, 0, 2, 2);
  EXPECT_EQ(GetClipBox(s.dc(), &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{0, 0, 2, 2}));
  SetViewportOrgEx(s.dc(), 0, 0, nullptr);
  EXPECT_TRUE(PtVisible(s.dc(), 3, 3));
  EXPECT_FALSE(PtVisible(s.dc(), 1, 1));
  EXPECT_EQ(SelectClipRgn(HDC(), HRGN()), ERROR);
}

TEST(RectHelpers, HalfOpenRectangleArithmetic) {
  RECT r;
  SetRect(&r, 0, 0, 10, 10);
  EXPECT_TRUE(PtInRect(&r, POINT{0, 0}));
  EXPECT_FALSE(PtInRect(&r, POINT{10, 5}));
  EXPECT_FALSE(PtInRect(&r, POINT{5, 10}));
  RECT i;
  const RECT other{5, 5, 15, 15};
  EXPECT_TRUE(IntersectRect(&i, &r, &other));
  EXPECT_EQ(i, (RECT{5, 5, 10, 10}));
  const RECT touching{10, 0, 20, 10};
  EXPECT_FALSE(IntersectRect(&i, &r, &touching));
  EXPECT_TRUE(IsRectEmpty(&i));
  RECT u;
  EXPECT_TRUE(UnionRect(&u, &r, &other));
  EXPECT_EQ(u, (RECT{0, 0, 15, 15}));
  const RECT empty{3, 3, 3, 9};
  EXPECT_TRUE(UnionRect(&u, &empty, &r));
  EXPECT_EQ(u, r);
  RECT rest;
  const RECT top{0, 0, 10, 4};
  EXPECT_TRUE(SubtractRect(&rest, &r, &top));
  EXPECT_EQ(rest, (RECT{0, 4, 10, 10}));
  const RECT middle{2, 2, 8, 8};  // leaves no rectangle: the first one stays
  EXPECT_TRUE(SubtractRect(&rest, &r, &middle));
  EXPECT_EQ(rest, r);
  EXPECT_FALSE(SubtractRect(&rest, &r, &r));
  InflateRect(&r, 2, -1);
  EXPECT_EQ(r, (RECT{-2, 1, 12, 9}));
  OffsetRect(&r, 2, -1);
  EXPECT_EQ(r, (RECT{0, 0, 14, 8}));
  RECT copy;
  CopyRect(&copy, &r);
  EXPECT_TRUE(EqualRect(&copy, &r));
  SetRectEmpty(&copy);
  EXPECT_TRUE(IsRectEmpty(&copy));
  EXPECT_FALSE(EqualRect(&copy, &r));
  EXPECT_FALSE(SetRect(nullptr, 0, 0, 1, 1));
}

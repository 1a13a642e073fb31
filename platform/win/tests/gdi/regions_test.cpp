// Regions, their combination results, and clipping of device contexts.

#include <gtest/gtest.h>

#include "canvas_fixture.h"
#include "gdi/layer_calls.h"
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

TEST(Regions, RectanglesExcludeRightAndBottom) {
  Owned<HRGN> r(CreateRectRgn(10, 10, 0, 0));  // inverted corners are put in order
  EXPECT_TRUE(PtInRegion(r, 0, 0));
  EXPECT_TRUE(PtInRegion(r, 9, 9));
  EXPECT_FALSE(PtInRegion(r, 10, 9));
  EXPECT_FALSE(PtInRegion(r, 9, 10));
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

TEST(Clipping, TheDcKeepsItsOwnCopyOfTheRegion) {
  Surface s(10, 10);
  Owned<HBRUSH> red(CreateSolidBrush(kRed));
  const RECT all{0, 0, 10, 10};
  Owned<HRGN> clip(CreateRectRgn(0, 0, 5, 5));
  EXPECT_EQ(SelectClipRgn(s.dc(), clip), SIMPLEREGION);
  // Changing or deleting the region afterwards does not matter.
  Owned<HRGN> whole(CreateRectRgn(0, 0, 10, 10));
  CombineRgn(clip, whole, HRGN(), RGN_COPY);
  FillRect(s.dc(), &all, red);
  EXPECT_EQ(s.at(4, 4), kRed);
  SelectClipRgn(s.dc(), HRGN());
  EXPECT_EQ(s.at(5, 5), kWhite);
  EXPECT_EQ(SelectClipRgn(HDC(), HRGN()), ERROR);
}

TEST(RectHelpers, HalfOpenRectangleArithmetic) {
  RECT r{0, 0, 10, 10};
  EXPECT_TRUE(PtInRect(&r, POINT{0, 0}));
  EXPECT_FALSE(PtInRect(&r, POINT{10, 5}));
  EXPECT_FALSE(PtInRect(&r, POINT{5, 10}));
  InflateRect(&r, 2, -1);
  EXPECT_EQ(r, (RECT{-2, 1, 12, 9}));
  OffsetRect(&r, 2, -1);
  EXPECT_EQ(r, (RECT{0, 0, 14, 8}));
}

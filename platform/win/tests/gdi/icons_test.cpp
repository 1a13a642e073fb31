// Icons: masks, colour parts, drawing and conversion to and from images.

#include <gtest/gtest.h>

#include <QImage>

#include "canvas_fixture.h"
#include "win/qt_bridge.h"

using namespace win;
using gditest::kBlack;
using gditest::kBlue;
using gditest::kGreen;
using gditest::kRed;
using gditest::kWhite;
using gditest::Owned;
using gditest::Surface;

namespace {
// A 4x4 icon: red, with its left half transparent.
HICON MakeIcon() {
  Surface mask(4, 4, kBlack, 1);
  const RECT left{0, 0, 2, 4};
  FillRect(mask.dc(), &left, HBRUSH(GetStockObject(WHITE_BRUSH)));
  Surface colour(4, 4, kRed);
  FillRect(colour.dc(), &left, HBRUSH(GetStockObject(BLACK_BRUSH)));
  ICONINFO info;
  info.fIcon = TRUE;
  info.hbmMask = mask.bitmap();
  info.hbmColor = colour.bitmap();
  return CreateIconIndirect(&info);
}
}  // namespace

TEST(Icons, DrawLeavesMaskedPixelsAlone) {
  const HICON icon = MakeIcon();
  ASSERT_TRUE(icon);
  Surface s(10, 10, kGreen);
  SetTextColor(s.dc(), kBlue);  // the DC's colours must not leak into the mask
  SetBkColor(s.dc(), kBlue);
  ASSERT_TRUE(DrawIconEx(s.dc(), 1, 1, icon, 0, 0, 0, HBRUSH(), DI_NORMAL));
  EXPECT_EQ(s.at(1, 1), kGreen);
  EXPECT_EQ(s.at(2, 4), kGreen);
  EXPECT_EQ(s.at(3, 1), kRed);
  EXPECT_EQ(s.at(4, 4), kRed);
  EXPECT_EQ(s.at(5, 1), kGreen);
  EXPECT_EQ(GetTextColor(s.dc()), kBlue);
  // Stretched to twice the size.
  Surface big(10, 10, kGreen);
  ASSERT_TRUE(DrawIconEx(big.dc(), 0, 0, icon, 8, 8, 0, HBRUSH(), DI_NORMAL));
  EXPECT_EQ(big.at(3, 7), kGreen);
  EXPECT_EQ(big.at(4, 0), kRed);
  EXPECT_EQ(big.at(7, 7), kRed);
  EXPECT_EQ(big.at(8, 8), kGreen);
  // The mask or the image alone.
  Surface m(4, 4, kGreen);
  DrawIconEx(m.dc(), 0, 0, icon, 0, 0, 0, HBRUSH(), DI_MASK);
  EXPECT_EQ(m.at(0, 0), kWhite);
  EXPECT_EQ(m.at(3, 0), kBlack);
  DrawIconEx(m.dc(), 0, 0, icon, 0, 0, 0, HBRUSH(), DI_IMAGE);
  EXPECT_EQ(m.at(3, 0), kRed);
  EXPECT_EQ(m.at(0, 0), kBlack);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
  EXPECT_FALSE(DrawIconEx(s.dc(), 0, 0, icon, 0, 0, 0, HBRUSH(), DI_NORMAL));
}

TEST(Icons, InfoDescribesTheIcon) {
  const HICON icon = MakeIcon();
  ICONINFO info;
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP bm;
  GetObjectA(info.hbmMask, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 4);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(info.xHotspot, 2u);
  EXPECT_TRUE(DeleteObject(info.hbmMask));
  EXPECT_TRUE(DeleteObject(info.hbmColor));
  const QImage image = ToQImage(icon);
  ASSERT_EQ(image.size(), QSize(4, 4));
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
  EXPECT_EQ(image.pixel(3, 3), qRgb(255, 0, 0));
  DestroyIcon(icon);
  ICONINFO bad;
  EXPECT_FALSE(CreateIconIndirect(&bad));
  EXPECT_FALSE(GetIconInfo(icon, &info));
}

TEST(Icons, FromImagesWithAlpha) {
  QImage image(3, 1, QImage::Format_ARGB32);
  image.setPixel(0, 0, qRgba(0, 0, 255, 255));
  image.setPixel(1, 0, qRgba(0, 0, 0, 0));
  image.setPixel(2, 0, qRgba(255, 0, 0, 255));
  const HICON icon = IconFromQImage(image);
  ASSERT_TRUE(icon);
  Surface s(3, 1, kGreen);
  DrawIconEx(s.dc(), 0, 0, icon, 0, 0, 0, HBRUSH(), DI_NORMAL);
  EXPECT_EQ(s.at(0, 0), kBlue);
  EXPECT_EQ(s.at(1, 0), kGreen);
  EXPECT_EQ(s.at(2, 0), kRed);
  const QImage back = ToQImage(icon);
  EXPECT_EQ(qAlpha(back.pixel(1, 0)), 0);
  EXPECT_EQ(back.pixel(2, 0), qRgba(255, 0, 0, 255));
  DestroyIcon(icon);
  EXPECT_FALSE(IconFromQImage(QImage()));
}

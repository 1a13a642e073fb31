// Raster operations, colour/monochrome conversions, stretching and gradients.

#include <gtest/gtest.h>

#include <cstdint>

#include "canvas_fixture.h"
#include "gdi/layer_calls.h"

using namespace win;
using gditest::kBlue;
using gditest::kGreen;
using gditest::kRed;
using gditest::kWhite;
using gditest::Owned;
using gditest::Surface;

namespace {

// Pattern 0xF0, source 0xCC and destination 0xAA in every channel: the result
// of any ternary operation is then its own code byte in every channel.
constexpr COLORREF kP = RGB(0xF0, 0xF0, 0xF0);
constexpr COLORREF kS = RGB(0xCC, 0xCC, 0xCC);
constexpr COLORREF kD = RGB(0xAA, 0xAA, 0xAA);

COLORREF Blit(DWORD rop) {
  Surface src(2, 2, kS);
  Surface dest(2, 2, kD);
  Owned<HBRUSH> brush(CreateSolidBrush(kP));
  SelectObject(dest.dc(), brush);
  EXPECT_TRUE(BitBlt(dest.dc(), 0, 0, 2, 2, src.dc(), 0, 0, rop));
  const COLORREF result = dest.at(1, 1);
  SelectObject(dest.dc(), GetStockObject(WHITE_BRUSH));
  return result;
}

COLORREF Grey(int v) {
  return RGB(v, v, v);
}

}  // namespace

TEST(RasterOps, NamedOperationsCombinePatternSourceAndDestination) {
  EXPECT_EQ(Blit(SRCCOPY), Grey(0xCC));
  EXPECT_EQ(Blit(SRCPAINT), Grey(0xCC | 0xAA));
  EXPECT_EQ(Blit(SRCAND), Grey(0xCC & 0xAA));
  EXPECT_EQ(Blit(SRCINVERT), Grey(0xCC ^ 0xAA));
  EXPECT_EQ(Blit(SRCERASE), Grey(0xCC & ~0xAA & 0xFF));
  EXPECT_EQ(Blit(NOTSRCCOPY), Grey(~0xCC & 0xFF));
  EXPECT_EQ(Blit(NOTSRCERASE), Grey(~(0xCC | 0xAA) & 0xFF));
  EXPECT_EQ(Blit(MERGECOPY), Grey(0xF0 & 0xCC));
  EXPECT_EQ(Blit(MERGEPAINT), Grey((~0xCC | 0xAA) & 0xFF));
  EXPECT_EQ(Blit(PATCOPY), Grey(0xF0));
  EXPECT_EQ(Blit(PATPAINT), Grey((0xF0 | ~0xCC | 0xAA) & 0xFF));
  EXPECT_EQ(Blit(PATINVERT), Grey(0xF0 ^ 0xAA));
  EXPECT_EQ(Blit(DSTINVERT), Grey(~0xAA & 0xFF));
  EXPECT_EQ(Blit(BLACKNESS), Grey(0));
  EXPECT_EQ(Blit(WHITENESS), Grey(0xFF));
}

TEST(RasterOps, EveryTernaryCodeByNumber) {
  // 0x00220326 is "destination AND NOT source" (used to black out key pixels).
  EXPECT_EQ(Blit(0x00220326), Grey(0xAA & ~0xCC & 0xFF));
  // 0x00E20746 takes the pattern where the source is set, keeps the destination elsewhere.
  EXPECT_EQ(Blit(0x00E20746), Grey((0xCC & 0xF0) | (~0xCC & 0xAA & 0xFF)));
  // 0x00B8074A the other way round: the destination where the source is set.
  EXPECT_EQ(Blit(0x00B8074A), Grey((0xCC & 0xAA) | (~0xCC & 0xF0 & 0xFF)));
  for (int code = 0; code < 256; code += 7) {
    SCOPED_TRACE(code);
    EXPECT_EQ(Blit(static_cast<DWORD>(code) << 16), Grey(code));
  }
}

TEST(ColourMono, ColourToMonoMarksSourceBackgroundAsWhite) {
  Surface src(3, 1, kRed);
  SetPixel(src.dc(), 1, 0, kBlue);
  SetPixel(src.dc(), 2, 0, kWhite);
  Surface mono(3, 1, gditest::kBlack, 1);
  SetBkColor(src.dc(), kBlue);
  ASSERT_TRUE(BitBlt(mono.dc(), 0, 0, 3, 1, src.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(mono.at(0, 0), gditest::kBlack);
  EXPECT_EQ(mono.at(1, 0), gditest::kWhite);  // equal to the source's background colour
  EXPECT_EQ(mono.at(2, 0), gditest::kBlack);  // white, but not the background colour
}

TEST(ColourMono, MonoToColourUsesDestinationTextAndBackground) {
  Surface mono(2, 1, gditest::kBlack, 1);
  SetPixel(mono.dc(), 1, 0, kWhite);
  Surface dest(2, 1, kWhite);
  SetTextColor(dest.dc(), kRed);
  SetBkColor(dest.dc(), kGreen);
  // The source DC's colours play no part.
  SetTextColor(mono.dc(), kBlue);
  SetBkColor(mono.dc(), kBlue);
  ASSERT_TRUE(BitBlt(dest.dc(), 0, 0, 2, 1, mono.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(dest.at(0, 0), kRed);
  EXPECT_EQ(dest.at(1, 0), kGreen);
}

TEST(ColourMono, MonochromePatternBrushTakesTextAndBackgroundColours) {
  // Rows alternate 0xAAAA and 0x5555: a checker of one-pixel squares.
  const std::uint32_t bits[4] = {0x5555AAAA, 0x5555AAAA, 0x5555AAAA, 0x5555AAAA};
  Owned<HBITMAP> pattern(CreateBitmap(8, 8, 1, 1, bits));
  Owned<HBRUSH> brush(CreatePatternBrush(pattern));
  ASSERT_TRUE(brush.get());
  Surface s(4, 2);
  SetTextColor(s.dc(), kRed);
  SetBkColor(s.dc(), kGreen);
  const RECT r{0, 0, 4, 2};
  FillRect(s.dc(), &r, brush);
  EXPECT_EQ(s.at(0, 0), kGreen);  // bit 1
  EXPECT_EQ(s.at(1, 0), kRed);    // bit 0
  EXPECT_EQ(s.at(0, 1), kRed);
  EXPECT_EQ(s.at(1, 1), kGreen);
}

TEST(Stretch, ExactDoublingAndMirroring) {
  Surface src(2, 2);
  SetPixel(src.dc(), 0, 0, kRed);
  SetPixel(src.dc(), 1, 0, kGreen);
  SetPixel(src.dc(), 0, 1, kBlue);
  SetPixel(src.dc(), 1, 1, gditest::kBlack);
  Surface dest(4, 4);
  ASSERT_TRUE(StretchBlt(dest.dc(), 0, 0, 4, 4, src.dc(), 0, 0, 2, 2, SRCCOPY));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      SCOPED_TRACE(testing::Message() << x << "," << y);
      EXPECT_EQ(dest.at(x, y), src.at(x / 2, y / 2));
    }
  }
  // A negative destination width covers [x - w, x) from the right: a mirror image.
  Surface row(4, 1);
  Surface line(4, 1);
  for (int x = 0; x < 4; ++x) SetPixel(row.dc(), x, 0, RGB(x * 60, 0, 0));
  ASSERT_TRUE(StretchBlt(line.dc(), 4, 0, -4, 1, row.dc(), 0, 0, 4, 1, SRCCOPY));
  for (int x = 0; x < 4; ++x) EXPECT_EQ(line.at(x, 0), RGB((3 - x) * 60, 0, 0));
  // Upside down through a negative source height.
  Surface column(1, 3);
  Surface flipped(1, 3);
  for (int y = 0; y < 3; ++y) SetPixel(column.dc(), 0, y, RGB(0, y * 80, 0));
  ASSERT_TRUE(StretchBlt(flipped.dc(), 0, 0, 1, 3, column.dc(), 0, 3, 1, -3, SRCCOPY));
  for (int y = 0; y < 3; ++y) EXPECT_EQ(flipped.at(0, y), RGB(0, (2 - y) * 80, 0));
  // Halving picks every other pixel.
  Surface small(2, 1);
  ASSERT_TRUE(StretchBlt(small.dc(), 0, 0, 2, 1, row.dc(), 0, 0, 4, 1, SRCCOPY));
  EXPECT_EQ(small.at(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(small.at(1, 0), RGB(120, 0, 0));
}

TEST(Blits, OverlappingCopyWithinOneBitmapReadsTheOriginal) {
  Surface s(4, 1);
  for (int x = 0; x < 4; ++x) SetPixel(s.dc(), x, 0, RGB(x * 50, 0, 0));
  ASSERT_TRUE(BitBlt(s.dc(), 1, 0, 3, 1, s.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(s.at(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(s.at(1, 0), RGB(0, 0, 0));
  EXPECT_EQ(s.at(2, 0), RGB(50, 0, 0));
  EXPECT_EQ(s.at(3, 0), RGB(100, 0, 0));
}

TEST(Blits, AlphaBlendWithConstantAlpha) {
  Surface src(1, 1, RGB(200, 0, 0));
  Surface dest(1, 1, RGB(0, 0, 100));
  ASSERT_TRUE(AlphaBlend(dest.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 1, 1,
                         BLENDFUNCTION{AC_SRC_OVER, 0, 128, 0}));
  const COLORREF c = dest.at(0, 0);
  EXPECT_NEAR(GetRValue(c), 100, 1);
  EXPECT_NEAR(GetBValue(c), 50, 1);
}

TEST(Gradients, RectanglesStartAtTheirFirstColourAndApproachTheSecond) {
  Surface s(100, 40);
  TRIVERTEX v[2];
  v[0].x = 0;
  v[0].y = 0;
  v[0].Red = 0xFF00;
  v[1].x = 100;
  v[1].y = 20;
  v[1].Blue = 0xFF00;
  GRADIENT_RECT r{0, 1};
  ASSERT_TRUE(GradientFill(s.dc(), v, 2, &r, 1, GRADIENT_FILL_RECT_H));
  EXPECT_EQ(s.at(0, 0), kRed);
  EXPECT_EQ(s.at(0, 19), kRed);
  const COLORREF last = s.at(99, 10);
  EXPECT_LE(GetRValue(last), 3);
  EXPECT_GE(GetBValue(last), 250);
  const COLORREF middle = s.at(50, 10);
  EXPECT_NEAR(GetRValue(middle), 127, 2);
  EXPECT_EQ(s.at(0, 20), gditest::kWhite);  // the bottom edge is outside
  // Vertical: from top to bottom.
  v[0].y = 20;
  v[1].y = 40;
  ASSERT_TRUE(GradientFill(s.dc(), v, 2, &r, 1, GRADIENT_FILL_RECT_V));
  EXPECT_EQ(s.at(40, 20), kRed);
  EXPECT_GE(GetBValue(s.at(40, 39)), 240);
  // A bad vertex index fails.
  GRADIENT_RECT bad{0, 5};
  EXPECT_FALSE(GradientFill(s.dc(), v, 2, &bad, 1, GRADIENT_FILL_RECT_H));
}

TEST(Brushes, HatchesLeaveTheirGapsToTheBackgroundMode) {
  Owned<HBRUSH> hatch(CreateHatchBrush(HS_CROSS, kRed));
  Surface s(16, 16, kGreen);
  SetBkColor(s.dc(), kBlue);
  const RECT r{0, 0, 16, 16};
  FillRect(s.dc(), &r, hatch);
  int red = 0, blue = 0;
  for (int x = 0; x < 8; ++x) {
    red += s.at(x, 3) == kRed;
    blue += s.at(x, 3) == kBlue;
  }
  EXPECT_EQ(red, 1);  // one vertical line crosses each row of an 8x8 cell
  EXPECT_EQ(blue, 7);
  // Transparent background leaves the gaps alone.
  Surface t(16, 16, kGreen);
  SetBkMode(t.dc(), TRANSPARENT);
  FillRect(t.dc(), &r, hatch);
  int green = 0;
  for (int x = 0; x < 8; ++x) green += t.at(x, 3) == kGreen;
  EXPECT_EQ(green, 7);
}

TEST(ColourMono, KeyColourTransparencyThroughAMask) {
  // The classic masked copy: a mask from the key colour, key pixels of the
  // image blacked out, the background cut with AND and the image laid in with OR.
  constexpr COLORREF kMagenta = RGB(255, 0, 255);
  Surface background(4, 1, kGreen);
  Surface image(4, 1, kMagenta);
  SetPixel(image.dc(), 1, 0, kBlue);
  SetPixel(image.dc(), 3, 0, kRed);
  Surface mask(4, 1, gditest::kBlack, 1);
  SetBkColor(image.dc(), kMagenta);
  SetTextColor(image.dc(), kWhite);
  ASSERT_TRUE(BitBlt(mask.dc(), 0, 0, 4, 1, image.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(mask.at(0, 0), kWhite);
  EXPECT_EQ(mask.at(1, 0), gditest::kBlack);
  SetTextColor(image.dc(), gditest::kBlack);
  SetBkColor(image.dc(), kWhite);
  ASSERT_TRUE(BitBlt(image.dc(), 0, 0, 4, 1, mask.dc(), 0, 0, 0x00220326));
  EXPECT_EQ(image.at(0, 0), gditest::kBlack);
  EXPECT_EQ(image.at(1, 0), kBlue);
  ASSERT_TRUE(BitBlt(background.dc(), 0, 0, 4, 1, mask.dc(), 0, 0, SRCAND));
  ASSERT_TRUE(BitBlt(background.dc(), 0, 0, 4, 1, image.dc(), 0, 0, SRCPAINT));
  EXPECT_EQ(background.at(0, 0), kGreen);
  EXPECT_EQ(background.at(1, 0), kBlue);
  EXPECT_EQ(background.at(2, 0), kGreen);
  EXPECT_EQ(background.at(3, 0), kRed);
}

// Device-independent bitmaps: live bits, row order, colour tables, transfers.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "canvas_fixture.h"

using namespace win;
using gditest::kBlack;
using gditest::kBlue;
using gditest::kRed;
using gditest::kWhite;
using gditest::Owned;
using gditest::Surface;

namespace {

// A header followed by room for a colour table.
struct InfoWithTable {
  BITMAPINFOHEADER header;
  std::array<RGBQUAD, 256> colours{};
  const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(this); }
  BITMAPINFO* info() { return reinterpret_cast<BITMAPINFO*>(this); }
};

InfoWithTable Header(int width, int height, int bits) {
  InfoWithTable i;
  i.header.biSize = sizeof(BITMAPINFOHEADER);
  i.header.biWidth = width;
  i.header.biHeight = height;
  i.header.biPlanes = 1;
  i.header.biBitCount = static_cast<WORD>(bits);
  i.header.biCompression = BI_RGB;
  return i;
}

// A memory DC holding a bitmap for the length of a test.
struct Holder {
  HDC dc = CreateCompatibleDC(HDC());
  HGDIOBJ old;
  explicit Holder(HBITMAP bmp) : old(SelectObject(dc, bmp)) {}
  ~Holder() {
    SelectObject(dc, old);
    DeleteDC(dc);
  }
};

}  // namespace

TEST(DibSections, BitsAreTheLivePixelsTopDown) {
  InfoWithTable i = Header(4, -3, 32);
  void* bits = nullptr;
  Owned<HBITMAP> bmp(CreateDIBSection(HDC(), i.info(), DIB_RGB_COLORS, &bits, nullptr, 0));
  ASSERT_TRUE(bmp.get());
  ASSERT_NE(bits, nullptr);
  auto* px = static_cast<std::uint32_t*>(bits);
  px[1 * 4 + 2] = 0x00FF0000;  // blue, green, red, reserved in memory: red
  Holder h(bmp);
  EXPECT_EQ(GetPixel(h.dc, 2, 1), kRed);
  SetPixel(h.dc, 3, 2, kBlue);
  EXPECT_EQ(px[2 * 4 + 3] & 0x00FFFFFF, 0x000000FFu);
  DIBSECTION ds;
  ASSERT_EQ(GetObjectA(bmp, sizeof ds, &ds), static_cast<int>(sizeof ds));
  EXPECT_EQ(ds.dsBm.bmBits, bits);
  EXPECT_EQ(ds.dsBmih.biHeight, -3);
  EXPECT_EQ(ds.dsBm.bmWidthBytes, 16);
}

TEST(DibSections, BottomUpRowsStartWithTheBottomRow) {
  InfoWithTable i = Header(3, 2, 24);
  void* bits = nullptr;
  Owned<HBITMAP> bmp(CreateDIBSection(HDC(), i.info(), DIB_RGB_COLORS, &bits, nullptr, 0));
  ASSERT_TRUE(bits);
  auto* bytes = static_cast<std::uint8_t*>(bits);
  // Rows of 3 pixels x 3 bytes are padded to 12 bytes; row 0 in memory is the bottom row.
  bytes[0] = 0xFF;       // bottom-left: blue
  bytes[12 + 8] = 0xFF;  // top row, third pixel: red
  Holder h(bmp);
  EXPECT_EQ(GetPixel(h.dc, 0, 1), kBlue);
  EXPECT_EQ(GetPixel(h.dc, 2, 0), kRed);
  EXPECT_EQ(GetPixel(h.dc, 0, 0), kBlack);
  SetPixel(h.dc, 1, 0, RGB(1, 2, 3));
  EXPECT_EQ(bytes[12 + 3], 3);
  EXPECT_EQ(bytes[12 + 4], 2);
  EXPECT_EQ(bytes[12 + 5], 1);
}

TEST(DibSections, ColourTablesDecideWhatIndexedPixelsShow) {
  InfoWithTable i = Header(8, -1, 1);
  i.colours[0] = RGBQUAD{0, 0, 0, 0};
  i.colours[1] = RGBQUAD{255, 255, 255, 255};
  void* bits = nullptr;
  Owned<HBITMAP> bmp(CreateDIBSection(HDC(), i.info(), DIB_RGB_COLORS, &bits, nullptr, 0));
  ASSERT_TRUE(bits);
  static_cast<std::uint8_t*>(bits)[0] = 0x40;  // pixel 1 white, the rest black
  Holder h(bmp);
  EXPECT_EQ(GetPixel(h.dc, 0, 0), kBlack);
  EXPECT_EQ(GetPixel(h.dc, 1, 0), kWhite);
  // Colour source into the one-bit section: each pixel takes the nearer entry.
  Surface src(2, 1, RGB(30, 30, 30));
  SetPixel(src.dc(), 1, 0, RGB(200, 220, 210));
  BitBlt(h.dc, 2, 0, 2, 1, src.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(h.dc, 2, 0), kBlack);
  EXPECT_EQ(GetPixel(h.dc, 3, 0), kWhite);
  // Swapping the table inverts the picture without touching the bits.
  const RGBQUAD swapped[2] = {{255, 255, 255, 0}, {0, 0, 0, 0}};
  EXPECT_EQ(SetDIBColorTable(h.dc, 0, 2, swapped), 2u);
  EXPECT_EQ(GetPixel(h.dc, 0, 0), kWhite);
  EXPECT_EQ(GetPixel(h.dc, 1, 0), kBlack);
  // Into a monochrome bitmap, white (the source DC's background) becomes 1.
  Surface mask(2, 1, kBlack, 1);
  BitBlt(mask.dc(), 0, 0, 2, 1, h.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(mask.at(0, 0), kWhite);
  EXPECT_EQ(mask.at(1, 0), kBlack);
  // A bitmap without a table has none to change.
  Surface plain(1, 1);
  EXPECT_EQ(SetDIBColorTable(plain.dc(), 0, 2, swapped), 0u);
}

TEST(DibSections, FourAndEightBitPixelsAreTableIndices) {
  InfoWithTable i = Header(4, -2, 8);
  i.header.biClrUsed = 3;
  i.colours[0] = RGBQUAD{0, 0, 0, 0};
  i.colours[1] = RGBQUAD{0, 0, 255, 0};  // red
  i.colours[2] = RGBQUAD{255, 0, 0, 0};  // blue
  void* bits = nullptr;
  Owned<HBITMAP> bmp(CreateDIBSection(HDC(), i.info(), DIB_RGB_COLORS, &bits, nullptr, 0));
  ASSERT_TRUE(bits);
  auto* b = static_cast<std::uint8_t*>(bits);
  b[1] = 1;
  b[4 + 2] = 2;
  {
    Holder h(bmp);
    EXPECT_EQ(GetPixel(h.dc, 1, 0), kRed);
    EXPECT_EQ(GetPixel(h.dc, 2, 1), kBlue);
    EXPECT_EQ(GetPixel(h.dc, 0, 0), kBlack);
    // Written colours become the nearest entry's index.
    EXPECT_EQ(SetPixel(h.dc, 3, 0, RGB(200, 10, 10)), kRed);
    EXPECT_EQ(b[3], 1);
  }
  InfoWithTable f = Header(3, 1, 4);
  f.header.biClrUsed = 2;
  f.colours[0] = RGBQUAD{255, 255, 255, 0};
  f.colours[1] = RGBQUAD{0, 255, 0, 0};
  void* nibbles = nullptr;
  Owned<HBITMAP> four(CreateDIBSection(HDC(), f.info(), DIB_RGB_COLORS, &nibbles, nullptr, 0));
  ASSERT_TRUE(nibbles);
  static_cast<std::uint8_t*>(nibbles)[0] = 0x01;  // pixel 0 index 0, pixel 1 index 1
  Holder h(four);
  EXPECT_EQ(GetPixel(h.dc, 0, 0), kWhite);
  EXPECT_EQ(GetPixel(h.dc, 1, 0), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(h.dc, 2, 0), kWhite);
}

TEST(DibSections, BadHeadersAreRefused) {
  InfoWithTable i = Header(4, 4, 16);
  void* bits = reinterpret_cast<void*>(1);
  EXPECT_FALSE(CreateDIBSection(HDC(), i.info(), DIB_RGB_COLORS, &bits, nullptr, 0));
  EXPECT_EQ(bits, nullptr);
  i = Header(0, 4, 32);
  EXPECT_FALSE(CreateDIBSection(HDC(), i.info(), DIB_RGB_COLORS, &bits, nullptr, 0));
  i = Header(4, 4, 32);
  i.header.biCompression = 1;  // run-length encoded
  EXPECT_FALSE(CreateDIBSection(HDC(), i.info(), DIB_RGB_COLORS, &bits, nullptr, 0));
  EXPECT_FALSE(CreateDIBSection(HDC(), nullptr, DIB_RGB_COLORS, &bits, nullptr, 0));
  // A damaged header asking for gigabytes is refused rather than allocated.
  i = Header(200000, -200000, 32);
  EXPECT_FALSE(CreateDIBSection(HDC(), i.info(), DIB_RGB_COLORS, &bits, nullptr, 0));
  i = Header(4, INT32_MIN, 32);
  EXPECT_FALSE(CreateDIBSection(HDC(), i.info(), DIB_RGB_COLORS, &bits, nullptr, 0));
  EXPECT_FALSE(CreateBitmap(100000, 100000, 1, 32, nullptr));
}

TEST(DibTransfers, SetBitsTakesRowsInBottomUpOrder) {
  Surface s(2, 2);
  InfoWithTable i = Header(2, 2, 24);
  std::vector<std::uint8_t> bits(8 * 2, 255);
  // Bottom row first: (1,1) blue, as blue, green, red bytes.
  bits[4] = 0;
  bits[5] = 0;
  // Top row: (0,0) cyan.
  bits[10] = 0;
  ASSERT_EQ(SetDIBits(s.dc(), s.bitmap(), 0, 2, bits.data(), i.info(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(s.at(0, 0), RGB(0, 255, 255));
  EXPECT_EQ(s.at(1, 1), kBlue);
}

TEST(DibTransfers, StretchDIBitsPlacesBottomUpRowsTheRightWayUp) {
  // A 2x2, 24-bit, bottom-up picture: bottom row red, red; top row green, blue.
  InfoWithTable i = Header(2, 2, 24);
  const std::uint8_t bits[16] = {0, 0,   255, 0,   0, 255, 0, 0,   // bottom row + padding
                                 0, 255, 0,   255, 0, 0,   0, 0};  // top row + padding
  Surface s(6, 6);
  ASSERT_EQ(StretchDIBits(s.dc(), 1, 1, 2, 2, 0, 0, 2, 2, bits, i.info(), DIB_RGB_COLORS, SRCCOPY),
            2);
  EXPECT_EQ(s.at(1, 1), RGB(0, 255, 0));
  EXPECT_EQ(s.at(2, 1), kBlue);
  EXPECT_EQ(s.at(1, 2), kRed);
  EXPECT_EQ(s.at(2, 2), kRed);
  EXPECT_EQ(s.at(3, 3), kWhite);
  // Doubled on the way.
  ASSERT_GT(StretchDIBits(s.dc(), 2, 2, 4, 4, 0, 0, 2, 2, bits, i.info(), DIB_RGB_COLORS, SRCCOPY),
            0);
  EXPECT_EQ(s.at(2, 2), RGB(0, 255, 0));
  EXPECT_EQ(s.at(3, 3), RGB(0, 255, 0));
  EXPECT_EQ(s.at(5, 5), kRed);
  EXPECT_EQ(StretchDIBits(s.dc(), 0, 0, 2, 2, 0, 0, 2, 2, nullptr, i.info(), 0, SRCCOPY), 0);
}

TEST(DibTransfers, MonochromeBitmapsFromWordAlignedRows) {
  // Four 32-bit values 0x5555AAAA give rows 0xAAAA, 0x5555, ...
  const std::uint32_t words[4] = {0x5555AAAA, 0x5555AAAA, 0x5555AAAA, 0x5555AAAA};
  Owned<HBITMAP> bmp(CreateBitmap(8, 8, 1, 1, words));
  Holder h(bmp);
  EXPECT_EQ(GetPixel(h.dc, 0, 0), kWhite);
  EXPECT_EQ(GetPixel(h.dc, 1, 0), kBlack);
  EXPECT_EQ(GetPixel(h.dc, 0, 1), kBlack);
  EXPECT_EQ(GetPixel(h.dc, 1, 1), kWhite);
  EXPECT_FALSE(CreateBitmap(-1, 4, 1, 1, nullptr));
  EXPECT_FALSE(CreateBitmap(4, 4, 2, 1, nullptr));
}

// The drawing surface's operations, checked pixel by pixel on the layer's buffers.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "mem_dc.h"

using namespace win;
using ornatek::cMemDC;
using ornatek::kMagenta;
using ornatek::kSysColour;

namespace {

constexpr COLORREF kGrey = 0xC0C0C0;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kBlue = 0xFF0000;

}  // namespace

TEST(MemDCFill, RectangleConventionAndBrushRule) {
  cMemDC s;
  s.Init(10, 8);
  s.Cls(0xFFFFFF);
  s.Cls();  // -1 and no brush: unchanged
  EXPECT_EQ(s.GetPixel(0, 0), 0xFFFFFFu);
  s.FillRect(5, 5, 2, 2, kRed);  // right < left and bottom < top: to the surface's edges
  EXPECT_EQ(s.GetPixel(9, 7), kRed);
  EXPECT_EQ(s.GetPixel(5, 5), kRed);
  EXPECT_EQ(s.GetPixel(4, 5), 0xFFFFFFu);
  s.FillRect(0, 0, 3, 3, -1, HBRUSH());
  EXPECT_EQ(s.GetPixel(0, 0), 0xFFFFFFu);
  s.Cls(kMagenta);
  EXPECT_EQ(s.GetPixel(9, 7), 0xFF00FFu);
  EXPECT_EQ(s.GetPixel(0, 0), 0xFF00FFu);
}

TEST(MemDCFill, LinesLeaveOutTheirEndAndContinueFromTheCurrentPosition) {
  cMemDC s;
  s.Init(12, 12);
  s.Cls(0xFFFFFF);
  s.DrawLine(0, 0, 10, 0, 0x000000);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(s.GetPixel(x, 0), 0u) << x;
  EXPECT_EQ(s.GetPixel(10, 0), 0xFFFFFFu);
  s.DrawLine(-1, 0, 10, 5);  // continues from (10, 0) with the held pen
  EXPECT_EQ(s.GetPixel(10, 0), 0u);
  EXPECT_EQ(s.GetPixel(10, 4), 0u);
  EXPECT_EQ(s.GetPixel(10, 5), 0xFFFFFFu);
}

TEST(MemDCFill, GradientChannelsRunAcrossOrDown) {
  cMemDC s;
  s.Init(256, 4);
  s.FillGradient(0, 0, 256, 4, 0x000000, 0x0000FF);
  EXPECT_EQ(s.GetPixel(0, 0), 0x000000u);
  EXPECT_EQ(GetRValue(s.GetPixel(255, 0)), 254);
  EXPECT_EQ(GetRValue(s.GetPixel(128, 2)), 127);
  EXPECT_EQ(GetGValue(s.GetPixel(128, 2)), 0);

  cMemDC v;
  v.Init(2, 256);
  v.FillGradient(0, 0, 2, 256, 0xFF0000, 0x000000, true);
  EXPECT_EQ(GetBValue(v.GetPixel(0, 0)), 255);
  EXPECT_EQ(GetBValue(v.GetPixel(1, 128)), 127);
  EXPECT_EQ(v.GetPixel(0, 100), v.GetPixel(1, 100)) << "a vertical run is even across";
}

TEST(MemDCBlit, TransBltCopiesEverythingButTheKeyColour) {
  cMemDC dest;
  dest.Init(8, 8);
  dest.Cls(kGrey);
  cMemDC s;
  s.Init(4, 4, dest.hDC());
  s.Cls(kMagenta);
  s.SetPixel(1, 1, kRed);
  s.SetPixel(2, 3, kBlue);
  s.TransBlt(dest.hDC(), 2, 2);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      COLORREF want = kGrey;
      if (x == 3 && y == 3) want = kRed;
      if (x == 4 && y == 5) want = kBlue;
      EXPECT_EQ(dest.GetPixel(x, y), want) << x << "," << y;
    }
  // Default arguments: the whole surface to (0, 0) of the parent context.
  s.TransBlt();
  EXPECT_EQ(dest.GetPixel(1, 1), kRed);
  EXPECT_EQ(dest.GetPixel(0, 0), kGrey);
  // A key that matches no pixel makes it a plain copy.
  s.TransBlt(dest.hDC(), 4, 0, 0, 0, 0, 0, 0x010203);
  EXPECT_EQ(dest.GetPixel(4, 0), 0xFF00FFu);
}

TEST(MemDCBlit, DisabledBltEmbossesTheDarkPixels) {
  cMemDC dest;
  dest.Init(8, 8);
  dest.Cls(kGrey);
  cMemDC glyph;
  glyph.Init(6, 6);
  glyph.Cls(0xFFFFFF);
  glyph.FillRect(1, 1, 3, 3, 0x000000);  // a 2 x 2 black glyph at (1, 1)
  glyph.DisabledBlt(dest.hDC(), 1, 1);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  ASSERT_NE(shadow, highlight);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool inShadow = x >= 2 && x < 4 && y >= 2 && y < 4;
      const bool inHighlight = x >= 3 && x < 5 && y >= 3 && y < 5;
      const COLORREF want = inShadow ? shadow : inHighlight ? highlight : kGrey;
      EXPECT_EQ(dest.GetPixel(x, y), want) << x << "," << y;
    }
}

TEST(MemDCBlit, DisabledBltWithAMaskColourAndColoursThatUseUpBlackAndRed) {
  cMemDC dest;
  dest.Init(6, 6);
  dest.Cls(kGrey);
  cMemDC glyph;
  glyph.Init(6, 6);
  glyph.Cls(kMagenta);
  glyph.SetPixel(2, 2, 0x000000);
  glyph.SetPixel(3, 2, 0xFFFFFF);  // light: not part of the figure
  // Shadow black and highlight red: the transparent key falls to blue.
  glyph.DisabledBlt(dest.hDC(), 0, 0, 0, 0, 0, 0, kMagenta, kRed, 0x000000);
  EXPECT_EQ(dest.GetPixel(2, 2), 0x000000u);
  EXPECT_EQ(dest.GetPixel(3, 3), kRed);
  EXPECT_EQ(dest.GetPixel(3, 2), kGrey);
  EXPECT_EQ(dest.GetPixel(0, 0), kGrey);
}

TEST(MemDCPaint, PicturesOfEachTypeAndTheirSize) {
  cMemDC src;
  src.Init(5, 4);
  src.Cls(kMagenta);
  src.FillRect(1, 1, 3, 3, kBlue);
  const ornatek::Picture bitmap = src.Image();

  cMemDC fresh;
  fresh.PaintPicture(bitmap);
  EXPECT_EQ(fresh.Width(), 5) << "a new surface takes the picture's size";
  EXPECT_EQ(fresh.Height(), 4);
  EXPECT_EQ(fresh.GetPixel(1, 1), kBlue);

  cMemDC masked;
  masked.Init(5, 4);
  masked.Cls(kGrey);
  masked.PaintPicture(bitmap, 0, 0, 0, 0, 0, 0, SRCCOPY, kMagenta);
  EXPECT_EQ(masked.GetPixel(0, 0), kGrey);
  EXPECT_EQ(masked.GetPixel(2, 2), kBlue);

  // An icon from the surface: its magenta pixels are transparent.
  const ornatek::Picture icon = src.ExtractIcon(0xFF00FF);
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon.Type(), forms::Picture::Kind::Icon);
  cMemDC onGrey;
  onGrey.Init(10, 8);
  onGrey.Cls(kGrey);
  onGrey.PaintPicture(icon, 0, 0, 10, 8);  // drawn at the requested size
  EXPECT_EQ(onGrey.GetPixel(0, 0), kGrey);
  EXPECT_EQ(onGrey.GetPixel(4, 3), kBlue);

  // A metafile's size is its frame: 635 x 1270 hundredths of a millimetre
  // are 24 x 48 pixels.
  const RECT frame{0, 0, 635, 1270};
  const HDC rec = CreateEnhMetaFileA(HDC(), nullptr, &frame, nullptr);
  const RECT all{0, 0, 24, 48};
  const HBRUSH blue = CreateSolidBrush(kBlue);
  win::FillRect(rec, &all, blue);
  DeleteObject(blue);
  forms::PICTDESC recorded;
  recorded.picType = forms::PICTYPE_ENHMETAFILE;
  recorded.hemf = CloseEnhMetaFile(rec);
  forms::Picture metafile;
  ASSERT_EQ(forms::OleCreatePictureIndirect(&recorded, TRUE, &metafile), forms::S_OK);
  cMemDC played;
  played.PaintPicture(metafile);
  EXPECT_EQ(played.Width(), 24);
  EXPECT_EQ(played.Height(), 48);
  EXPECT_EQ(played.GetPixel(23, 47), kBlue);

  // A picture of type 0 draws nothing.
  forms::PICTDESC none;
  forms::Picture empty;
  forms::OleCreatePictureIndirect(&none, FALSE, &empty);
  onGrey.PaintPicture(empty, 0, 0, 10, 8);
  EXPECT_EQ(onGrey.GetPixel(4, 3), kBlue);
  EXPECT_FALSE(cMemDC::IconToPicture(HICON()));
}

TEST(MemDCPaint, DisabledPictureGoesThroughATemporarySurface) {
  cMemDC src;
  src.Init(4, 4);
  src.Cls(0xFFFFFF);
  src.SetPixel(1, 1, 0x000000);
  const auto picture = src.Image();
  cMemDC dest;
  dest.Init(4, 4);
  dest.Cls(kGrey);
  dest.PaintDisabledPicture(picture);
  EXPECT_EQ(dest.GetPixel(1, 1), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(dest.GetPixel(2, 2), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(dest.GetPixel(0, 0), kGrey);
}

TEST(MemDCClip, NormaliseAndClip) {
  int l = 10, t = 20, r = 0, b = 5;
  cMemDC::NormalizeRect(l, t, r, b);
  EXPECT_EQ((std::vector{l, t, r, b}), (std::vector{0, 5, 10, 20}));

  cMemDC s;
  s.Init(20, 20);
  s.Cls(0xFFFFFF);
  s.SetClipRect(10, 10, 0, 0);  // clips to (0, 0)-(10, 10)
  s.Cls(kRed);
  EXPECT_EQ(s.GetPixel(9, 9), kRed);
  s.SetClipRect(-1);
  EXPECT_EQ(s.GetPixel(10, 10), 0xFFFFFFu);
  EXPECT_EQ(s.GetPixel(10, 9), 0xFFFFFFu);
  s.Cls(kBlue);
  EXPECT_EQ(s.GetPixel(19, 19), kBlue);
}

TEST(MemDCBits, SetDIBitsDrawsBottomUpRowsAndRefusesShortArrays) {
  cMemDC s;
  s.Init(3, 2);
  s.Cls(0xFFFFFF);
  // Two rows of three pixels, each row padded to 12 bytes; the first row is the bottom one.
  std::vector<std::uint8_t> bits(24, 0);
  bits[0] = 0xFF;       // bottom-left: blue
  bits[12 + 5] = 0xFF;  // top, second pixel: red
  ASSERT_TRUE(s.SetDIBits(0, 0, 3, 2, bits));
  EXPECT_EQ(s.GetPixel(0, 1), kBlue);
  EXPECT_EQ(s.GetPixel(1, 0), kRed);
  EXPECT_EQ(s.GetPixel(2, 0), 0x000000u);

  s.Cls(0xFFFFFF);
  const std::vector<std::uint8_t> shortBits(23, 0);  // one byte short of two padded rows
  EXPECT_FALSE(s.SetDIBits(0, 0, 3, 2, shortBits));
  EXPECT_FALSE(s.SetDIBits(0, 0, 3, 2, {}));
  EXPECT_EQ(s.GetPixel(0, 0), 0xFFFFFFu) << "a refused array draws nothing";
}

TEST(MemDCShapes, RectangleAndEllipseUseAndKeepTheHeldObjects) {
  cMemDC s;
  s.Init(10, 10);
  s.Cls(0xFFFFFF);
  s.Rectangle(1, 1, 6, 6, kRed, HBRUSH(), kBlue);
  EXPECT_EQ(s.GetPixel(1, 1), kBlue);
  EXPECT_EQ(s.GetPixel(5, 5), kBlue);
  EXPECT_EQ(s.GetPixel(3, 3), kRed);
  EXPECT_EQ(s.GetPixel(6, 6), 0xFFFFFFu);
  EXPECT_TRUE(s.Brush());
  EXPECT_TRUE(s.Pen());
  s.Cls(0xFFFFFF);
  s.DrawEllipse(0, 0, 9, 9, 0x000000);
  EXPECT_EQ(s.GetPixel(4, 4), 0xFFFFFFu) << "the inside stays untouched";
  EXPECT_EQ(s.GetPixel(4, 0), 0x000000u);
}

TEST(MemDCText, MeasureAndDrawWriteTheRectangleBack) {
  cMemDC s;
  s.Init(100, 30);
  forms::Font f;
  f.Name = "Tahoma";
  f.Size = 9;
  s.Font(f);
  EXPECT_GT(s.TextWidth("Ciao"), s.TextWidth("Ci"));
  EXPECT_EQ(s.TextHeight("Ciao"), s.FontHeight());
  int l = 0, t = 0, r = 0, b = 0;
  s.DrawText("Ciao", l, t, r, b, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(r, s.TextWidth("Ciao"));
  EXPECT_EQ(b, s.FontHeight());
}

TEST(MemDCBlit, StretchFrameAndPixelsOutsideTheBitmap) {
  cMemDC src;
  src.Init(2, 2);
  src.Cls(kBlue);
  src.SetPixel(0, 0, kRed);
  cMemDC dest;
  dest.Init(6, 6);
  dest.Cls(0xFFFFFF);
  src.StretchBlt(dest.hDC(), 0, 0, 4, 4);  // the source size defaults to the surface's
  EXPECT_EQ(dest.GetPixel(1, 1), kRed);
  EXPECT_EQ(dest.GetPixel(3, 3), kBlue);
  EXPECT_EQ(dest.GetPixel(4, 4), 0xFFFFFFu);

  dest.FrameRect(0, 0, 6, 6, 0x00FF00);
  EXPECT_EQ(dest.GetPixel(5, 5), 0x00FF00u);
  EXPECT_EQ(dest.GetPixel(0, 3), 0x00FF00u);
  EXPECT_EQ(dest.GetPixel(1, 1), kRed) << "only the frame";
  EXPECT_EQ(dest.GetPixel(6, 0), CLR_INVALID);
  EXPECT_EQ(dest.GetPixel(-1, 0), CLR_INVALID);
  dest.SetPixel(99, 99);  // outside: no effect, no failure

  EXPECT_DOUBLE_EQ(ornatek::HimetricToPixels(2540), 96.0);
  EXPECT_EQ(std::nearbyint(ornatek::HimetricToPixels(423)), 16.0);
}

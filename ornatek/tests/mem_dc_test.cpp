// The drawing surface's state: modes, fonts, colours, held objects, lifecycle.

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "mem_dc.h"

using namespace win;
using ornatek::cMemDC;
using StdFont = forms::Font;

namespace {

// A memory context of somebody else's, with the objects it started with.
struct ForeignDC {
  HDC dc = CreateCompatibleDC(HDC());
  HBITMAP bitmap = CreateCompatibleBitmap(GetDC(HWND()), 20, 20);
  HGDIOBJ firstBitmap = SelectObject(dc, bitmap);
  ~ForeignDC() {
    SelectObject(dc, firstBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
};

StdFont Tahoma(double size) {
  StdFont f;
  f.Name = "Tahoma";
  f.Size = static_cast<float>(size);
  return f;
}

int SelectedFontHeight(HDC dc) {
  LOGFONTA lf;
  GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf);
  return lf.lfHeight;
}

}  // namespace

TEST(MemDC, ANewSurfaceIsNotCreatedAndAnswersNothing) {
  cMemDC s;
  EXPECT_FALSE(s.IsCreated());
  EXPECT_FALSE(s.hDC());
  EXPECT_EQ(s.FontHeight(), 0);
  EXPECT_EQ(s.ForeColor(), 0u);
  EXPECT_EQ(s.BackColor(), 0u);
  EXPECT_FALSE(s.Font().has_value());
  EXPECT_FALSE(s.Image());
  // Setters and drawing quietly do nothing.
  s.Font(Tahoma(8));
  s.Brush(CreateSolidBrush(0));
  s.Cls(0xFF);
  EXPECT_FALSE(s.IsCreated());
}

TEST(MemDC, OwnModeMakesAContextAndBitmapOfItsOwn) {
  cMemDC s;
  const HDC dc = s.Init(12, 7);
  ASSERT_TRUE(dc);
  EXPECT_EQ(s.hDC(), dc);
  EXPECT_TRUE(s.IsMemoryDC());
  EXPECT_EQ(s.Width(), 12);
  EXPECT_EQ(s.Height(), 7);
  BITMAP bm;
  ASSERT_TRUE(GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof bm, &bm));
  EXPECT_EQ(bm.bmWidth, 12);
  EXPECT_EQ(bm.bmHeight, 7);

  // A size of 0 x 0 still gives a context to measure text with.
  cMemDC measure;
  EXPECT_TRUE(measure.Init());
  EXPECT_TRUE(measure.IsCreated());
  EXPECT_GT(measure.TextWidth("ABCH"), 0);

  s.Destroy();
  EXPECT_FALSE(s.IsCreated());
  EXPECT_EQ(GetObjectType(HGDIOBJ(dc.value)), 0u) << "the memory context is deleted";
  EXPECT_EQ(s.Width(), 12) << "Destroy keeps the size";
}

TEST(MemDC, AttachedModeGivesEverythingBackAndLeavesTheContext) {
  ForeignDC foreign;
  const HGDIOBJ firstPen = GetCurrentObject(foreign.dc, OBJ_PEN);
  const HGDIOBJ firstBrush = GetCurrentObject(foreign.dc, OBJ_BRUSH);
  const HGDIOBJ firstFont = GetCurrentObject(foreign.dc, OBJ_FONT);
  HPEN heldPen;
  {
    cMemDC s;
    s.Init(0, 0, HDC(), foreign.dc);
    EXPECT_FALSE(s.IsMemoryDC());
    EXPECT_EQ(s.Width(), 0);
    EXPECT_EQ(s.hDC(), foreign.dc);
    s.Font(Tahoma(9));
    s.Brush(CreateSolidBrush(RGB(1, 2, 3)));
    heldPen = CreatePen(PS_SOLID, 1, RGB(4, 5, 6));
    s.Pen(heldPen);
    EXPECT_NE(GetCurrentObject(foreign.dc, OBJ_FONT), firstFont);
    s.Destroy();
    EXPECT_TRUE(s.IsCreated()) << "an attached surface stays attached after Destroy";
  }
  EXPECT_EQ(GetCurrentObject(foreign.dc, OBJ_PEN), firstPen);
  EXPECT_EQ(GetCurrentObject(foreign.dc, OBJ_BRUSH), firstBrush);
  EXPECT_EQ(GetCurrentObject(foreign.dc, OBJ_FONT), firstFont);
  EXPECT_EQ(GetCurrentObject(foreign.dc, OBJ_BITMAP), foreign.bitmap);
  EXPECT_EQ(GetObjectType(heldPen), 0u) << "the held pen was the surface's to delete";
  EXPECT_NE(GetObjectType(HGDIOBJ(foreign.dc.value)), 0u) << "the context stays its owner's";
}

TEST(MemDC, FontHeightFollowsThePointSizeRule) {
  cMemDC s;
  s.Init(4, 4);
  ASSERT_EQ(GetDeviceCaps(s.hDC(), LOGPIXELSY), 96);
  const std::pair<double, int> cases[] = {{8, -10}, {8.25, -11}, {9, -12}, {12, -16}, {7.5, -10}};
  for (const auto& [size, height] : cases) {
    s.Font(Tahoma(size));
    EXPECT_EQ(SelectedFontHeight(s.hDC()), height) << "size " << size;
  }
  // A face name longer than the logical font holds is cut, not overrun.
  StdFont longName = Tahoma(8);
  longName.Name = std::string(60, 'x');
  s.Font(longName);
  LOGFONTA lf;
  GetObjectA(GetCurrentObject(s.hDC(), OBJ_FONT), sizeof lf, &lf);
  EXPECT_EQ(std::string(lf.lfFaceName).size(), 31u);
}

TEST(MemDC, FontReadBackGivesTheCharacterHeightInPoints) {
  cMemDC s;
  s.Init(4, 4);
  StdFont f = Tahoma(12);
  f.Bold = true;
  f.Italic = true;
  s.Font(f);
  const auto back = s.Font();
  ASSERT_TRUE(back);
  TEXTMETRICA tm;
  GetTextMetricsA(s.hDC(), &tm);
  EXPECT_FLOAT_EQ(back->Size,
                  static_cast<float>(std::nearbyint((tm.tmHeight - tm.tmInternalLeading) * 72.0 /
                                                    tm.tmDigitizedAspectY * 10000) /
                                     10000));
  EXPECT_TRUE(back->Bold);
  EXPECT_TRUE(back->Italic);
  EXPECT_FALSE(back->Name.empty());
  EXPECT_EQ(s.FontHeight(), tm.tmHeight);
  // Each call gives a new object; changing it changes nothing selected.
  auto copy = *s.Font();
  copy.Size = 30;
  EXPECT_EQ(s.FontHeight(), tm.tmHeight);
}

TEST(MemDC, ColoursTranslateSystemColoursAndModesPassUnchanged) {
  cMemDC s;
  s.Init(2, 2);
  s.ForeColor(ornatek::kSysColour + COLOR_HIGHLIGHT);
  EXPECT_EQ(s.ForeColor(), GetSysColor(COLOR_HIGHLIGHT));
  s.BackColor(0x123456);
  EXPECT_EQ(s.BackColor(), 0x123456u);
  s.BackStyle(TRANSPARENT);
  EXPECT_EQ(s.BackStyle(), TRANSPARENT);
  s.DrawMode(R2_XORPEN);
  EXPECT_EQ(s.DrawMode(), R2_XORPEN);
  EXPECT_EQ(s.TranslateColor(-1), -1);
  EXPECT_EQ(s.TranslateColor(ornatek::kSysColour + COLOR_WINDOW), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(s.TranslateColor(0x7F000000), 0) << "an invalid colour translates to black";
}

TEST(MemDC, HeldBrushesAndPensAreReplacedAndDeleted) {
  cMemDC s;
  s.Init(4, 4);
  const HGDIOBJ firstBrush = GetCurrentObject(s.hDC(), OBJ_BRUSH);
  const HBRUSH a = CreateSolidBrush(RGB(10, 0, 0));
  const HBRUSH b = CreateSolidBrush(RGB(20, 0, 0));
  s.Brush(a);
  s.Brush(a);
  EXPECT_EQ(GetObjectType(a), OBJ_BRUSH) << "setting the held brush again keeps it";
  s.Brush(b);
  EXPECT_EQ(GetObjectType(a), 0u) << "A is deleted when B replaces it";
  EXPECT_EQ(s.Brush(), b);
  s.Brush(HBRUSH());
  EXPECT_EQ(GetCurrentObject(s.hDC(), OBJ_BRUSH), firstBrush);
  EXPECT_EQ(GetObjectType(b), 0u);

  const HBRUSH dot = s.DotBrush();
  s.Brush(dot);
  s.Brush(CreateSolidBrush(RGB(1, 1, 1)));
  EXPECT_EQ(GetObjectType(dot), OBJ_BRUSH) << "the dot brush is never deleted when replaced";
  EXPECT_EQ(s.DotBrush(), dot) << "and stays cached";

  const HGDIOBJ firstPen = GetCurrentObject(s.hDC(), OBJ_PEN);
  const HPEN p = CreatePen(PS_SOLID, 1, 0);
  s.Pen(p);
  s.Pen(HPEN());
  EXPECT_EQ(GetCurrentObject(s.hDC(), OBJ_PEN), firstPen);
  EXPECT_EQ(GetObjectType(p), 0u);
  s.Destroy();
  EXPECT_EQ(GetObjectType(dot), 0u) << "Destroy frees the dot brush";
}

TEST(MemDC, DotBrushIsACheckerOfTextAndBackgroundColour) {
  cMemDC s;
  s.Init(8, 8);
  s.ForeColor(0x0000FF);
  s.BackColor(0x00FF00);
  s.FillRect(0, 0, -1, -1, -1, s.DotBrush());
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool one = ((x + y) % 2) == 0;  // row 0 reads 1,0,1,0...
      EXPECT_EQ(s.GetPixel(x, y), one ? 0x00FF00u : 0x0000FFu) << x << "," << y;
    }
}

TEST(MemDC, DetachBitmapHandsTheBitmapOver) {
  cMemDC s;
  s.Init(5, 5);
  s.Cls(0x112233);
  const HBITMAP bitmap = s.DetachBitmap();
  ASSERT_TRUE(bitmap);
  EXPECT_FALSE(s.IsMemoryDC());
  EXPECT_TRUE(s.IsCreated());
  EXPECT_EQ(s.Width(), 5);
  const HDC dc = s.hDC();
  s.Destroy();
  EXPECT_EQ(GetObjectType(HGDIOBJ(dc.value)), 0u) << "the memory context is still deleted";
  EXPECT_EQ(GetObjectType(bitmap), OBJ_BITMAP) << "the bitmap is the caller's now";
  DeleteObject(bitmap);

  cMemDC attached;
  ForeignDC foreign;
  attached.Init(0, 0, HDC(), foreign.dc);
  EXPECT_FALSE(attached.DetachBitmap());
}

TEST(MemDC, ImageIsACopyThatOutlivesTheSurface) {
  ornatek::Picture picture;
  {
    cMemDC s;
    s.Init(6, 3);
    s.Cls(0x00AA00);
    picture = s.Image();
  }
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture.Type(), forms::Picture::Kind::Bitmap);
  EXPECT_EQ(picture.Width(), std::lround(6 * 2540.0 / 96));
  cMemDC reader;
  reader.PaintPicture(picture);
  EXPECT_EQ(reader.Width(), 6);
  EXPECT_EQ(reader.Height(), 3);
  EXPECT_EQ(reader.GetPixel(5, 2), 0x00AA00u);
}

TEST(MemDC, SystemFontsComeFromTheSystemParameters) {
  const StdFont menu = cMemDC::SystemMenuFont();
  const StdFont icon = cMemDC::SystemIconFont();
  const win::LOGFONTA lf = win::MenuLogFont();
  EXPECT_EQ(menu.Name, lf.lfFaceName);
  EXPECT_FLOAT_EQ(menu.Size, -lf.lfHeight * 72.0f / 96.0f);
  EXPECT_EQ(icon.Name, menu.Name);
  EXPECT_FALSE(menu.Bold);
}

TEST(MemDC, EndingASurfaceLeavesAPendingErrorAlone) {
  // The holder's error is on its way out when the surface it drew with ends,
  // on a context of somebody else's: the surface still gives the context its
  // objects back and frees its own, and the error arrives as it was thrown.
  ForeignDC foreign;
  const HGDIOBJ firstBrush = GetCurrentObject(foreign.dc, OBJ_BRUSH);
  const HGDIOBJ firstFont = GetCurrentObject(foreign.dc, OBJ_FONT);
  const HBRUSH held = CreateSolidBrush(RGB(7, 8, 9));
  try {
    cMemDC s;
    s.Init(0, 0, HDC(), foreign.dc);
    s.Brush(held);
    s.Font(Tahoma(9));
    ASSERT_EQ(GetCurrentObject(foreign.dc, OBJ_BRUSH), held);
    throw std::runtime_error("the holder's own error");
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "the holder's own error");
  }
  EXPECT_EQ(GetCurrentObject(foreign.dc, OBJ_BRUSH), firstBrush);
  EXPECT_EQ(GetCurrentObject(foreign.dc, OBJ_FONT), firstFont);
  EXPECT_EQ(GetObjectType(held), 0u) << "the surface's brush went with it";

  // The same while the holder is handling the error, which it then throws on.
  try {
    try {
      throw std::runtime_error("handled");
    } catch (const std::runtime_error&) {
      cMemDC s;
      s.Init(0, 0, HDC(), foreign.dc);
      s.Brush(CreateSolidBrush(RGB(1, 1, 1)));
      throw;
    }
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "handled");
  }
  EXPECT_EQ(GetCurrentObject(foreign.dc, OBJ_BRUSH), firstBrush);
}

TEST(MemDC, AParentContextLendsItsColoursModeAndFont) {
  cMemDC parent;
  parent.Init(4, 4);
  parent.ForeColor(0x0000AA);
  parent.BackColor(0x00BB00);
  parent.BackStyle(TRANSPARENT);
  parent.Font(Tahoma(12));
  cMemDC child;
  child.Init(3, 3, parent.hDC());
  EXPECT_TRUE(child.IsMemoryDC());
  EXPECT_EQ(child.ForeColor(), 0x0000AAu);
  EXPECT_EQ(child.BackColor(), 0x00BB00u);
  EXPECT_EQ(child.BackStyle(), TRANSPARENT);
  EXPECT_EQ(child.FontHeight(), parent.FontHeight());
  // The parent is the blits' default destination.
  child.Cls(0x123456);
  child.BitBlt();
  EXPECT_EQ(parent.GetPixel(2, 2), 0x123456u);
  EXPECT_NE(parent.GetPixel(3, 3), 0x123456u);
}

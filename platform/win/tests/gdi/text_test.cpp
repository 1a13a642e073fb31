// Fonts, metrics, measuring and drawing of text.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "canvas_fixture.h"
#include "gdi/layer_calls.h"
#include "win/qt_bridge.h"

using namespace win;
using gditest::kBlack;
using gditest::kRed;
using gditest::kWhite;
using gditest::Owned;
using gditest::Surface;

namespace {

HFONT MakeFont(const char* face, LONG height, LONG weight = FW_NORMAL) {
  LOGFONTA lf;
  lf.lfHeight = height;
  lf.lfWeight = weight;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}

SIZE Extent(HDC dc, const std::string& s) {
  SIZE size{};
  EXPECT_TRUE(GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size));
  return size;
}

RECT Measure(HDC dc, const std::string& s, UINT flags, LONG width = 1000) {
  RECT r{0, 0, width, 0};
  DrawTextA(dc, s.c_str(), -1, &r, flags | DT_CALCRECT);
  return r;
}

// The box around every pixel that is not the background.
RECT Ink(const Surface& s, int w, int h, COLORREF background) {
  RECT box{w, h, -1, -1};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (s.at(x, y) != background) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

class TextTest : public testing::Test {
 protected:
  Surface surface{200, 60};
  Owned<HFONT> font{MakeFont("Tahoma", -13)};
  void SetUp() override { SelectObject(surface.dc(), font); }
  void TearDown() override { SelectObject(surface.dc(), GetStockObject(SYSTEM_FONT)); }
  HDC dc() const { return surface.dc(); }
};

}  // namespace

TEST_F(TextTest, MetricsOfANineAndThreeQuarterPointFont) {
  TEXTMETRICA tm;
  ASSERT_TRUE(GetTextMetricsA(dc(), &tm));
  EXPECT_GE(tm.tmHeight, 14);
  EXPECT_LE(tm.tmHeight, 17);
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - 13);
  EXPECT_GT(tm.tmAscent, tm.tmDescent);
  EXPECT_GT(tm.tmAveCharWidth, 3);
  EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
  EXPECT_EQ(tm.tmWeight, FW_NORMAL);
  EXPECT_EQ(tm.tmDigitizedAspectY, 96);
  // Size in points read back the way a font object does it.
  EXPECT_DOUBLE_EQ((tm.tmHeight - tm.tmInternalLeading) * 72.0 / tm.tmDigitizedAspectY, 9.75);
  // A positive height asks for the cell height instead.
  Owned<HFONT> cell(MakeFont("Arial", 20));
  SelectObject(dc(), cell);
  GetTextMetricsA(dc(), &tm);
  EXPECT_NEAR(tm.tmHeight, 20, 1);
  SelectObject(dc(), font);
  char face[LF_FACESIZE];
  EXPECT_EQ(GetTextFaceA(dc(), sizeof face, face), 7);
  EXPECT_STREQ(face, "Tahoma");
  EXPECT_EQ(ToQFont(LOGFONTA{-13, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma"}).family(),
            QString("Liberation Sans"));
}

TEST_F(TextTest, FaceSubstitution) {
  EXPECT_EQ(SubstituteFace("MS Sans Serif"), "Liberation Sans");
  EXPECT_EQ(SubstituteFace("times new roman"), "Liberation Serif");
  EXPECT_EQ(SubstituteFace("Courier New"), "Liberation Mono");
  EXPECT_EQ(SubstituteFace("\xE5\xAE\x8B\xE4\xBD\x93"), "Noto Sans Mono CJK SC");
  EXPECT_EQ(SubstituteFace("Some Face"), "Some Face");
  LOGFONTA chinese;
  chinese.lfHeight = -12;
  chinese.lfCharSet = GB2312_CHARSET;
  std::strcpy(chinese.lfFaceName, "MS Shell Dlg");
  EXPECT_EQ(ToQFont(chinese).family(), "Noto Sans CJK SC");
  EXPECT_EQ(ToQFont(chinese).pixelSize(), 12);
}

TEST_F(TextTest, ExtentsGrowWithTextAndWeight) {
  const SIZE a = Extent(dc(), "Ciao");
  const SIZE b = Extent(dc(), "Ciao, come stai?");
  EXPECT_GT(a.cx, 10);
  EXPECT_GT(b.cx, a.cx);
  EXPECT_EQ(a.cy, b.cy);
  EXPECT_EQ(Extent(dc(), "").cx, 0);
  Owned<HFONT> bold(MakeFont("Tahoma", -13, FW_BOLD));
  SelectObject(dc(), bold);
  EXPECT_GT(Extent(dc(), "Ciao, come stai?").cx, b.cx);
  SelectObject(dc(), font);
  SIZE size;
  EXPECT_FALSE(GetTextExtentPoint32A(HDC(), "x", 1, &size));
  EXPECT_TRUE(GetTextExtentPointA(dc(), "Ciao", 4, &size));
  EXPECT_EQ(size.cx, a.cx);
}

TEST_F(TextTest, Utf8AccentsAreOneCharacterEach) {
  // "caffè" is six bytes; è measures as one letter, the width of e.
  EXPECT_EQ(std::strlen("caff\xC3\xA8"), 6u);
  EXPECT_EQ(Extent(dc(), "caff\xC3\xA8").cx, Extent(dc(), "caffe").cx);
  EXPECT_EQ(Extent(dc(), "perch\xC3\xA9").cx, Extent(dc(), "perche").cx);
  // Chinese text is measured in the fallback face, about one em a character.
  Owned<HFONT> song(MakeFont("\xE5\xAE\x8B\xE4\xBD\x93", -12));
  SelectObject(dc(), song);
  const int w = Extent(dc(), "\xE5\x85\xB3\xE4\xBA\x8E").cx;  // two characters
  EXPECT_GE(w, 22);
  EXPECT_LE(w, 26);
  SelectObject(dc(), font);
  // Bytes that are not UTF-8 are read as Latin-1 rather than dropped.
  EXPECT_EQ(Extent(dc(), "caff\xE8").cx, Extent(dc(), "caff\xC3\xA8").cx);
}

TEST_F(TextTest, DrawTextMeasuresLikeTheExtent) {
  const SIZE ext = Extent(dc(), "Impostazioni");
  const RECT r = Measure(dc(), "Impostazioni", DT_SINGLELINE);
  EXPECT_EQ(r.right - r.left, ext.cx);
  EXPECT_EQ(r.bottom - r.top, ext.cy);
  // "&&" shows one ampersand, "&x" shows x (underlined), unless prefixes are off.
  EXPECT_EQ(Measure(dc(), "Salva && esci", DT_SINGLELINE).right, Extent(dc(), "Salva & esci").cx);
  EXPECT_EQ(Measure(dc(), "&File", DT_SINGLELINE).right, Extent(dc(), "File").cx);
  EXPECT_EQ(Measure(dc(), "&File", DT_SINGLELINE | DT_NOPREFIX).right, Extent(dc(), "&File").cx);
  // Lines and word breaks.
  TEXTMETRICA tm;
  GetTextMetricsA(dc(), &tm);
  EXPECT_EQ(Measure(dc(), "uno\ndue\r\ntre", 0).bottom, 3 * tm.tmHeight);
  EXPECT_EQ(Measure(dc(), "uno\ndue", DT_SINGLELINE).bottom, tm.tmHeight);
  const RECT wrapped =
      Measure(dc(), "una frase abbastanza lunga da andare a capo", DT_WORDBREAK, 80);
  EXPECT_GE(wrapped.bottom, 3 * tm.tmHeight);
  EXPECT_LE(wrapped.right, 80);
  // Tabs expand to stops of eight average characters.
  const RECT tabbed = Measure(dc(), "a\tb", DT_SINGLELINE | DT_EXPANDTABS);
  EXPECT_GE(tabbed.right, 8 * tm.tmAveCharWidth);
  // The parameter block's margins widen the measured rectangle.
  DRAWTEXTPARAMS params;
  params.iLeftMargin = 5;
  params.iRightMargin = 7;
  RECT m{0, 0, 1000, 0};
  char text[] = "Impostazioni";
  DrawTextExA(dc(), text, -1, &m, DT_SINGLELINE | DT_CALCRECT, &params);
  EXPECT_EQ(m.right, ext.cx + 12);
  DRAWTEXTPARAMS wrongSize;
  wrongSize.cbSize = 3;
  EXPECT_EQ(DrawTextExA(dc(), text, -1, &m, DT_SINGLELINE, &wrongSize), 0);
}

TEST_F(TextTest, DrawingStaysInsideTheRectangleAndHonoursAlignment) {
  SetTextColor(dc(), kBlack);
  SetBkMode(dc(), TRANSPARENT);
  RECT r{10, 10, 190, 50};
  const int h = DrawTextA(dc(), "Centro", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  TEXTMETRICA tm;
  GetTextMetricsA(dc(), &tm);
  EXPECT_EQ(h, (40 - tm.tmHeight) / 2 + tm.tmHeight);
  const RECT ink = Ink(surface, 200, 60, kWhite);
  ASSERT_LT(ink.left, ink.right);
  const SIZE ext = Extent(dc(), "Centro");
  EXPECT_NEAR((ink.left + ink.right) / 2.0, 100, 3);
  EXPECT_NEAR(ink.right - ink.left, ext.cx, 3);
  EXPECT_GE(ink.top, 10 + (40 - tm.tmHeight) / 2);
  EXPECT_LE(ink.bottom, 10 + (40 - tm.tmHeight) / 2 + tm.tmHeight);
  // Clipped to a narrow rectangle; an ellipsis keeps the text inside it.
  Surface narrow(100, 30);
  SelectObject(narrow.dc(), font);
  RECT small{0, 0, 40, 20};
  DrawTextA(narrow.dc(), "Una frase troppo lunga", -1, &small, DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_LE(Ink(narrow, 100, 30, kWhite).right, 40);
  SelectObject(narrow.dc(), GetStockObject(SYSTEM_FONT));
}

TEST_F(TextTest, TextOutOpaqueBackground) {
  SetBkColor(dc(), kRed);
  SetBkMode(dc(), OPAQUE);
  ASSERT_TRUE(TextOutA(dc(), 5, 5, "Ab", 2));
  const SIZE ext = Extent(dc(), "Ab");
  EXPECT_EQ(surface.at(5, 5), kRed);  // the cell is filled
  EXPECT_EQ(surface.at(5 + ext.cx - 1, 5 + ext.cy - 1), kRed);
  EXPECT_EQ(surface.at(5 + ext.cx, 5), kWhite);
  // ExtTextOut with an opaque rectangle fills it even without text.
  const RECT box{150, 40, 160, 50};
  ExtTextOutA(dc(), 150, 40, ETO_OPAQUE, &box, nullptr, 0, nullptr);
  EXPECT_EQ(surface.at(159, 49), kRed);
  EXPECT_FALSE(TextOutA(HDC(), 0, 0, "x", 1));
}

TEST_F(TextTest, AccessKeysAreUnderlinedUnlessHidden) {
  SetBkMode(dc(), TRANSPARENT);
  RECT r{0, 0, 100, 30};
  DrawTextA(dc(), "&Esci", -1, &r, DT_SINGLELINE);
  TEXTMETRICA tm;
  GetTextMetricsA(dc(), &tm);
  const int underlineRow = tm.tmAscent + 1;
  int marked = 0;
  for (int x = 0; x < 20; ++x) marked += surface.at(x, underlineRow) == kBlack;
  EXPECT_GE(marked, 4);
  Surface hidden(200, 60);
  SelectObject(hidden.dc(), font);
  SetBkMode(hidden.dc(), TRANSPARENT);
  DrawTextA(hidden.dc(), "&Esci", -1, &r, DT_SINGLELINE | DT_HIDEPREFIX);
  int plain = 0;
  for (int x = 0; x < 20; ++x) plain += hidden.at(x, underlineRow) == kBlack;
  EXPECT_LT(plain, marked);
  SelectObject(hidden.dc(), GetStockObject(SYSTEM_FONT));
}

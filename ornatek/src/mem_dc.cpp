// The drawing surface's state, fonts, colours and lifecycle.

#include <cmath>
#include <cstring>
#include <vector>

#include "mem_dc.h"

namespace ornatek {

using namespace win;

namespace {

// Size in points times the context's dots per inch, both in fixed point with
// four decimals, rounded to an integer (halves to even).
long RoundedPointPixels(double size, int dpi) {
  const long long scaled = std::llround(size * 10000.0) * dpi;
  long long q = scaled / 10000;
  const long long r = scaled % 10000;
  if (r > 5000 || (r == 5000 && (q & 1))) ++q;
  if (r < -5000 || (r == -5000 && (q & 1))) --q;
  return static_cast<long>(q);
}

StdFont FontFromLogFont(const LOGFONTA& lf) {
  StdFont f;
  f.Name.assign(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
  f.Charset = lf.lfCharSet;
  f.Italic = lf.lfItalic != 0;
  f.Strikethrough = lf.lfStrikeOut != 0;
  f.Underline = lf.lfUnderline != 0;
  f.Weight = static_cast<short>(lf.lfWeight);
  HDC screen = GetDC(HWND());
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(HWND(), screen);
  f.SetSize(-static_cast<double>(lf.lfHeight) * 72.0 / (dpi > 0 ? dpi : 96));
  return f;
}

// The font selected in a context, as a font object: the character height in
// points from the text metrics.
StdFont FontOfContext(HDC dc) {
  TEXTMETRICA tm;
  char face[80] = {};
  GetTextMetricsA(dc, &tm);
  GetTextFaceA(dc, 79, face);
  StdFont f;
  f.Name = face;
  f.Charset = tm.tmCharSet;
  f.Italic = tm.tmItalic != 0;
  f.Strikethrough = tm.tmStruckOut != 0;
  f.Underline = tm.tmUnderlined != 0;
  f.Weight = static_cast<short>(tm.tmWeight);
  const std::int32_t product = (tm.tmHeight - tm.tmInternalLeading) * 72;
  const int aspect = tm.tmDigitizedAspectY > 0 ? tm.tmDigitizedAspectY : 96;
  f.SetSize(static_cast<double>(product) / aspect);
  return f;
}

}  // namespace

cMemDC::~cMemDC() {
  // Ending a surface never disturbs what its holder is handling.
  try {
    Destroy();
  } catch (...) {
  }
}

win::HDC cMemDC::Init(int PixelWidth, int PixelHeight, HDC hParentDC, HDC hMemoryDC) {
  if (IsCreated()) Destroy();
  width_ = PixelWidth;
  height_ = PixelHeight;
  HDC parent = hParentDC ? hParentDC : GetDC(HWND());
  if (hMemoryDC) {
    dc_ = hMemoryDC;
    ownDC_ = false;
  } else {
    dc_ = CreateCompatibleDC(parent);
    ownDC_ = true;
    bitmap_ = CreateCompatibleBitmap(parent, width_, height_);
    prevBitmap_ = HBITMAP(SelectObject(dc_, bitmap_));
  }
  if ((GetDeviceCaps(parent, RASTERCAPS) & RC_PALETTE) &&
      GetDeviceCaps(parent, SIZEPALETTE) == 256) {
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = 256;
    GetSystemPaletteEntries(parent, 0, 256, lp->palPalEntry);
    palette_ = CreatePalette(lp);
    prevPalette_ = SelectPalette(dc_, palette_, FALSE);
    RealizePalette(dc_);
  }
  if (hParentDC) {
    SetBkColor(dc_, GetBkColor(hParentDC));
    SetTextColor(dc_, GetTextColor(hParentDC));
    SetBkMode(dc_, GetBkMode(hParentDC));
    parentDC_ = hParentDC;
    Font(FontOfContext(hParentDC));
  } else {
    ReleaseDC(HWND(), parent);
    parentDC_ = HDC();
  }
  return dc_;
}

void cMemDC::Destroy() {
  if (!IsCreated()) return;
  if (prevPen_) {
    SelectObject(dc_, prevPen_);
    prevPen_ = HPEN();
  }
  if (prevBrush_) {
    SelectObject(dc_, prevBrush_);
    prevBrush_ = HBRUSH();
  }
  if (prevPalette_) {
    SelectPalette(dc_, prevPalette_, FALSE);
    RealizePalette(dc_);
    prevPalette_ = HPALETTE();
  }
  if (prevBitmap_) {
    SelectObject(dc_, prevBitmap_);
    prevBitmap_ = HBITMAP();
  }
  if (prevFont_) {
    SelectObject(dc_, prevFont_);
    prevFont_ = HFONT();
  }
  if (pen_) DeleteObject(pen_);
  if (brush_ && brush_ != dotBrush_) DeleteObject(brush_);
  if (dotBrush_) DeleteObject(dotBrush_);  // stock objects refuse to be deleted
  if (font_) DeleteObject(font_);
  if (palette_) DeleteObject(palette_);
  pen_ = HPEN();
  brush_ = dotBrush_ = HBRUSH();
  font_ = HFONT();
  palette_ = HPALETTE();
  if (ownDC_) {
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = HBITMAP();
    DeleteDC(dc_);
    dc_ = HDC();
    ownDC_ = false;
  }
}

HBITMAP cMemDC::DetachBitmap() {
  if (!bitmap_) return HBITMAP();
  SelectObject(dc_, prevBitmap_);
  prevBitmap_ = HBITMAP();
  const HBITMAP detached = bitmap_;
  bitmap_ = HBITMAP();
  return detached;
}

int cMemDC::FontHeight() const {
  if (!IsCreated()) return 0;
  TEXTMETRICA tm;
  if (!GetTextMetricsA(dc_, &tm)) return 0;
  return tm.tmHeight;
}

std::optional<StdFont> cMemDC::Font() const {
  if (!IsCreated()) return std::nullopt;
  return FontOfContext(dc_);
}

void cMemDC::Font(const StdFont& font) {
  if (!IsCreated()) return;
  LOGFONTA lf;
  // The logical font holds 31 bytes of face name: a longer name is cut there.
  std::strncpy(lf.lfFaceName, font.Name.c_str(), LF_FACESIZE - 1);
  lf.lfCharSet = static_cast<BYTE>(font.Charset);
  lf.lfItalic = font.Italic ? 1 : 0;
  lf.lfStrikeOut = font.Strikethrough ? 1 : 0;
  lf.lfUnderline = font.Underline ? 1 : 0;
  lf.lfWeight = font.Weight;
  lf.lfHeight = -(RoundedPointPixels(font.Size, GetDeviceCaps(dc_, LOGPIXELSY)) / 72);
  const HFONT made = CreateFontIndirectA(&lf);
  if (!made) return;
  if (font_) {
    SelectObject(dc_, prevFont_);
    DeleteObject(font_);
  }
  font_ = made;
  prevFont_ = HFONT(SelectObject(dc_, font_));
}

COLORREF cMemDC::ForeColor() const {
  return IsCreated() ? GetTextColor(dc_) : 0;
}
void cMemDC::ForeColor(Colour colour) {
  if (IsCreated()) SetTextColor(dc_, Rgb(colour));
}
COLORREF cMemDC::BackColor() const {
  return IsCreated() ? GetBkColor(dc_) : 0;
}
void cMemDC::BackColor(Colour colour) {
  if (IsCreated()) SetBkColor(dc_, Rgb(colour));
}
int cMemDC::BackStyle() const {
  return IsCreated() ? GetBkMode(dc_) : 0;
}
void cMemDC::BackStyle(int mode) {
  if (IsCreated()) SetBkMode(dc_, mode);
}
int cMemDC::DrawMode() const {
  return IsCreated() ? GetROP2(dc_) : 0;
}
void cMemDC::DrawMode(int rop2) {
  if (IsCreated()) SetROP2(dc_, rop2);
}

HBRUSH cMemDC::DotBrush() {
  if (!IsCreated()) return HBRUSH();
  if (!dotBrush_) {
    const std::uint32_t pattern[4] = {0x5555AAAA, 0x5555AAAA, 0x5555AAAA, 0x5555AAAA};
    const HBITMAP bits = CreateBitmap(8, 8, 1, 1, pattern);
    dotBrush_ = CreatePatternBrush(bits);
    DeleteObject(bits);
    if (!dotBrush_) dotBrush_ = HBRUSH(GetStockObject(DKGRAY_BRUSH));
  }
  return dotBrush_;
}

void cMemDC::Brush(HBRUSH value) {
  if (!IsCreated()) return;
  HBRUSH deselected;
  if (value) {
    deselected = HBRUSH(SelectObject(dc_, value));
    if (!prevBrush_) prevBrush_ = deselected;
  } else if (prevBrush_) {
    deselected = HBRUSH(SelectObject(dc_, prevBrush_));
    prevBrush_ = HBRUSH();
  }
  if (deselected && deselected == brush_ && deselected != dotBrush_ && deselected != value)
    DeleteObject(deselected);
  brush_ = value;
}

void cMemDC::Pen(HPEN value) {
  if (!IsCreated()) return;
  HPEN deselected;
  if (value) {
    deselected = HPEN(SelectObject(dc_, value));
    if (!prevPen_) prevPen_ = deselected;
  } else if (prevPen_) {
    deselected = HPEN(SelectObject(dc_, prevPen_));
    prevPen_ = HPEN();
  }
  if (deselected && deselected == pen_ && deselected != value) DeleteObject(deselected);
  pen_ = value;
}

Picture cMemDC::Image() const {
  if (!IsCreated()) return nullptr;
  const HDC copyDC = CreateCompatibleDC(dc_);
  const HBITMAP copy = CreateCompatibleBitmap(dc_, width_, height_);
  const HGDIOBJ first = SelectObject(copyDC, copy);
  HPALETTE firstPalette;
  if (palette_) {
    firstPalette = SelectPalette(copyDC, palette_, FALSE);
    RealizePalette(copyDC);
  }
  win::BitBlt(copyDC, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
  SelectObject(copyDC, first);
  if (palette_) {
    SelectPalette(copyDC, firstPalette, FALSE);
    RealizePalette(copyDC);
  }
  DeleteDC(copyDC);
  // The picture outlives the surface, so it gets a palette of its own.
  HPALETTE ownPalette;
  if (palette_) {
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = static_cast<WORD>(GetPaletteEntries(palette_, 0, 256, lp->palPalEntry));
    ownPalette = CreatePalette(lp);
  }
  return BitmapToPicture(copy, ownPalette);
}

StdFont cMemDC::SystemMenuFont() {
  pending::NONCLIENTMETRICSA ncm;
  pending::SystemParametersInfoA(pending::SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  return FontFromLogFont(ncm.lfMenuFont);
}

StdFont cMemDC::SystemIconFont() {
  LOGFONTA lf;
  pending::SystemParametersInfoA(pending::SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0);
  return FontFromLogFont(lf);
}

COLORREF cMemDC::Rgb(Colour colour) const {
  return static_cast<COLORREF>(TranslateColor(colour));
}

Colour cMemDC::TranslateColor(Colour clrColor) const {
  if (clrColor == kNoColour) return kNoColour;
  COLORREF rgb = 0;
  if (pending::OleTranslateColor(static_cast<OLE_COLOR>(clrColor), palette_, &rgb) != pending::S_OK)
    return 0;
  return rgb;
}

}  // namespace ornatek

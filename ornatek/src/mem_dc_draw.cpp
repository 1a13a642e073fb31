// The drawing surface's operations: fills, blits, text, pictures and bits.

#include <cmath>
#include <cstring>
#include <vector>

#include "mem_dc.h"

namespace ornatek {

using namespace win;

namespace {

COLORREF Translated(Colour colour, HPALETTE palette) {
  if (colour == kNoColour) return CLR_INVALID;
  COLORREF rgb = 0;
  if (pending::OleTranslateColor(static_cast<OLE_COLOR>(colour), palette, &rgb) != pending::S_OK)
    return 0;
  return rgb;
}

// A memory context holding one bitmap, with the screen's palette when it has
// one; everything goes back and away when it ends.
class ScratchDC {
 public:
  ScratchDC(HDC like, HBITMAP bitmap, HPALETTE palette, bool forceBackground)
      : dc_(CreateCompatibleDC(like)), bitmap_(bitmap), palette_(palette) {
    first_ = SelectObject(dc_, bitmap_);
    if (palette_) {
      firstPalette_ = SelectPalette(dc_, palette_, forceBackground ? TRUE : FALSE);
      RealizePalette(dc_);
    }
  }
  ~ScratchDC() {
    SelectObject(dc_, first_);
    if (palette_) SelectPalette(dc_, firstPalette_, FALSE);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  ScratchDC(const ScratchDC&) = delete;
  ScratchDC& operator=(const ScratchDC&) = delete;
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HPALETTE palette_;
  HGDIOBJ first_;
  HPALETTE firstPalette_;
};

// The screen context and, when the caller gave none, a halftone palette, for
// the length of one blit.
class ScreenLoan {
 public:
  explicit ScreenLoan(HPALETTE given) : screen_(GetDC(HWND())), palette_(given) {
    if (!palette_) palette_ = made_ = CreateHalftonePalette(screen_);
  }
  ~ScreenLoan() {
    ReleaseDC(HWND(), screen_);
    if (made_) DeleteObject(made_);
  }
  ScreenLoan(const ScreenLoan&) = delete;
  ScreenLoan& operator=(const ScreenLoan&) = delete;
  HDC screen() const { return screen_; }
  HPALETTE palette() const { return palette_; }

 private:
  HDC screen_;
  HPALETTE palette_;
  HPALETTE made_;
};

// Channel byte times 256, as the gradient vertices want it.
COLOR16 VertexRed(COLORREF c) {
  return static_cast<COLOR16>(GetRValue(c) * 256);
}
COLOR16 VertexGreen(COLORREF c) {
  return static_cast<COLOR16>(GetGValue(c) * 256);
}
COLOR16 VertexBlue(COLORREF c) {
  return static_cast<COLOR16>(GetBValue(c) * 256);
}

}  // namespace

void TransBltCore(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                  Colour key, HPALETTE palette) {
  ScreenLoan loan(palette);
  const COLORREF keyRgb = Translated(key, loan.palette());
  const HDC screen = loan.screen();

  ScratchDC back(screen, CreateCompatibleBitmap(screen, width, height), loan.palette(), true);
  win::BitBlt(back.dc(), 0, 0, width, height, dest, x, y, SRCCOPY);

  ScratchDC image(screen, CreateCompatibleBitmap(screen, width, height), loan.palette(), false);
  SetBkColor(image.dc(), GetBkColor(src));
  SetTextColor(image.dc(), GetTextColor(src));
  win::BitBlt(image.dc(), 0, 0, width, height, src, xSrc, ySrc, SRCCOPY);

  ScratchDC mask(screen, CreateBitmap(width, height, 1, 1, nullptr), HPALETTE(), false);
  SetBkColor(image.dc(), keyRgb);
  SetTextColor(image.dc(), RGB(255, 255, 255));
  win::BitBlt(mask.dc(), 0, 0, width, height, image.dc(), 0, 0, SRCCOPY);

  // Key-coloured pixels of the image become black (destination AND NOT source).
  SetTextColor(image.dc(), RGB(0, 0, 0));
  SetBkColor(image.dc(), RGB(255, 255, 255));
  win::BitBlt(image.dc(), 0, 0, width, height, mask.dc(), 0, 0, 0x00220326);

  win::BitBlt(back.dc(), 0, 0, width, height, mask.dc(), 0, 0, SRCAND);
  win::BitBlt(back.dc(), 0, 0, width, height, image.dc(), 0, 0, SRCPAINT);
  win::BitBlt(dest, x, y, width, height, back.dc(), 0, 0, SRCCOPY);
}

void DisabledBltCore(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                     Colour mask, Colour highlight, Colour shadow, HPALETTE palette) {
  ScreenLoan loan(palette);
  const HDC screen = loan.screen();
  const COLORREF shadowRgb = Translated(shadow, loan.palette());
  const COLORREF highlightRgb = Translated(highlight, loan.palette());

  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
  } info{};
  info.header.biSize = 40;
  info.header.biWidth = width;
  info.header.biHeight = -height;
  info.header.biPlanes = 1;
  info.header.biBitCount = 1;
  info.header.biCompression = BI_RGB;
  info.colours[0] = {0, 0, 0, 0};
  info.colours[1] = {255, 255, 255, 255};
  void* bits = nullptr;
  ScratchDC mono(screen,
                 CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(&info),
                                  DIB_RGB_COLORS, &bits, nullptr, 0),
                 HPALETTE(), false);

  if (Translated(kWhite, loan.palette()) == Translated(mask, loan.palette())) {
    win::BitBlt(mono.dc(), 0, 0, width, height, src, xSrc, ySrc, SRCCOPY);
  } else {
    ScratchDC white(screen, CreateCompatibleBitmap(screen, width, height), loan.palette(), false);
    const HBRUSH whiteBrush = CreateSolidBrush(RGB(255, 255, 255));
    const RECT all{0, 0, width, height};
    win::FillRect(white.dc(), &all, whiteBrush);
    DeleteObject(whiteBrush);
    TransBltCore(white.dc(), 0, 0, width, height, src, xSrc, ySrc, mask, loan.palette());
    win::BitBlt(mono.dc(), 0, 0, width, height, white.dc(), 0, 0, SRCCOPY);
  }

  ScratchDC result(screen, CreateCompatibleBitmap(screen, width, height), loan.palette(), false);
  win::BitBlt(result.dc(), 0, 0, width, height, dest, x, y, SRCCOPY);

  // A key colour that is neither of the two drawing colours.
  COLORREF transparent = 0;
  for (Colour candidate : {Colour{0x000000}, Colour{0x0000FF}, Colour{0xFF0000}}) {
    transparent = Translated(candidate, loan.palette());
    if (transparent != shadowRgb && transparent != highlightRgb) break;
  }

  // Inverted: the figure (the dark pixels) now reads white, the rest black.
  const RGBQUAD inverted[2] = {{255, 255, 255, 0}, {0, 0, 0, 0}};
  SetDIBColorTable(mono.dc(), 0, 2, inverted);

  ScratchDC maskDC(screen, CreateBitmap(width, height, 1, 1, nullptr), HPALETTE(), false);
  SetMapMode(maskDC.dc(), GetMapMode(src));
  HPALETTE firstMaskPalette;
  if (loan.palette()) firstMaskPalette = SelectPalette(maskDC.dc(), loan.palette(), FALSE);

  for (const auto& [colour, offset] : {std::pair{highlightRgb, 1}, std::pair{shadowRgb, 0}}) {
    SetBkColor(maskDC.dc(), colour);
    SetTextColor(maskDC.dc(), transparent);
    win::BitBlt(maskDC.dc(), 0, 0, width, height, mono.dc(), 0, 0, SRCCOPY);
    TransBltCore(result.dc(), offset, offset, width, height, maskDC.dc(), 0, 0, transparent,
                 loan.palette());
  }
  if (loan.palette()) SelectPalette(maskDC.dc(), firstMaskPalette, FALSE);

  win::BitBlt(dest, x, y, width, height, result.dc(), 0, 0, SRCCOPY);
}

double HimetricToPixels(double himetric) {
  HDC screen = GetDC(HWND());
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(HWND(), screen);
  const double twipsPerPixel = 1440.0 / (dpi > 0 ? dpi : 96);
  return himetric * 1440.0 / 2540.0 / twipsPerPixel;
}

RECT cMemDC::Bounds(int l, int t, int r, int b) const {
  return RECT{l, t, r < l ? width_ : r, b < t ? height_ : b};
}

void cMemDC::Cls(Colour clrFill, HBRUSH hbrFill) {
  FillRect(0, 0, width_, height_, clrFill, hbrFill);
}

void cMemDC::FillRect(int LeftX, int TopY, int RightX, int BottomY, Colour clrFill,
                      HBRUSH hbrFill) {
  if (!IsCreated()) return;
  const RECT r = Bounds(LeftX, TopY, RightX, BottomY);
  if (clrFill != kNoColour) {
    const HBRUSH solid = CreateSolidBrush(Rgb(clrFill));
    win::FillRect(dc_, &r, solid);
    DeleteObject(solid);
  } else if (hbrFill) {
    win::FillRect(dc_, &r, hbrFill);
  }
}

void cMemDC::FrameRect(int LeftX, int TopY, int RightX, int BottomY, Colour clrFill,
                       HBRUSH hbrFill) {
  if (!IsCreated()) return;
  const RECT r{LeftX, TopY, RightX, BottomY};
  if (clrFill != kNoColour) {
    const HBRUSH solid = CreateSolidBrush(Rgb(clrFill));
    win::FrameRect(dc_, &r, solid);
    DeleteObject(solid);
  } else if (hbrFill) {
    win::FrameRect(dc_, &r, hbrFill);
  }
}

void cMemDC::FillGradient(int LeftX, int TopY, int RightX, int BottomY, Colour clrFirst,
                          Colour clrSecond, bool bVertical) {
  const COLORREF first = Rgb(clrFirst);
  const COLORREF second = Rgb(clrSecond);
  TRIVERTEX vertices[2];
  vertices[0] = {LeftX, TopY, VertexRed(first), VertexGreen(first), VertexBlue(first), 0};
  vertices[1] = {RightX, BottomY, VertexRed(second), VertexGreen(second), VertexBlue(second), 0};
  const GRADIENT_RECT joined{0, 1};
  GradientFill(dc_, vertices, 2, &joined, 1,
               bVertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

void cMemDC::DrawEdge(int LeftX, int TopY, int RightX, int BottomY, UINT Edge, UINT flags) {
  RECT r = Bounds(LeftX, TopY, RightX, BottomY);
  win::DrawEdge(dc_, &r, Edge, flags);
}

void cMemDC::DrawFrameControl(int LeftX, int TopY, int RightX, int BottomY, UINT Type_,
                              UINT Style) {
  RECT r = Bounds(LeftX, TopY, RightX, BottomY);
  win::DrawFrameControl(dc_, &r, Type_, Style);
}

void cMemDC::DrawLine(int X1, int Y1, int X2, int Y2, Colour clrLine, HPEN hpnLine) {
  if (!IsCreated()) return;
  Pen(clrLine != kNoColour ? win::CreatePen(PS_SOLID, 1, Rgb(clrLine)) : hpnLine);
  if (X1 >= 0) MoveToEx(dc_, X1, Y1, nullptr);
  LineTo(dc_, X2, Y2);
}

void cMemDC::BlitDefaults(HDC& dest, int& w, int& h) const {
  if (!dest) dest = parentDC_;
  if (w == 0) w = width_;
  if (h == 0) h = height_;
}

void cMemDC::BitBlt(HDC hdcDest, int xDest, int yDest, int nWidth, int nHeight, int xSrc, int ySrc,
                    DWORD dwRop) const {
  if (!IsCreated()) return;
  BlitDefaults(hdcDest, nWidth, nHeight);
  win::BitBlt(hdcDest, xDest, yDest, nWidth, nHeight, dc_, xSrc, ySrc, dwRop);
}

void cMemDC::StretchBlt(HDC hdcDest, int xDest, int yDest, int nWidth, int nHeight, int xSrc,
                        int ySrc, int nSrcWidth, int nSrcHeight, DWORD dwRop) const {
  if (!IsCreated()) return;
  BlitDefaults(hdcDest, nWidth, nHeight);
  if (nSrcWidth == 0) nSrcWidth = width_;
  if (nSrcHeight == 0) nSrcHeight = height_;
  win::StretchBlt(hdcDest, xDest, yDest, nWidth, nHeight, dc_, xSrc, ySrc, nSrcWidth, nSrcHeight,
                  dwRop);
}

void cMemDC::TransBlt(HDC hdcDest, int xDest, int yDest, int nWidth, int nHeight, int xSrc,
                      int ySrc, Colour clrMask) const {
  if (!IsCreated()) return;
  BlitDefaults(hdcDest, nWidth, nHeight);
  TransBltCore(hdcDest, xDest, yDest, nWidth, nHeight, dc_, xSrc, ySrc, TranslateColor(clrMask),
               HPALETTE());
}

void cMemDC::DisabledBlt(HDC hdcDest, int xDest, int yDest, int nWidth, int nHeight, int xSrc,
                         int ySrc, Colour clrMask, Colour clrHighlight, Colour clrShadow) const {
  if (!IsCreated()) return;
  BlitDefaults(hdcDest, nWidth, nHeight);
  DisabledBltCore(hdcDest, xDest, yDest, nWidth, nHeight, dc_, xSrc, ySrc, clrMask, clrHighlight,
                  clrShadow, HPALETTE());
}

void cMemDC::DrawText(const std::string& Text, int& LeftX, int& TopY, int& RightX, int& BottomY,
                      UINT dtFlags) {
  if (!IsCreated()) return;
  std::vector<char> text(Text.begin(), Text.end());
  // Room for what DT_MODIFYSTRING may write back.
  text.resize(Text.size() + 5, '\0');
  RECT r{LeftX, TopY, RightX, BottomY};
  DRAWTEXTPARAMS params;
  params.cbSize = 20;
  DrawTextExA(dc_, text.data(), -1, &r, dtFlags, &params);
  LeftX = r.left;
  TopY = r.top;
  RightX = r.right;
  BottomY = r.bottom;
}

void cMemDC::ExtTextOut(const std::string& Text, int LeftX, int TopY, int RightX, int BottomY,
                        int xOffset, int yOffset, UINT etoFlags) {
  if (!IsCreated()) return;
  const RECT r{LeftX, TopY, RightX, BottomY};
  ExtTextOutA(dc_, xOffset, yOffset, etoFlags, &r, Text.c_str(), static_cast<UINT>(Text.size()),
              nullptr);
}

int cMemDC::TextWidth(const std::string& sText) const {
  if (!IsCreated()) return 0;
  SIZE s;
  GetTextExtentPointA(dc_, sText.c_str(), static_cast<int>(sText.size()), &s);
  return s.cx;
}

int cMemDC::TextHeight(const std::string& sText) const {
  if (!IsCreated()) return 0;
  SIZE s;
  GetTextExtentPointA(dc_, sText.c_str(), static_cast<int>(sText.size()), &s);
  return s.cy;
}

void cMemDC::PaintBitmap(HBITMAP hBmp, int xDest, int yDest, int nWidth, int nHeight, int xSrc,
                         int ySrc, DWORD dwRop, Colour clrMask) {
  if (!IsCreated()) return;
  const HDC temp = CreateCompatibleDC(dc_);
  const HGDIOBJ first = SelectObject(temp, hBmp);
  if (clrMask == kNoColour)
    win::BitBlt(dc_, xDest, yDest, nWidth, nHeight, temp, xSrc, ySrc, dwRop);
  else
    TransBltCore(dc_, xDest, yDest, nWidth, nHeight, temp, xSrc, ySrc, clrMask, HPALETTE());
  SelectObject(temp, first);
  DeleteDC(temp);
}

namespace {

int PicturePixels(long himetric) {
  return static_cast<int>(std::nearbyint(HimetricToPixels(static_cast<double>(himetric))));
}

}  // namespace

void cMemDC::PaintPicture(const Picture& oPic, int xDest, int yDest, int nWidth, int nHeight,
                          int xSrc, int ySrc, DWORD dwRop, Colour clrMask) {
  if (!oPic) return;
  if (!IsCreated()) Init(PicturePixels(oPic->Width()), PicturePixels(oPic->Height()));
  if (nWidth == 0) nWidth = PicturePixels(oPic->Width());
  if (nHeight == 0) nHeight = PicturePixels(oPic->Height());
  const Colour mask = TranslateColor(clrMask);
  switch (oPic->Type()) {
    case pending::PICTYPE_ICON:
      DrawIconEx(dc_, xDest, yDest, HICON(oPic->Handle()), nWidth, nHeight, 0, HBRUSH(), DI_NORMAL);
      break;
    case pending::PICTYPE_BITMAP:
      PaintBitmap(HBITMAP(oPic->Handle()), xDest, yDest, nWidth, nHeight, xSrc, ySrc, dwRop, mask);
      break;
    case pending::PICTYPE_ENHMETAFILE: {
      const RECT r{xDest, yDest, xDest + nWidth, yDest + nHeight};
      PlayEnhMetaFile(dc_, HENHMETAFILE(oPic->Handle()), &r);
      break;
    }
    default:
      // Old-style metafiles need a recorder the layer does not have; like any
      // other unknown type they draw nothing.
      break;
  }
}

void cMemDC::PaintDisabledPicture(const Picture& oPic, int xDest, int yDest, int nWidth,
                                  int nHeight, int xSrc, int ySrc, Colour clrMask,
                                  Colour clrHighlight, Colour clrShadow) {
  if (!oPic) return;
  if (!IsCreated()) Init(PicturePixels(oPic->Width()), PicturePixels(oPic->Height()));
  if (nWidth == 0) nWidth = PicturePixels(oPic->Width());
  if (nHeight == 0) nHeight = PicturePixels(oPic->Height());
  cMemDC temp;
  temp.Init(nWidth, nHeight);
  temp.Cls(clrMask);
  temp.PaintPicture(oPic, 0, 0, nWidth, nHeight, xSrc, ySrc, SRCCOPY, kNoColour);
  DisabledBltCore(dc_, xDest, yDest, nWidth, nHeight, temp.hDC(), 0, 0, clrMask, clrHighlight,
                  clrShadow, HPALETTE());
}

Picture cMemDC::ExtractIcon(COLORREF clrMask) const {
  if (!IsCreated()) return nullptr;
  const HDC maskDC = CreateCompatibleDC(HDC());
  const HDC colourDC = CreateCompatibleDC(dc_);
  const HBITMAP maskBmp = CreateCompatibleBitmap(maskDC, width_, height_);
  const HBITMAP colourBmp = CreateCompatibleBitmap(dc_, width_, height_);
  const HGDIOBJ firstMask = SelectObject(maskDC, maskBmp);
  const HGDIOBJ firstColour = SelectObject(colourDC, colourBmp);
  win::BitBlt(colourDC, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
  SetBkColor(colourDC, clrMask);
  SetTextColor(colourDC, RGB(255, 255, 255));
  win::BitBlt(maskDC, 0, 0, width_, height_, colourDC, 0, 0, SRCCOPY);
  SetBkColor(colourDC, RGB(0, 0, 0));
  win::BitBlt(colourDC, 0, 0, width_, height_, maskDC, 0, 0, SRCAND);
  SelectObject(maskDC, firstMask);
  SelectObject(colourDC, firstColour);
  ICONINFO info;
  info.fIcon = TRUE;
  info.hbmMask = maskBmp;
  info.hbmColor = colourBmp;
  const HICON icon = CreateIconIndirect(&info);
  DeleteObject(maskBmp);
  DeleteObject(colourBmp);
  DeleteDC(maskDC);
  DeleteDC(colourDC);
  return IconToPicture(icon);
}

Picture cMemDC::BitmapToPicture(HBITMAP hBmp, HPALETTE hPal) {
  pending::PICTDESC desc;
  desc.picType = pending::PICTYPE_BITMAP;
  desc.hbitmap = hBmp;
  desc.hpal = hPal;
  return pending::OleCreatePictureIndirect(desc, true);
}

Picture cMemDC::IconToPicture(HICON hIcon) {
  if (!hIcon) return nullptr;
  pending::PICTDESC desc;
  desc.picType = pending::PICTYPE_ICON;
  desc.hicon = hIcon;
  return pending::OleCreatePictureIndirect(desc, true);
}

void cMemDC::NormalizeRect(int& LeftX, int& TopY, int& RightX, int& BottomY) {
  if (BottomY < TopY) std::swap(TopY, BottomY);
  if (RightX < LeftX) std::swap(LeftX, RightX);
}

void cMemDC::SetClipRect(int LeftX, int TopY, int RightX, int BottomY) {
  if (!IsCreated()) return;
  if (LeftX < 0) {
    SelectClipRgn(dc_, HRGN());
    return;
  }
  NormalizeRect(LeftX, TopY, RightX, BottomY);
  const HRGN region = CreateRectRgn(LeftX, TopY, RightX, BottomY);
  SelectClipRgn(dc_, region);
  DeleteObject(region);
}

bool cMemDC::SetDIBits(int xDest, int yDest, int nWidth, int nHeight,
                       std::span<const std::uint8_t> aBits, DWORD dwRop) {
  if (!IsCreated() || nWidth <= 0 || nHeight <= 0) return false;
  // 24 bits a pixel, each row padded to four bytes: never read past the array.
  const std::size_t stride = (static_cast<std::size_t>(nWidth) * 3 + 3) / 4 * 4;
  if (aBits.size() / stride < static_cast<std::size_t>(nHeight)) return false;
  BITMAPINFO info;
  info.bmiHeader.biSize = 40;
  info.bmiHeader.biWidth = nWidth;
  info.bmiHeader.biHeight = nHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc_, xDest, yDest, nWidth, nHeight, 0, 0, nWidth, nHeight, aBits.data(), &info,
                DIB_RGB_COLORS, dwRop);
  return true;
}

HBRUSH cMemDC::CreateBrush(Colour clrFill, UINT lStyle, ULONG_PTR lHatch) const {
  LOGBRUSH lb;
  lb.lbStyle = lStyle;
  lb.lbColor = Rgb(clrFill);
  lb.lbHatch = lHatch;
  return CreateBrushIndirect(&lb);
}

HPEN cMemDC::CreatePen(Colour clrOutline, int lStyle, int lWidth) const {
  return win::CreatePen(lStyle, lWidth, Rgb(clrOutline));
}

void cMemDC::Rectangle(int LeftX, int TopY, int RightX, int BottomY, Colour clrFill, HBRUSH hbrFill,
                       Colour clrOutline, HPEN hpnOutline) {
  if (!IsCreated()) return;
  const HBRUSH brush = clrFill != kNoColour ? CreateSolidBrush(Rgb(clrFill)) : hbrFill;
  if (brush) Brush(brush);
  const HPEN pen =
      clrOutline != kNoColour ? win::CreatePen(PS_SOLID, 1, Rgb(clrOutline)) : hpnOutline;
  if (pen) Pen(pen);
  const RECT r = Bounds(LeftX, TopY, RightX, BottomY);
  win::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void cMemDC::DrawEllipse(int LeftX, int TopY, int RightX, int BottomY, Colour clrOutline,
                         HPEN hpnOutline) {
  if (!IsCreated()) return;
  const HPEN pen =
      clrOutline != kNoColour ? win::CreatePen(PS_SOLID, 1, Rgb(clrOutline)) : hpnOutline;
  if (pen) Pen(pen);
  const RECT r = Bounds(LeftX, TopY, RightX, BottomY);
  Arc(dc_, r.left, r.top, r.right, r.bottom, LeftX, TopY, LeftX, TopY);
}

void cMemDC::SetPixel(int LeftX, int TopY, Colour clrColor) {
  win::SetPixel(dc_, LeftX, TopY, Rgb(clrColor));
}

COLORREF cMemDC::GetPixel(int LeftX, int TopY) const {
  return win::GetPixel(dc_, LeftX, TopY);
}

}  // namespace ornatek

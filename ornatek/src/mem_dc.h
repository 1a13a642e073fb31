#pragma once

// The library's drawing surface: one device context and everything it selects
// into it. In own mode it makes a memory context and a bitmap of its own; in
// attached mode it draws on a context somebody else owns. Either way it puts
// the context back the way it found it and frees what it created.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "pending_platform_calls.h"
#include "win/win.h"

namespace ornatek {

using pending::OLE_COLOR;
using pending::Picture;
using pending::StdFont;

// An OLE colour argument, or -1 for "none".
using Colour = std::int64_t;
inline constexpr Colour kNoColour = -1;
inline constexpr Colour kMagenta = 0xFF00FF;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kSysColour = 0x80000000;

class cMemDC {
 public:
  cMemDC() = default;
  ~cMemDC();
  cMemDC(const cMemDC&) = delete;
  cMemDC& operator=(const cMemDC&) = delete;

  // ---- properties -------------------------------------------------------
  win::HDC hDC() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int FontHeight() const;
  std::optional<StdFont> Font() const;
  void Font(const StdFont& font);
  win::COLORREF ForeColor() const;
  void ForeColor(Colour colour);
  win::COLORREF BackColor() const;
  void BackColor(Colour colour);
  int BackStyle() const;
  void BackStyle(int mode);
  win::HBRUSH DotBrush();
  win::HBRUSH Brush() const { return brush_; }
  void Brush(win::HBRUSH brush);
  win::HPEN Pen() const { return pen_; }
  void Pen(win::HPEN pen);
  Picture Image() const;
  bool IsMemoryDC() const { return static_cast<bool>(bitmap_); }
  int DrawMode() const;
  void DrawMode(int rop2);
  static StdFont SystemIconFont();
  static StdFont SystemMenuFont();

  // ---- lifecycle -----------------------------------------------------------
  win::HDC Init(int PixelWidth = 0, int PixelHeight = 0, win::HDC hParentDC = {},
                win::HDC hMemoryDC = {});
  void Destroy();
  win::HBITMAP DetachBitmap();
  bool IsCreated() const { return static_cast<bool>(dc_); }

  // ---- fills, frames and shapes ----------------------------------------------
  void Cls(Colour clrFill = kNoColour, win::HBRUSH hbrFill = {});
  void FillRect(int LeftX = 0, int TopY = 0, int RightX = -1, int BottomY = -1,
                Colour clrFill = kNoColour, win::HBRUSH hbrFill = {});
  void FillGradient(int LeftX, int TopY, int RightX, int BottomY, Colour clrFirst, Colour clrSecond,
                    bool bVertical = false);
  void DrawEdge(int LeftX = 0, int TopY = 0, int RightX = -1, int BottomY = -1,
                win::UINT Edge = win::BDR_SUNKENOUTER, win::UINT flags = win::BF_RECT);
  void DrawFrameControl(int LeftX = 0, int TopY = 0, int RightX = -1, int BottomY = -1,
                        win::UINT Type_ = win::DFC_BUTTON, win::UINT Style = win::DFCS_BUTTONPUSH);
  void FrameRect(int LeftX, int TopY, int RightX, int BottomY, Colour clrFill = kNoColour,
                 win::HBRUSH hbrFill = {});
  void DrawLine(int X1, int Y1, int X2, int Y2, Colour clrLine = kNoColour, win::HPEN hpnLine = {});

  // ---- blits from the surface ------------------------------------------------------
  void BitBlt(win::HDC hdcDest = {}, int xDest = 0, int yDest = 0, int nWidth = 0, int nHeight = 0,
              int xSrc = 0, int ySrc = 0, win::DWORD dwRop = win::SRCCOPY) const;
  void StretchBlt(win::HDC hdcDest = {}, int xDest = 0, int yDest = 0, int nWidth = 0,
                  int nHeight = 0, int xSrc = 0, int ySrc = 0, int nSrcWidth = 0,
                  int nSrcHeight = 0, win::DWORD dwRop = win::SRCCOPY) const;
  void TransBlt(win::HDC hdcDest = {}, int xDest = 0, int yDest = 0, int nWidth = 0,
                int nHeight = 0, int xSrc = 0, int ySrc = 0, Colour clrMask = kMagenta) const;
  void DisabledBlt(win::HDC hdcDest = {}, int xDest = 0, int yDest = 0, int nWidth = 0,
                   int nHeight = 0, int xSrc = 0, int ySrc = 0, Colour clrMask = kWhite,
                   Colour clrHighlight = kSysColour + 20, Colour clrShadow = kSysColour + 16) const;

  // ---- text ------------------------------------------------------------------------------
  void DrawText(const std::string& Text, int& LeftX, int& TopY, int& RightX, int& BottomY,
                win::UINT dtFlags = 0);
  void ExtTextOut(const std::string& Text, int LeftX, int TopY, int RightX, int BottomY,
                  int xOffset = 0, int yOffset = 0, win::UINT etoFlags = 0);
  int TextWidth(const std::string& sText) const;
  int TextHeight(const std::string& sText) const;

  // ---- painting into the surface ------------------------------------------------------
  void PaintBitmap(win::HBITMAP hBmp, int xDest, int yDest, int nWidth, int nHeight, int xSrc = 0,
                   int ySrc = 0, win::DWORD dwRop = win::SRCCOPY, Colour clrMask = kNoColour);
  void PaintPicture(const Picture& oPic, int xDest = 0, int yDest = 0, int nWidth = 0,
                    int nHeight = 0, int xSrc = 0, int ySrc = 0, win::DWORD dwRop = win::SRCCOPY,
                    Colour clrMask = kNoColour);
  void PaintDisabledPicture(const Picture& oPic, int xDest = 0, int yDest = 0, int nWidth = 0,
                            int nHeight = 0, int xSrc = 0, int ySrc = 0, Colour clrMask = kWhite,
                            Colour clrHighlight = kSysColour + 20,
                            Colour clrShadow = kSysColour + 16);

  // ---- pictures and colours -------------------------------------------------------------
  Picture ExtractIcon(win::COLORREF clrMask) const;
  static Picture BitmapToPicture(win::HBITMAP hBmp, win::HPALETTE hPal = {});
  static Picture IconToPicture(win::HICON hIcon);
  Colour TranslateColor(Colour clrColor) const;

  // ---- clipping, bits, objects, pixels ---------------------------------------------------
  static void NormalizeRect(int& LeftX, int& TopY, int& RightX, int& BottomY);
  void SetClipRect(int LeftX, int TopY = 0, int RightX = 0, int BottomY = 0);
  // Refuses (false, nothing drawn) an array smaller than the bitmap needs.
  bool SetDIBits(int xDest, int yDest, int nWidth, int nHeight, std::span<const std::uint8_t> aBits,
                 win::DWORD dwRop = win::SRCCOPY);
  win::HBRUSH CreateBrush(Colour clrFill, win::UINT lStyle = 0, win::ULONG_PTR lHatch = 0) const;
  win::HPEN CreatePen(Colour clrOutline, int lStyle = 0, int lWidth = 1) const;
  void Rectangle(int LeftX = 0, int TopY = 0, int RightX = -1, int BottomY = -1,
                 Colour clrFill = kNoColour, win::HBRUSH hbrFill = {},
                 Colour clrOutline = kNoColour, win::HPEN hpnOutline = {});
  void DrawEllipse(int LeftX = 0, int TopY = 0, int RightX = -1, int BottomY = -1,
                   Colour clrOutline = kNoColour, win::HPEN hpnOutline = {});
  void SetPixel(int LeftX, int TopY, Colour clrColor = kWhite);
  win::COLORREF GetPixel(int LeftX, int TopY) const;

 private:
  win::RECT Bounds(int l, int t, int r, int b) const;
  win::COLORREF Rgb(Colour colour) const;
  void BlitDefaults(win::HDC& dest, int& w, int& h) const;

  win::HDC dc_;
  int width_ = 0;
  int height_ = 0;
  win::HBITMAP bitmap_;
  win::HBITMAP prevBitmap_;
  win::HPALETTE palette_;
  win::HPALETTE prevPalette_;
  win::HFONT font_;
  win::HFONT prevFont_;
  win::HDC parentDC_;
  win::HBRUSH brush_;
  win::HBRUSH prevBrush_;
  win::HPEN pen_;
  win::HPEN prevPen_;
  win::HBRUSH dotBrush_;
  bool ownDC_ = false;  // the context is a memory context this surface made
};

// The two blits at the heart of the surface, also used on contexts the
// surface does not own.
void TransBltCore(win::HDC dest, int x, int y, int width, int height, win::HDC src, int xSrc,
                  int ySrc, Colour key, win::HPALETTE palette);
void DisabledBltCore(win::HDC dest, int x, int y, int width, int height, win::HDC src, int xSrc,
                     int ySrc, Colour mask, Colour highlight, Colour shadow, win::HPALETTE palette);

// Picture sizes in HIMETRIC to screen pixels (heights use the horizontal figure too).
double HimetricToPixels(double himetric);

}  // namespace ornatek

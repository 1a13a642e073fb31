#pragma once

#include <optional>
#include <string_view>

#include "forms/control.h"
#include "win/gdi.h"

namespace forms {

// The drawing surface of forms, picture boxes and user controls: the
// runtime's drawing methods, on the window or, with persistent drawing on, on
// a picture kept in memory that the window shows.
class Canvas {
 public:
  explicit Canvas(Container& scale);
  virtual ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool AutoRedraw() const { return autoRedraw_; }
  void AutoRedraw(bool on);
  win::COLORREF BackColor() const { return backColor_; }
  void BackColor(win::COLORREF c);
  win::COLORREF ForeColor() const { return foreColor_; }
  void ForeColor(win::COLORREF c) { foreColor_ = c; }
  win::COLORREF FillColor() const { return fillColor_; }
  void FillColor(win::COLORREF c) { fillColor_ = c; }
  int FillStyle() const { return fillStyle_; }  // 0 solid, 1 transparent
  void FillStyle(int s) { fillStyle_ = s; }
  int DrawWidth() const { return drawWidth_; }
  void DrawWidth(int w) { drawWidth_ = w < 1 ? 1 : w; }
  const Font& CanvasFont() const { return font_; }
  void CanvasFont(const Font& f) { font_ = f; }
  bool FontTransparent() const { return fontTransparent_; }
  void FontTransparent(bool t) { fontTransparent_ = t; }
  float CurrentX() const { return currentX_; }
  void CurrentX(float v) { currentX_ = v; }
  float CurrentY() const { return currentY_; }
  void CurrentY(float v) { currentY_ = v; }

  // Clears to the background colour.
  void Cls();
  // Paints (part of) a picture, stretched from the source rectangle to the
  // destination rectangle, both in this surface's scale units; a missing
  // size means the picture's own size.
  void PaintPicture(const Picture& picture, float x1, float y1, std::optional<float> width1 = {},
                    std::optional<float> height1 = {}, std::optional<float> x2 = {},
                    std::optional<float> y2 = {}, std::optional<float> width2 = {},
                    std::optional<float> height2 = {}, win::DWORD opcode = win::SRCCOPY);
  // A line, or with box a rectangle, filled with its colour when fill.
  void Line(float x1, float y1, float x2, float y2, std::optional<win::COLORREF> colour = {},
            bool box = false, bool fill = false);
  void PSet(float x, float y, std::optional<win::COLORREF> colour = {});
  win::COLORREF Point(float x, float y);
  void Print(std::string_view text);
  float TextWidth(std::string_view text);
  float TextHeight(std::string_view text);

  // The device context of the surface: the persistent picture's with
  // persistent drawing on, the window's otherwise.
  win::HDC hDC();
  // The persistent picture (empty without persistent drawing).
  Picture Image();
  const Picture& CanvasPicture() const { return picture_; }
  void CanvasPicture(const Picture& p);

 protected:
  // The window the surface belongs to.
  virtual win::HWND CanvasWindow() const = 0;
  // Called from the window's WM_PAINT: shows the persistent picture or raises
  // the Paint event.
  void PaintWindow(win::HDC dc);
  virtual void RaisePaint() {}
  // The window's client size changed.
  void CanvasResized();
  // Shows what was drawn.
  void Invalidate();

 private:
  struct Target;
  Target BeginDraw();
  void EndDraw(Target& t);
  int PxX(double units) const;
  int PxY(double units) const;
  void EnsureImage();
  template <class F>
  auto WithFont(F&& measure) const;

  Container& scale_;
  bool autoRedraw_ = false;
  win::COLORREF backColor_ = 0x8000000F;
  win::COLORREF foreColor_ = 0x80000012;
  win::COLORREF fillColor_ = 0;
  int fillStyle_ = 1;
  int drawWidth_ = 1;
  Font font_;
  bool fontTransparent_ = true;
  float currentX_ = 0, currentY_ = 0;
  // Nothing has been drawn since the last Cls.
  bool clean_ = false;
  Picture picture_;
  win::HDC memDc_;
  win::HBITMAP image_;
  win::HGDIOBJ oldBitmap_;
  win::HDC windowDc_;
  win::HWND windowDcOwner_;
};

}  // namespace forms

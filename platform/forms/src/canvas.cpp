#include "forms/canvas.h"

#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "forms/app.h"
#include "win/qt_bridge.h"
#include "win/qt_window.h"
#include "win/window.h"

namespace forms {

namespace {

win::HFONT MakeFont(const Font& f) {
  win::LOGFONTA lf;
  lf.lfHeight = -static_cast<win::LONG>(std::lround(f.Size * 96.0 / 72.0));
  lf.lfWeight = f.Weight();
  lf.lfItalic = f.Italic;
  lf.lfUnderline = f.Underline;
  lf.lfStrikeOut = f.Strikethrough;
  lf.lfCharSet = static_cast<win::BYTE>(f.Charset);
  std::strncpy(lf.lfFaceName, f.Name.c_str(), sizeof(lf.lfFaceName) - 1);
  return win::CreateFontIndirectA(&lf);
}

// Draws a picture at its own size; icons through their mask.
void DrawPicture(win::HDC dc, const Picture& p, int x, int y) {
  if (!p) return;
  if (p.Type() == Picture::Kind::Icon) {
    win::DrawIconEx(dc, x, y, p.Icon(), p.PixelWidth(), p.PixelHeight(), 0, win::HBRUSH(),
                    win::DI_NORMAL);
    return;
  }
  win::HDC src = win::CreateCompatibleDC(dc);
  win::HGDIOBJ o = win::SelectObject(src, p.Bitmap());
  win::BitBlt(dc, x, y, p.PixelWidth(), p.PixelHeight(), src, 0, 0, win::SRCCOPY);
  win::SelectObject(src, o);
  win::DeleteDC(src);
}

}  // namespace

// Where one drawing method draws: the persistent picture or the window.
struct Canvas::Target {
  win::HDC dc;
  bool window = false;
};

Canvas::Canvas(Container& scale) : scale_(scale) {}

Canvas::~Canvas() {
  if (memDc_) {
    win::SelectObject(memDc_, oldBitmap_);
    win::DeleteDC(memDc_);
  }
  if (image_) win::DeleteObject(image_);
  if (windowDc_) win::ReleaseDC(windowDcOwner_, windowDc_);
}

int Canvas::PxX(double units) const {
  return static_cast<int>(std::lround(scale_.ToTwipsX(units) / 15.0));
}
int Canvas::PxY(double units) const {
  return static_cast<int>(std::lround(scale_.ToTwipsY(units) / 15.0));
}

void Canvas::AutoRedraw(bool on) {
  if (on == autoRedraw_) return;
  autoRedraw_ = on;
  clean_ = false;
  if (on) {
    EnsureImage();
  }
}

void Canvas::BackColor(win::COLORREF c) {
  backColor_ = c;
  clean_ = false;
  // Setting the background clears the surface, as it does on the platform.
  Cls();
}

void Canvas::EnsureImage() {
  const int w = std::max(1, scale_.ClientPixelWidth()), h = std::max(1, scale_.ClientPixelHeight());
  if (memDc_) {
    win::BITMAP bm{};
    win::GetObjectA(image_, sizeof(bm), &bm);
    if (bm.bmWidth >= w && bm.bmHeight >= h) return;
  }
  // A true-colour picture like the screen's, without taking a picture of it.
  win::HDC dc = win::CreateCompatibleDC(win::HDC());
  win::HBITMAP bmp = win::CreateBitmap(w, h, 1, 32, nullptr);
  win::HGDIOBJ old = win::SelectObject(dc, bmp);
  win::HBRUSH brush = win::CreateSolidBrush(TranslateColor(backColor_));
  win::RECT all{0, 0, w, h};
  win::FillRect(dc, &all, brush);
  win::DeleteObject(brush);
  if (memDc_) {
    // A bigger picture keeps what the smaller one held.
    win::BitBlt(dc, 0, 0, w, h, memDc_, 0, 0, win::SRCCOPY);
    win::SelectObject(memDc_, oldBitmap_);
    win::DeleteDC(memDc_);
    win::DeleteObject(image_);
  } else {
    DrawPicture(dc, picture_, 0, 0);
  }
  memDc_ = dc;
  image_ = bmp;
  oldBitmap_ = old;
}

Canvas::Target Canvas::BeginDraw() {
  clean_ = false;
  if (autoRedraw_) {
    EnsureImage();
    return Target{memDc_, false};
  }
  return Target{win::GetDC(CanvasWindow()), true};
}

void Canvas::EndDraw(Target& t) {
  if (t.window) {
    win::ReleaseDC(CanvasWindow(), t.dc);
  } else {
    Invalidate();
  }
}

void Canvas::Invalidate() {
  if (win::HWND h = CanvasWindow()) win::InvalidateRect(h, nullptr, win::FALSE);
}

void Canvas::Cls() {
  // Clearing what is already clear changes no pixel: a form that clears at
  // every tick of a timer does not repaint for it.
  if (clean_) {
    currentX_ = currentY_ = 0;
    return;
  }
  Target t = BeginDraw();
  if (t.dc) {
    const int w = std::max(1, scale_.ClientPixelWidth()),
              h = std::max(1, scale_.ClientPixelHeight());
    win::HBRUSH brush = win::CreateSolidBrush(TranslateColor(backColor_));
    win::RECT all{0, 0, std::max(w, 4096), std::max(h, 4096)};
    win::FillRect(t.dc, &all, brush);
    win::DeleteObject(brush);
    DrawPicture(t.dc, picture_, 0, 0);
  }
  EndDraw(t);
  currentX_ = currentY_ = 0;
  clean_ = t.dc != win::HDC();
}

void Canvas::PaintPicture(const Picture& picture, float x1, float y1, std::optional<float> width1,
                          std::optional<float> height1, std::optional<float> x2,
                          std::optional<float> y2, std::optional<float> width2,
                          std::optional<float> height2, win::DWORD opcode) {
  if (!picture) throw RuntimeError(err::InvalidPicture, "Invalid picture");
  const int pw = picture.PixelWidth(), ph = picture.PixelHeight();
  const int dx = PxX(x1), dy = PxY(y1);
  auto sizeX = [&](float units) {
    return static_cast<int>(std::lround(units * scale_.TwipsPerUnitX() / 15.0));
  };
  auto sizeY = [&](float units) {
    return static_cast<int>(std::lround(units * scale_.TwipsPerUnitY() / 15.0));
  };
  const int dw = width1 ? sizeX(*width1) : pw;
  const int dh = height1 ? sizeY(*height1) : ph;
  const int sx = x2 ? sizeX(*x2) : 0;
  const int sy = y2 ? sizeY(*y2) : 0;
  const int sw = width2 ? sizeX(*width2) : pw;
  const int sh = height2 ? sizeY(*height2) : ph;

  Target t = BeginDraw();
  if (t.dc) {
    win::HDC src = win::CreateCompatibleDC(t.dc);
    // Icons keep their transparency: drawn through their mask.
    if (picture.Type() == Picture::Kind::Icon && opcode == win::SRCCOPY && sx == 0 && sy == 0 &&
        sw == pw && sh == ph) {
      win::DrawIconEx(t.dc, dx, dy, picture.Icon(), dw, dh, 0, win::HBRUSH(), win::DI_NORMAL);
    } else {
      win::HBITMAP bmp = picture.Type() == Picture::Kind::Icon
                             ? win::BitmapFromQImage(picture.Image())
                             : picture.Bitmap();
      win::HGDIOBJ old = win::SelectObject(src, bmp);
      win::SetStretchBltMode(t.dc, win::COLORONCOLOR);
      win::StretchBlt(t.dc, dx, dy, dw, dh, src, sx, sy, sw, sh, opcode);
      win::SelectObject(src, old);
      if (picture.Type() == Picture::Kind::Icon) win::DeleteObject(bmp);
    }
    win::DeleteDC(src);
  }
  EndDraw(t);
}

void Canvas::Line(float x1, float y1, float x2, float y2, std::optional<win::COLORREF> colour,
                  bool box, bool fill) {
  const win::COLORREF c = TranslateColor(colour ? *colour : foreColor_);
  Target t = BeginDraw();
  if (t.dc) {
    const int ax = PxX(x1), ay = PxY(y1), bx = PxX(x2), by = PxY(y2);
    if (box) {
      win::RECT r{std::min(ax, bx), std::min(ay, by), std::max(ax, bx) + 1, std::max(ay, by) + 1};
      if (fill) {
        win::HBRUSH b = win::CreateSolidBrush(c);
        win::FillRect(t.dc, &r, b);
        win::DeleteObject(b);
      } else {
        win::HPEN pen = win::CreatePen(win::PS_SOLID, drawWidth_, c);
        win::HBRUSH brush =
            fillStyle_ == 0 ? win::CreateSolidBrush(TranslateColor(fillColor_)) : win::HBRUSH();
        win::HGDIOBJ oldPen = win::SelectObject(t.dc, pen);
        win::HGDIOBJ oldBrush = win::SelectObject(
            t.dc, brush ? win::HGDIOBJ(brush) : win::GetStockObject(win::NULL_BRUSH));
        win::Rectangle(t.dc, r.left, r.top, r.right, r.bottom);
        win::SelectObject(t.dc, oldPen);
        win::SelectObject(t.dc, oldBrush);
        win::DeleteObject(pen);
        if (brush) win::DeleteObject(brush);
      }
    } else {
      win::HPEN pen = win::CreatePen(win::PS_SOLID, drawWidth_, c);
      win::HGDIOBJ old = win::SelectObject(t.dc, pen);
      win::MoveToEx(t.dc, ax, ay, nullptr);
      win::LineTo(t.dc, bx, by);
      win::SelectObject(t.dc, old);
      win::DeleteObject(pen);
    }
  }
  EndDraw(t);
  currentX_ = x2;
  currentY_ = y2;
}

void Canvas::PSet(float x, float y, std::optional<win::COLORREF> colour) {
  Target t = BeginDraw();
  if (t.dc) win::SetPixelV(t.dc, PxX(x), PxY(y), TranslateColor(colour ? *colour : foreColor_));
  EndDraw(t);
  currentX_ = x;
  currentY_ = y;
}

win::COLORREF Canvas::Point(float x, float y) {
  Target t = BeginDraw();
  const win::COLORREF c = t.dc ? win::GetPixel(t.dc, PxX(x), PxY(y)) : win::CLR_INVALID;
  if (t.window) win::ReleaseDC(CanvasWindow(), t.dc);
  return c == win::CLR_INVALID ? static_cast<win::COLORREF>(-1) : c;
}

void Canvas::Print(std::string_view text) {
  Target t = BeginDraw();
  if (t.dc) {
    win::HFONT f = MakeFont(font_);
    win::HGDIOBJ old = win::SelectObject(t.dc, f);
    win::SetTextColor(t.dc, TranslateColor(foreColor_));
    win::SetBkColor(t.dc, TranslateColor(backColor_));
    win::SetBkMode(t.dc, fontTransparent_ ? win::TRANSPARENT : win::OPAQUE);
    win::TextOutA(t.dc, PxX(currentX_), PxY(currentY_), text.data(), static_cast<int>(text.size()));
    win::SelectObject(t.dc, old);
    win::DeleteObject(f);
  }
  EndDraw(t);
  currentX_ = 0;
  currentY_ += TextHeight(text);
}

// Measures with the surface's font on a memory DC.
template <class F>
auto Canvas::WithFont(F&& measure) const {
  win::HDC dc = win::CreateCompatibleDC(win::HDC());
  win::HFONT f = MakeFont(font_);
  win::HGDIOBJ old = win::SelectObject(dc, f);
  auto result = measure(dc);
  win::SelectObject(dc, old);
  win::DeleteObject(f);
  win::DeleteDC(dc);
  return result;
}

float Canvas::TextWidth(std::string_view text) {
  const win::SIZE sz = WithFont([&](win::HDC dc) {
    win::SIZE s{};
    win::GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &s);
    return s;
  });
  return static_cast<float>(sz.cx * 15.0 / scale_.TwipsPerUnitX());
}

float Canvas::TextHeight(std::string_view) {
  const win::TEXTMETRICA tm = WithFont([](win::HDC dc) {
    win::TEXTMETRICA m{};
    win::GetTextMetricsA(dc, &m);
    return m;
  });
  return static_cast<float>(tm.tmHeight * 15.0 / scale_.TwipsPerUnitY());
}

win::HDC Canvas::hDC() {
  clean_ = false;
  if (autoRedraw_) {
    EnsureImage();
    // Drawing through the handle should show too.
    Invalidate();
    return memDc_;
  }
  if (windowDc_) win::ReleaseDC(windowDcOwner_, windowDc_);
  windowDcOwner_ = CanvasWindow();
  windowDc_ = win::GetDC(windowDcOwner_);
  return windowDc_;
}

Picture Canvas::Image() {
  if (!autoRedraw_ || !image_) return {};
  return Picture::FromImage(win::ToQImage(image_));
}

void Canvas::CanvasPicture(const Picture& p) {
  picture_ = p;
  clean_ = false;
  if (autoRedraw_ && memDc_) DrawPicture(memDc_, p, 0, 0);
  if (win::HWND h = CanvasWindow()) win::InvalidateRect(h, nullptr, win::TRUE);
}

void Canvas::PaintWindow(win::HDC dc) {
  const int w = std::max(1, scale_.ClientPixelWidth()), h = std::max(1, scale_.ClientPixelHeight());
  if (autoRedraw_) {
    EnsureImage();
    win::BitBlt(dc, 0, 0, w, h, memDc_, 0, 0, win::SRCCOPY);
    return;
  }
  win::HBRUSH brush = win::CreateSolidBrush(TranslateColor(backColor_));
  win::RECT all{0, 0, w, h};
  win::FillRect(dc, &all, brush);
  win::DeleteObject(brush);
  DrawPicture(dc, picture_, 0, 0);
  RaisePaint();
}

void Canvas::CanvasResized() {
  if (autoRedraw_) EnsureImage();
}

}  // namespace forms

#include "forms/surface_window.h"

#include <QPoint>

namespace forms {

win::LRESULT SurfaceWindow::OnMessage(win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
  using namespace win;
  switch (msg) {
    case WM_ERASEBKGND:
      // The surface paints its own background in WM_PAINT.
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hWnd(), &ps);
      if (dc) PaintWindow(dc);
      EndPaint(hWnd(), &ps);
      return 0;
    }
    case WM_SIZE:
      CanvasResized();
      RelayoutChildren();
      SurfaceResized();
      return 0;
    default:
      return WindowHost::OnMessage(msg, wp, lp);
  }
}

bool SurfaceWindow::ApplySurfaceProperty(std::string_view name, const Value& v) {
  auto colour = [&] { return static_cast<win::COLORREF>(v.ToDouble()); };
  if (name == "ScaleMode")
    ScaleMode(v.ToLong());
  else if (name == "ScaleWidth")
    ScaleWidth(static_cast<float>(v.ToDouble()));
  else if (name == "ScaleHeight")
    ScaleHeight(static_cast<float>(v.ToDouble()));
  else if (name == "AutoRedraw")
    AutoRedraw(v.ToBool());
  else if (name == "BackColor")
    BackColor(colour());
  else if (name == "ForeColor")
    ForeColor(colour());
  else if (name == "FillColor")
    FillColor(colour());
  else if (name == "FillStyle")
    FillStyle(v.ToLong());
  else if (name == "DrawWidth")
    DrawWidth(v.ToLong());
  else if (name == "Font")
    CanvasFont(v.ToFont());
  else if (name == "FontTransparent")
    FontTransparent(v.ToBool());
  else
    return false;
  return true;
}

void SurfaceWindow::OnMouseDown(int button, int shift, QPoint px) {
  float x = static_cast<float>(FromTwipsX(px.x() * 15.0)),
        y = static_cast<float>(FromTwipsY(px.y() * 15.0));
  RaiseMouseDown(button, shift, x, y);
}

void SurfaceWindow::OnMouseMove(int button, int shift, QPoint px) {
  float x = static_cast<float>(FromTwipsX(px.x() * 15.0)),
        y = static_cast<float>(FromTwipsY(px.y() * 15.0));
  RaiseMouseMove(button, shift, x, y);
}

void SurfaceWindow::OnMouseUp(int button, int shift, QPoint px) {
  float x = static_cast<float>(FromTwipsX(px.x() * 15.0)),
        y = static_cast<float>(FromTwipsY(px.y() * 15.0));
  RaiseMouseUp(button, shift, x, y);
}

}  // namespace forms

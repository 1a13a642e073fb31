#include <QWidget>

#include "forms/app.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "win/qt_window.h"

namespace forms {

PictureBox::PictureBox(const ControlSite& site) : Control(site) {
  win::HWND parent = win::WidgetWindow(site.container->ClientWidget());
  CreateHostWindow(win::WS_CHILD | win::WS_VISIBLE | win::WS_CLIPCHILDREN, 0, parent, 0, 0, 80, 32);
  ScaleMode(vbTwips);
  ApplyGeometry();
}

PictureBox::~PictureBox() {
  // Constituents go before the window that holds their widgets.
  DestroyHostWindow();
}

QWidget* PictureBox::Widget() const {
  return HostWidget();
}

void PictureBox::Picture(const forms::Picture& p) {
  CanvasPicture(p);
  if (autoSize_ && p)
    MoveTwips(LeftTwips(), TopTwips(), p.PixelWidth() * 15.0, p.PixelHeight() * 15.0);
}

void PictureBox::Align(int a) {
  align_ = a;
  ApplyAlign();
}

void PictureBox::AutoSize(bool on) {
  autoSize_ = on;
  if (on && Picture()) Picture(Picture());
}

void PictureBox::BorderStyle(int s) {
  borderStyle_ = s;
}

void PictureBox::Visible(bool v) {
  Control::Visible(v);
  if (hWnd()) win::ShowWindow(hWnd(), v ? win::SW_SHOWNA : win::SW_HIDE);
}

void PictureBox::Enabled(bool v) {
  Control::Enabled(v);
  if (hWnd()) win::EnableWindow(hWnd(), v);
}

void PictureBox::Refresh() {
  if (hWnd()) {
    win::InvalidateRect(hWnd(), nullptr, win::TRUE);
    win::UpdateWindow(hWnd());
  }
}

void PictureBox::ApplyAlign() {
  if (align_ == 0) return;
  Container& c = GetContainer();
  const double cw = c.ClientPixelWidth() * 15.0, ch = c.ClientPixelHeight() * 15.0;
  // Aligned boxes sit along an edge of the container and span it.
  switch (align_) {
    case 1:
      MoveTwips(0, 0, cw, HeightTwips());
      break;
    case 2:
      MoveTwips(0, ch - HeightTwips(), cw, HeightTwips());
      break;
    case 3:
      MoveTwips(0, 0, WidthTwips(), ch);
      break;
    case 4:
      MoveTwips(cw - WidthTwips(), 0, WidthTwips(), ch);
      break;
    default:
      break;
  }
}

void PictureBox::OnResized() {
  CanvasResized();
  RelayoutChildren();
}

void PictureBox::SetProperty(std::string_view name, const Value& v) {
  if (ApplySurfaceProperty(name, v)) return;
  if (name == "Picture")
    Picture(v.ToPicture());
  else if (name == "Align")
    Align(v.ToLong());
  else if (name == "AutoSize")
    AutoSize(v.ToBool());
  else if (name == "BorderStyle")
    BorderStyle(v.ToLong());
  else if (name == "ClipControls" || name == "HasDC") {
  } else
    Control::SetProperty(name, v);
}

}  // namespace forms

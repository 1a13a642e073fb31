#include "forms/image.h"

#include <QPainter>

#include "light_widget.h"

namespace forms {

Image::Image(const ControlSite& site) : GraphicControl(site) {}

void Image::Picture(const forms::Picture& p) {
  picture_ = p;
  Fit();
  widget_->update();
}

void Image::Stretch(bool on) {
  stretch_ = on;
  Fit();
  widget_->update();
}

void Image::BorderStyle(int s) {
  borderStyle_ = s;
  widget_->update();
}

void Image::Fit() {
  // Without stretching, the image takes the size of its picture.
  if (stretch_ || !picture_) return;
  MoveTwips(LeftTwips(), TopTwips(), picture_.PixelWidth() * 15.0, picture_.PixelHeight() * 15.0);
}

void Image::PaintOn(QPainter& p) {
  if (picture_) {
    if (stretch_)
      p.drawImage(widget_->rect(), picture_.Image());
    else
      p.drawImage(0, 0, picture_.Image());
  }
  if (borderStyle_) {
    p.setPen(Qt::black);
    p.drawRect(widget_->rect().adjusted(0, 0, -1, -1));
  }
}

void Image::SetProperty(std::string_view name, const Value& v) {
  if (name == "Picture")
    Picture(v.ToPicture());
  else if (name == "Stretch")
    Stretch(v.ToBool());
  else if (name == "BorderStyle")
    BorderStyle(v.ToLong());
  else
    GraphicControl::SetProperty(name, v);
}

}  // namespace forms

#pragma once

#include "forms/graphic_control.h"
#include "forms/picture.h"

namespace forms {

class Image : public GraphicControl {
 public:
  explicit Image(const ControlSite& site);
  const forms::Picture& Picture() const { return picture_; }
  void Picture(const forms::Picture& p);
  bool Stretch() const { return stretch_; }
  void Stretch(bool on);
  int BorderStyle() const { return borderStyle_; }
  void BorderStyle(int s);

  void SetProperty(std::string_view name, const Value& v) override;
  void PaintOn(QPainter& p) override;

 private:
  void Fit();
  forms::Picture picture_;
  bool stretch_ = false;
  int borderStyle_ = 0;
};

}  // namespace forms

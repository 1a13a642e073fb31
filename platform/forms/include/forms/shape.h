#pragma once

#include "forms/graphic_control.h"
#include "win/types.h"

namespace forms {

class Shape : public GraphicControl {
 public:
  explicit Shape(const ControlSite& site);
  int ShapeKind() const { return shape_; }  // 0 rectangle, 1 square, 2 oval, 3 circle, 4/5 rounded
  void ShapeKind(int s);
  win::COLORREF BackColor() const { return backColor_; }
  void BackColor(win::COLORREF c);
  int BackStyle() const { return backStyle_; }
  void BackStyle(int s);
  win::COLORREF BorderColor() const { return borderColor_; }
  void BorderColor(win::COLORREF c);
  int BorderStyle() const { return borderStyle_; }
  void BorderStyle(int s);
  int BorderWidth() const { return borderWidth_; }
  void BorderWidth(int w);
  win::COLORREF FillColor() const { return fillColor_; }
  void FillColor(win::COLORREF c);
  int FillStyle() const { return fillStyle_; }
  void FillStyle(int s);

  void SetProperty(std::string_view name, const Value& v) override;
  void PaintOn(QPainter& p) override;

 private:
  int shape_ = 0;
  win::COLORREF backColor_ = 0x80000005;
  int backStyle_ = 0;
  win::COLORREF borderColor_ = 0x80000008;
  int borderStyle_ = 1;
  int borderWidth_ = 1;
  win::COLORREF fillColor_ = 0;
  int fillStyle_ = 1;
};

}  // namespace forms

#include "forms/graphic_control.h"

#include <QWidget>

#include "light_widget.h"

namespace forms {

GraphicControl::GraphicControl(const ControlSite& site) : Control(site) {
  auto w = std::make_unique<LightWidget>(*this, site.container->ClientWidget());
  widget_ = w.release();  // the container's widget owns it
  widget_->show();
  ApplyGeometry();
}

GraphicControl::~GraphicControl() {
  if (!widget_) return;
  widget_->Detach();
  widget_->hide();
  widget_->deleteLater();
}

QWidget* GraphicControl::Widget() const {
  return widget_;
}

float GraphicControl::UnitsX(double px) const {
  return static_cast<float>(px * 15.0 / GetContainer().TwipsPerUnitX());
}
float GraphicControl::UnitsY(double px) const {
  return static_cast<float>(px * 15.0 / GetContainer().TwipsPerUnitY());
}

void GraphicControl::PointerDown(int button, int shift, QPointF px) {
  float x = UnitsX(px.x()), y = UnitsY(px.y());
  MouseDown(button, shift, x, y);
}

void GraphicControl::PointerMove(int buttons, int shift, QPointF px) {
  float x = UnitsX(px.x()), y = UnitsY(px.y());
  MouseMove(buttons, shift, x, y);
}

void GraphicControl::PointerUp(int button, int shift, QPointF px) {
  float x = UnitsX(px.x()), y = UnitsY(px.y());
  MouseUp(button, shift, x, y);
}

}  // namespace forms

#pragma once

#include "forms/control.h"
#include "forms/events.h"
#include "forms/tracked.h"

class QPainter;
class QPointF;

namespace forms {

class LightWidget;

// Controls drawn on their container without a window of their own share
// their mouse events.
class GraphicControl : public Control {
 public:
  explicit GraphicControl(const ControlSite& site);
  ~GraphicControl() override;
  QWidget* Widget() const override;

  Event<> Click;
  Event<> DblClick;
  MouseEvent MouseDown;
  MouseEvent MouseMove;
  MouseEvent MouseUp;

  // Input from the widget, in pixels of the control (used by LightWidget).
  virtual void PointerDown(int button, int shift, QPointF px);
  virtual void PointerMove(int buttons, int shift, QPointF px);
  virtual void PointerUp(int button, int shift, QPointF px);
  virtual void PointerClick() { Click(); }
  virtual void PointerDblClick() { DblClick(); }
  virtual void PaintOn(QPainter& /*p*/) {}

 protected:
  // Mouse event coordinates are in the container's scale units.
  float UnitsX(double px) const;
  float UnitsY(double px) const;
  Tracked<LightWidget> widget_;
};

}  // namespace forms

#include "light_widget.h"

#include <QColor>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "forms/app.h"
#include "forms/graphic_control.h"

namespace forms {

int ButtonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton:
      return 1;
    case Qt::RightButton:
      return 2;
    case Qt::MiddleButton:
      return 4;
    default:
      return 0;
  }
}

int ButtonsOf(Qt::MouseButtons b) {
  return ((b & Qt::LeftButton) ? 1 : 0) | ((b & Qt::RightButton) ? 2 : 0) |
         ((b & Qt::MiddleButton) ? 4 : 0);
}

int ShiftOf(Qt::KeyboardModifiers m) {
  return ((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) |
         ((m & Qt::AltModifier) ? 4 : 0);
}

QColor ToQColor(unsigned oleColour) {
  const win::COLORREF c = TranslateColor(oleColour);
  return QColor(win::GetRValue(c), win::GetGValue(c), win::GetBValue(c));
}

LightWidget::LightWidget(GraphicControl& control, QWidget* parent)
    : QWidget(parent), control_(&control) {
  setMouseTracking(true);
}

void LightWidget::paintEvent(QPaintEvent*) {
  if (!control_) return;
  QPainter p(this);
  control_->PaintOn(p);
}

void LightWidget::mousePressEvent(QMouseEvent* e) {
  if (!control_) return;
  const int b = ButtonOf(e->button());
  pressed_ |= b;
  afterDouble_ = false;
  control_->PointerDown(b, ShiftOf(e->modifiers()), e->position());
}

void LightWidget::mouseMoveEvent(QMouseEvent* e) {
  if (control_)
    control_->PointerMove(ButtonsOf(e->buttons()), ShiftOf(e->modifiers()), e->position());
}

void LightWidget::mouseReleaseEvent(QMouseEvent* e) {
  if (!control_) return;
  const int b = ButtonOf(e->button());
  const bool wasPressed = pressed_ & b;
  pressed_ &= ~b;
  control_->PointerUp(b, ShiftOf(e->modifiers()), e->position());
  // The handler may have ended the control.
  if (!control_) return;
  if (b == 1 && wasPressed && !afterDouble_ && rect().contains(e->position().toPoint()))
    control_->PointerClick();
  if (b == 1) afterDouble_ = false;
}

void LightWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  if (!control_) return;
  const int b = ButtonOf(e->button());
  pressed_ |= b;
  if (b == 1) {
    afterDouble_ = true;
    control_->PointerDblClick();
  } else {
    control_->PointerDown(b, ShiftOf(e->modifiers()), e->position());
  }
}

}  // namespace forms

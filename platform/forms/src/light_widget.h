#pragma once

#include <QWidget>

namespace forms {

class GraphicControl;

// The widget of a control without a window: it paints what the control
// draws, lets its container show through, and hands the mouse to the control.
class LightWidget : public QWidget {
 public:
  LightWidget(GraphicControl& control, QWidget* parent);
  // The control is going: the widget stays quiet until Qt deletes it.
  void Detach() { control_ = nullptr; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  GraphicControl* control_;
  int pressed_ = 0;
  bool afterDouble_ = false;
};

// Mouse values in the runtime's terms.
int ButtonOf(Qt::MouseButton b);
int ButtonsOf(Qt::MouseButtons b);
int ShiftOf(Qt::KeyboardModifiers m);
QColor ToQColor(unsigned oleColour);

}  // namespace forms

#include "forms/qt_control.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

#include "light_widget.h"
#include "win/gdi_types.h"
#include "win/keys.h"
#include "win/qt_window.h"

namespace forms {

// Turns a Qt control's focus and key events into the control's events.
class QtControl::Filter : public QObject {
 public:
  explicit Filter(QtControl& c) : control_(c) {}
  bool eventFilter(QObject*, QEvent* e) override {
    switch (e->type()) {
      case QEvent::FocusIn:
        control_.GotFocus();
        return false;
      case QEvent::FocusOut:
        control_.LostFocus();
        return false;
      case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(e);
        int code = win::VirtualKeyOf(*ke), shift = ShiftOf(ke->modifiers());
        if (code) control_.KeyDown(code, shift);
        if (!ke->text().isEmpty()) {
          int ascii = static_cast<int>(ke->text().toUcs4().value(0));
          control_.KeyPress(ascii);
          // A handler that sets the key to 0 takes it away from the control.
          if (ascii == 0) return true;
        }
        return code && control_.OwnKey(code);
      }
      case QEvent::KeyRelease: {
        auto* ke = static_cast<QKeyEvent*>(e);
        int code = win::VirtualKeyOf(*ke), shift = ShiftOf(ke->modifiers());
        if (code) control_.KeyUp(code, shift);
        return false;
      }
      default:
        return false;
    }
  }

 private:
  QtControl& control_;
};

QtControl::QtControl(const ControlSite& site) : Control(site) {}

QWidget* QtControl::Widget() const {
  return widget_;
}

QtControl::~QtControl() {
  if (widget_) {
    widget_->removeEventFilter(filter_);
    widget_->hide();
    widget_->deleteLater();
  }
}

void QtControl::Attach(QWidget* widget, const char* className) {
  // A widget replaced while it lives on for a moment (deleteLater) must not
  // report its focus and keys to this control, which may end before it.
  if (widget_ && filter_) widget_->removeEventFilter(filter_);
  widget_ = widget;
  widget_->setParent(GetContainer().ClientWidget());
  hwnd_ = win::AttachWidget(widget_, className, win::WidgetWindow(GetContainer().ClientWidget()));
  auto filter = std::make_unique<Filter>(*this);
  filter_ = filter.get();
  filter->setParent(widget_);
  filter.release();  // owned by the widget
  widget_->installEventFilter(filter_);
  widget_->show();
  ApplyGeometry();
  Font(font_);
}

void QtControl::Visible(bool v) {
  Control::Visible(v);
}
void QtControl::Enabled(bool v) {
  Control::Enabled(v);
}

void QtControl::SetFocus() {
  if (widget_) widget_->setFocus(Qt::OtherFocusReason);
}

void QtControl::Font(const forms::Font& f) {
  font_ = f;
  if (!widget_) return;
  widget_->setFont(f.ToQFont());
  FontChanged();
}

void QtControl::BackColor(win::COLORREF c) {
  backColor_ = c;
  ApplyColours();
}

void QtControl::ForeColor(win::COLORREF c) {
  foreColor_ = c;
  ApplyColours();
}

void QtControl::ApplyColours() {
  if (!widget_) return;
  QPalette p = widget_->palette();
  // The colours set on a control are its enabled look; disabled, it shows
  // the platform's grey text on the face colour, whatever was set.
  for (const auto group : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(group, QPalette::Base, ToQColor(backColor_));
    p.setColor(group, QPalette::Text, ToQColor(foreColor_));
    p.setColor(group, QPalette::WindowText, ToQColor(foreColor_));
  }
  const QColor grey = ToQColor(0x80000000u | win::COLOR_GRAYTEXT);
  p.setColor(QPalette::Disabled, QPalette::Base, ToQColor(0x80000000u | win::COLOR_BTNFACE));
  p.setColor(QPalette::Disabled, QPalette::Text, grey);
  p.setColor(QPalette::Disabled, QPalette::WindowText, grey);
  widget_->setPalette(p);
}

void QtControl::SetProperty(std::string_view name, const Value& v) {
  if (name == "Font")
    Font(v.ToFont());
  else if (name == "BackColor")
    BackColor(static_cast<win::COLORREF>(v.ToDouble()));
  else if (name == "ForeColor")
    ForeColor(static_cast<win::COLORREF>(v.ToDouble()));
  else if (name == "TabIndex")
    tabIndex_ = v.ToLong();
  else if (name == "Appearance" || name == "BorderStyle") {
    // The look of the platform's 3-D borders: Qt's own look stands in.
  } else
    Control::SetProperty(name, v);
}

}  // namespace forms

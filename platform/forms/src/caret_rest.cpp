#include "caret_rest.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

namespace forms::detail {

CaretRest::CaretRest(int restAfterMs)
    : flashTime_(QGuiApplication::styleHints()->cursorFlashTime()) {
  rest_.setSingleShot(true);
  rest_.setInterval(restAfterMs);
  connect(&rest_, &QTimer::timeout, this, [this] { Blink(false); });
  rest_.start();
  QCoreApplication::instance()->installEventFilter(this);
}

CaretRest::~CaretRest() {
  QCoreApplication::instance()->removeEventFilter(this);
  Blink(true);
}

bool CaretRest::eventFilter(QObject*, QEvent* e) {
  switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::InputMethod:
    case QEvent::FocusIn:
      Blink(true);
      rest_.start();
      break;
    default:
      break;
  }
  return false;
}

void CaretRest::Blink(bool on) {
  if (resting_ == !on) return;
  resting_ = !on;
  QGuiApplication::styleHints()->setCursorFlashTime(on ? flashTime_ : 0);
}

}  // namespace forms::detail

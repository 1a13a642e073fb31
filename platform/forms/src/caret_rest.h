#pragma once

#include <QObject>
#include <QTimer>

namespace forms::detail {

// A text caret blinks for a few seconds after the user last typed or
// clicked, then stands still, as the platform's caret does: a window that
// waits for its user repaints nothing twice a second. A key, a click or a
// change of focus starts the blinking again.
class CaretRest : public QObject {
 public:
  explicit CaretRest(int restAfterMs = 5000);
  ~CaretRest() override;
  CaretRest(const CaretRest&) = delete;
  CaretRest& operator=(const CaretRest&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void Blink(bool on);

  QTimer rest_;
  int flashTime_;  // the desktop's blink period, given back while blinking
  bool resting_ = false;
};

}  // namespace forms::detail

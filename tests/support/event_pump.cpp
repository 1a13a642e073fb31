#include "testsupport/event_pump.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

namespace testsupport {

void RunEventsFor(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    QApplication::processEvents();
    QThread::msleep(2);
  }
}

}  // namespace testsupport

#include "testsupport/window_manager.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <cstdlib>

namespace testsupport {

namespace {

// Whether a window manager has taken the display over, as it announces on
// the root window.
bool ManagerRunning() {
  QProcess xprop;
  xprop.start("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"});
  return xprop.waitForFinished(2000) && xprop.readAllStandardOutput().contains("window id");
}

}  // namespace

void WindowManager::SetUp() {
  const char* wm = std::getenv("TAVRINEL_TEST_WM");
  if (!wm || QGuiApplication::platformName() != "xcb") return;
  process_ = std::make_unique<QProcess>();
  process_->start(wm, {});
  ASSERT_TRUE(process_->waitForStarted()) << wm << " did not start";
  QElapsedTimer t;
  t.start();
  while (!ManagerRunning()) {
    ASSERT_LT(t.elapsed(), 20000) << wm << " did not take the display over";
    QGuiApplication::processEvents();
    QThread::msleep(50);
  }
}

void WindowManager::TearDown() {
  if (!process_) return;
  process_->terminate();
  process_->waitForFinished(2000);
}

}  // namespace testsupport

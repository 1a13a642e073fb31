#pragma once

#include <QWidget>

#include "win/window.h"

namespace win::detail {

// The Qt widget that carries a window of a registered class. Everything Qt
// tells it becomes a message down the window's procedure chain; what the
// window shows is its surface.
class HostWidget : public QWidget {
 public:
  HostWidget(HWND hwnd, QWidget* parent, Qt::WindowFlags flags);

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  HWND hwnd_;
};

// Watches an attached Qt control: its events become messages, and the
// control handles them itself only if the chain lets them through.
class AttachedFilter : public QObject {
 public:
  AttachedFilter(HWND hwnd, QObject* parent) : QObject(parent), hwnd_(hwnd) {}
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  HWND hwnd_;
};

// Turns a Qt event into the window's messages. Returns true when the event
// was an input event that the window consumed.
enum class Outcome { NotTranslated, Consumed, PassOn };
Outcome Translate(HWND hwnd, QWidget* widget, QEvent* e, bool attached);

bool DispatchForQt(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void KillTimersOf(HWND hwnd);

}  // namespace win::detail

// Activation, focus, mouse capture, the pointer and the caption move loop.

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "core/pointer_watch.h"
#include "core/window_table.h"
#include "win/testing.h"

namespace win {

using namespace detail;

namespace {

std::optional<unsigned> g_buttonOverride;
// The window the program activated and the display has not yet confirmed.
// The platform activates at once, and code that looks at the active window
// right after showing one (the frame's activation polls) relies on that.
HWND g_activating;

QWidget* WidgetOf(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && !w->destroying ? w->widget.data() : nullptr;
}

bool ButtonDown(int vk) {
  unsigned mk = 0;
  if (g_buttonOverride) {
    mk = *g_buttonOverride;
  } else {
    const Qt::MouseButtons b = QGuiApplication::mouseButtons();
    if (b & Qt::LeftButton) mk |= MK_LBUTTON;
    if (b & Qt::RightButton) mk |= MK_RBUTTON;
    if (b & Qt::MiddleButton) mk |= MK_MBUTTON;
  }
  switch (vk) {
    case VK_LBUTTON:
      return mk & MK_LBUTTON;
    case VK_RBUTTON:
      return mk & MK_RBUTTON;
    case VK_MBUTTON:
      return mk & MK_MBUTTON;
    default:
      return false;
  }
}

}  // namespace

namespace testing {
void SetMouseButtons(std::optional<unsigned> mkFlags) {
  g_buttonOverride = mkFlags;
}
}  // namespace testing

namespace detail {

void RequestActivation(QWidget* top) {
  [[maybe_unused]] static const bool watching = [] {
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, [] { g_activating = HWND(); });
    return true;
  }();
  g_activating = FromWidget(top);
  top->activateWindow();
}

}  // namespace detail

HWND GetActiveWindow() {
  if (QWidget* pending = WidgetOf(g_activating); pending && pending->isVisible())
    return g_activating;
  return FromWidget(QApplication::activeWindow());
}

HWND SetActiveWindow(HWND hwnd) {
  HWND old = GetActiveWindow();
  QWidget* wd = WidgetOf(hwnd);
  if (!wd) return HWND();
  RequestActivation(wd->window());
  return old;
}

BOOL SetForegroundWindow(HWND hwnd) {
  QWidget* wd = WidgetOf(hwnd);
  if (!wd) return FALSE;
  QWidget* top = wd->window();
  if (top->isMinimized()) top->showNormal();
  top->raise();
  RequestActivation(top);
  return TRUE;
}

HWND SetFocus(HWND hwnd) {
  HWND old = FromWidget(QApplication::focusWidget());
  if (!hwnd) {
    if (QWidget* f = QApplication::focusWidget()) f->clearFocus();
    return old;
  }
  QWidget* wd = WidgetOf(hwnd);
  if (!wd) return HWND();
  wd->setFocus(Qt::OtherFocusReason);
  return old;
}

BOOL ReleaseCapture() {
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  return TRUE;
}

BOOL GetCursorPos(POINT* point) {
  if (!point) return FALSE;
  // Asking the display is a round trip; timers that follow the pointer ask
  // many times a second.
  QPoint p;
  if (const std::optional<QPoint> seen = PointerFromEvents()) {
    p = *seen;
  } else {
    p = QCursor::pos();
    RememberPointer(p);
  }
  *point = POINT{p.x(), p.y()};
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  ForgetPointer();
  QCursor::setPos(x, y);
  return TRUE;
}

short GetKeyState(int vk) {
  if (vk == VK_LBUTTON || vk == VK_RBUTTON || vk == VK_MBUTTON)
    return ButtonDown(vk) ? static_cast<short>(0x8000) : 0;
  const Qt::KeyboardModifiers m = QGuiApplication::queryKeyboardModifiers();
  bool down = (vk == VK_SHIFT && (m & Qt::ShiftModifier)) ||
              (vk == VK_CONTROL && (m & Qt::ControlModifier)) ||
              (vk == VK_MENU && (m & Qt::AltModifier));
  return down ? static_cast<short>(0x8000) : 0;
}

namespace detail {

// The move loop a caption press starts: the window follows the pointer until
// the button that was down at the press is up, whichever button it is. As on
// the platform, nothing moves before the pointer has travelled the drag
// distance, so that a press and release in place (the first half of a
// double-click on the caption) leaves the pointer with the window. The loop
// moves the window itself, with or without a window manager: a display's
// own move, started once the pointer has left the drag distance, would move
// the window only by what the pointer travels after that, and ends only on
// the left button's release.
void CaptionMoveLoop(HWND hwnd) {
  QWidget* top = WidgetOf(GetAncestor(hwnd, GA_ROOT));
  if (!top || top->isMaximized() || top->isMinimized()) return;
  int held = 0;
  for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON})
    if (ButtonDown(vk)) {
      held = vk;
      break;
    }
  if (!held) return;

  const QPoint startCursor = QCursor::pos();
  const QPoint startPos = top->frameGeometry().topLeft();
  HWND root = GetAncestor(hwnd, GA_ROOT);
  SendMessageA(root, WM_ENTERSIZEMOVE, 0, 0);
  QEventLoop loop;
  QTimer poll;
  poll.setInterval(10);
  bool dragging = false;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* w = WidgetOf(root);
    if (!w || !ButtonDown(held)) {
      loop.quit();
      return;
    }
    const QPoint travelled = QCursor::pos() - startCursor;
    if (!dragging && travelled.manhattanLength() < QApplication::startDragDistance()) return;
    dragging = true;
    const QPoint to = startPos + travelled;
    if (w->frameGeometry().topLeft() != to) w->move(to);
  });
  poll.start();
  loop.exec();
  if (Find(root)) SendMessageA(root, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace detail

}  // namespace win

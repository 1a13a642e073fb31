// Where windows are, how big, in which state and stacking order, and their
// shapes.

#include <QApplication>
#include <QScreen>
#include <QWindow>

#include "core/window_table.h"
#include "gdi/surface.h"
#include "win/gdi.h"

namespace win {

namespace detail {

QRect ClientArea(const Window& w) {
  if (!w.widget) return QRect();
  const QRect all = w.widget->rect();
  if (w.nonClient.isNull()) return all;
  const QRect inner = all.marginsRemoved(w.nonClient);
  return QRect(inner.topLeft(), QSize(std::max(0, inner.width()), std::max(0, inner.height())));
}

QPoint FrameOffset(const Window& w) {
  if (!w.widget || !w.widget->isWindow()) return QPoint();
  return w.widget->geometry().topLeft() - w.widget->frameGeometry().topLeft();
}

void SetNonClient(Window& w, const QMargins& margins) {
  if (w.nonClient == margins || !w.widget) return;
  const QRect before = ClientArea(w);
  w.nonClient = margins;
  const QRect after = ClientArea(w);
  const QPoint shift = after.topLeft() - before.topLeft();
  if (!shift.isNull())
    for (QWidget* c : w.widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (!c->isWindow()) c->move(c->pos() + shift);
  w.nonClientDirty = true;
  w.invalid = QRegion(0, 0, after.width(), after.height());
  w.eraseNeeded = true;
  w.widget->update();
  if (after.size() != before.size())
    SendMessageA(w.handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(after.width(), after.height()));
}

}  // namespace detail

using namespace detail;

namespace {

// Where a child's client coordinates start inside its parent's widget.
QPoint ParentOrigin(HWND hwnd) {
  Window* w = Find(hwnd);
  Window* p = w && w->parent ? Find(w->parent) : nullptr;
  return p ? ClientArea(*p).topLeft() : QPoint();
}

QPoint ClientOrigin(HWND hwnd) {
  Window* w = Find(hwnd);
  return w ? ClientArea(*w).topLeft() : QPoint();
}

QWidget* WidgetOf(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && !w->destroying ? w->widget.data() : nullptr;
}

QRect ScreenRect(const QWidget* wd) {
  if (wd->isWindow()) return wd->frameGeometry();
  return QRect(wd->mapToGlobal(QPoint(0, 0)), wd->size());
}

// Top-level windows are placed by their frame; their widget size is the
// client size, which differs by the frame the window manager adds.
void Place(QWidget* wd, int x, int y, int cx, int cy, bool move, bool size, QPoint origin) {
  if (wd->isWindow()) {
    const QRect frame = wd->frameGeometry(), client = wd->geometry();
    const int extraW = frame.width() - client.width();
    const int extraH = frame.height() - client.height();
    if (move) wd->move(x, y);
    if (size) wd->resize(std::max(0, cx - extraW), std::max(0, cy - extraH));
  } else {
    if (move) wd->move(QPoint(x, y) + origin);
    if (size) wd->resize(std::max(0, cx), std::max(0, cy));
  }
}

void SetTopmost(Window& w, bool on) {
  QWidget* wd = w.widget;
  if (on)
    w.exStyle |= WS_EX_TOPMOST;
  else
    w.exStyle &= ~WS_EX_TOPMOST;
  if (!wd || !wd->isWindow()) return;
  if (QWindow* qw = wd->windowHandle()) {
    // Changing the flags of a live window in place keeps it shown.
    qw->setFlag(Qt::WindowStaysOnTopHint, on);
    return;
  }
  wd->setWindowFlag(Qt::WindowStaysOnTopHint, on);
}

void Show(QWidget* wd, bool activate) {
  wd->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
  wd->show();
  if (activate && wd->isWindow()) {
    wd->raise();
    RequestActivation(wd);
  }
}

}  // namespace

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  QWidget* wd = WidgetOf(hwnd);
  if (!rect) return FALSE;
  if (hwnd == GetDesktopWindow()) {
    const QRect g = QGuiApplication::primaryScreen()->geometry();
    *rect = RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    return TRUE;
  }
  if (!wd) return FALSE;
  const QRect r = ScreenRect(wd);
  *rect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  QWidget* wd = WidgetOf(hwnd);
  if (!wd || !rect) return FALSE;
  const QRect c = ClientArea(*Find(hwnd));
  *rect = RECT{0, 0, c.width(), c.height()};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
  QWidget* wd = WidgetOf(hwnd);
  if (!wd || !point) return FALSE;
  const QPoint g = wd->mapToGlobal(QPoint(point->x, point->y) + ClientOrigin(hwnd));
  *point = POINT{g.x(), g.y()};
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
  QWidget* wd = WidgetOf(hwnd);
  if (!wd || !point) return FALSE;
  const QPoint l = wd->mapFromGlobal(QPoint(point->x, point->y)) - ClientOrigin(hwnd);
  *point = POINT{l.x(), l.y()};
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  QWidget* wd = WidgetOf(hwnd);
  if (!wd) return FALSE;
  // The same way as SetWindowPos, so the window hears WM_WINDOWPOSCHANGING.
  // A window that is already where it is asked to be does not repaint:
  // callers that place their window at every tick cost nothing.
  const QRect before = wd->frameGeometry();
  if (!SetWindowPos(hwnd, HWND(), x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE)) return FALSE;
  if (repaint && wd->frameGeometry() != before) wd->update();
  return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  if (!WidgetOf(hwnd)) return FALSE;
  // The window may change where it goes and how big it gets.
  WINDOWPOS pos{hwnd, insertAfter, x, y, cx, cy, flags};
  SendMessageA(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  x = pos.x;
  y = pos.y;
  cx = pos.cx;
  cy = pos.cy;
  flags = pos.flags;
  std::optional<QMargins> nonClient;
  if ((flags & SWP_FRAMECHANGED) || !(flags & SWP_NOSIZE)) {
    // The window says how much of the new rectangle is its client area.
    RECT now{};
    GetWindowRect(hwnd, &now);
    const int left = (flags & SWP_NOMOVE) ? now.left : x, top = (flags & SWP_NOMOVE) ? now.top : y;
    const int width = (flags & SWP_NOSIZE) ? now.right - now.left : cx;
    const int height = (flags & SWP_NOSIZE) ? now.bottom - now.top : cy;
    NCCALCSIZE_PARAMS calc;
    calc.lppos = &pos;
    calc.rgrc[0] = RECT{left, top, left + width, top + height};
    const RECT asked = calc.rgrc[0];
    SendMessageA(hwnd, WM_NCCALCSIZE, (flags & SWP_FRAMECHANGED) ? TRUE : FALSE,
                 reinterpret_cast<LPARAM>(&calc));
    const RECT& c = calc.rgrc[0];
    nonClient = QMargins(std::max(0, c.left - asked.left), std::max(0, c.top - asked.top),
                         std::max(0, asked.right - c.right), std::max(0, asked.bottom - c.bottom));
  }
  Window* w = Find(hwnd);
  QWidget* wd = WidgetOf(hwnd);
  if (!w || !wd) return FALSE;
  if (!(flags & SWP_NOZORDER)) {
    if (insertAfter == HWND_TOPMOST) {
      SetTopmost(*w, true);
      wd->raise();
    } else if (insertAfter == HWND_NOTOPMOST) {
      SetTopmost(*w, false);
    } else if (insertAfter == HWND_TOP) {
      wd->raise();
    } else if (insertAfter == HWND_BOTTOM) {
      wd->lower();
    } else if (QWidget* above = WidgetOf(insertAfter)) {
      wd->stackUnder(above);
    }
  }
  if (!(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE))
    Place(wd, x, y, cx, cy, !(flags & SWP_NOMOVE), !(flags & SWP_NOSIZE), ParentOrigin(hwnd));
  if (nonClient && (w = Find(hwnd))) SetNonClient(*w, *nonClient);
  if (flags & SWP_SHOWWINDOW) Show(wd, !(flags & SWP_NOACTIVATE));
  if (flags & SWP_HIDEWINDOW) wd->hide();
  return TRUE;
}

BOOL ShowWindow(HWND hwnd, int command) {
  QWidget* wd = WidgetOf(hwnd);
  if (!wd) return FALSE;
  const BOOL wasVisible = wd->isVisible() ? TRUE : FALSE;
  switch (command) {
    case SW_HIDE:
      wd->hide();
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
      if (wd->isWindow())
        wd->showNormal();
      else
        Show(wd, true);
      break;
    case SW_SHOWMAXIMIZED:
      if (wd->isWindow()) wd->showMaximized();
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      if (wd->isWindow()) wd->showMinimized();
      break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
      Show(wd, false);
      break;
    default:
      Show(wd, true);
      break;
  }
  return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
  QWidget* wd = WidgetOf(hwnd);
  return wd && wd->isVisible() ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
  QWidget* wd = WidgetOf(hwnd);
  return wd && wd->isWindow() && (wd->windowState() & Qt::WindowMaximized) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd) {
  QWidget* wd = WidgetOf(hwnd);
  return wd && wd->isWindow() && (wd->windowState() & Qt::WindowMinimized) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  QWidget* wd = WidgetOf(hwnd);
  if (!wd) return FALSE;
  const BOOL wasDisabled = wd->isEnabled() ? FALSE : TRUE;
  if (static_cast<bool>(enable) != wd->isEnabled()) {
    wd->setEnabled(enable);
    SendMessageA(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  }
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  QWidget* wd = WidgetOf(hwnd);
  return wd && wd->isEnabled() ? TRUE : FALSE;
}

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
  Window* w = Find(hwnd);
  if (!w || !w->widget) return 0;
  std::optional<QRegion> shape;
  if (region) {
    shape = RegionOf(region);
    if (!shape) return 0;
  }
  // The window owns its region: the one it had goes.
  if (w->region && w->region != region) DeleteObject(w->region);
  w->region = region;
  if (shape)
    w->widget->setMask(*shape);
  else
    w->widget->clearMask();
  if (redraw) w->widget->update();
  return 1;
}

int GetWindowRgn(HWND hwnd, HRGN copyInto) {
  Window* w = Find(hwnd);
  if (!w || !w->region || !copyInto) return ERROR;
  return CombineRgn(copyInto, w->region, HRGN(), RGN_COPY);
}

}  // namespace win

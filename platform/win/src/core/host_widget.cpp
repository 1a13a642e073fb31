#include "core/host_widget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "core/window_table.h"
#include "gdi/surface.h"
#include "menu/menu_bar.h"

namespace win::detail {

namespace {

WPARAM KeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
  WPARAM f = 0;
  if (buttons & Qt::LeftButton) f |= MK_LBUTTON;
  if (buttons & Qt::RightButton) f |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) f |= MK_MBUTTON;
  if (mods & Qt::ShiftModifier) f |= MK_SHIFT;
  if (mods & Qt::ControlModifier) f |= MK_CONTROL;
  return f;
}

UINT ButtonMessage(Qt::MouseButton b, QEvent::Type t, bool doubleClicks) {
  const int base = b == Qt::RightButton    ? WM_RBUTTONDOWN
                   : b == Qt::MiddleButton ? WM_MBUTTONDOWN
                                           : WM_LBUTTONDOWN;
  switch (t) {
    case QEvent::MouseButtonPress:
      return base;
    case QEvent::MouseButtonRelease:
      return base + 1;
    case QEvent::MouseButtonDblClick:
      return doubleClicks ? base + 2 : base;
    default:
      return WM_NULL;
  }
}

LPARAM PointParam(const QPointF& p) {
  return MAKELPARAM(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
}

WPARAM SizeKind(const QWidget* w) {
  if (w->isWindow()) {
    if (w->windowState() & Qt::WindowMinimized) return SIZE_MINIMIZED;
    if (w->windowState() & Qt::WindowMaximized) return SIZE_MAXIMIZED;
  }
  return SIZE_RESTORED;
}

bool IsInput(QEvent::Type t) {
  switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return true;
    default:
      return false;
  }
}

void InvalidateAll(Window& w) {
  const QRect client = ClientArea(w);
  w.invalid = QRegion(0, 0, client.width(), client.height());
  w.eraseNeeded = true;
  w.nonClientDirty = true;
}

bool OutsideClient(const Window& w, const QPointF& p) {
  return !w.nonClient.isNull() && !ClientArea(w).contains(p.toPoint());
}

LPARAM ClientPoint(const Window& w, bool attached, const QPointF& p) {
  return PointParam(attached ? p : p - QPointF(ClientArea(w).topLeft()));
}

// The pointer over the part the layer draws itself: the window says what is
// there, and hears of it as non-client messages with screen coordinates.
void NonClientMouse(HWND hwnd, UINT clientMsg, const QPointF& global) {
  const LPARAM at = PointParam(global);
  const LRESULT hit = Dispatch(hwnd, WM_NCHITTEST, 0, at);
  if (!Find(hwnd)) return;
  UINT msg = WM_NULL;
  switch (clientMsg) {
    case WM_MOUSEMOVE:
      msg = WM_NCMOUSEMOVE;
      break;
    case WM_LBUTTONDOWN:
      msg = WM_NCLBUTTONDOWN;
      break;
    case WM_LBUTTONUP:
      msg = WM_NCLBUTTONUP;
      break;
    case WM_LBUTTONDBLCLK:
      msg = WM_NCLBUTTONDBLCLK;
      break;
    case WM_RBUTTONDOWN:
      msg = WM_NCRBUTTONDOWN;
      break;
    case WM_RBUTTONUP:
      msg = WM_NCRBUTTONUP;
      break;
    default:
      return;
  }
  Dispatch(hwnd, msg, static_cast<WPARAM>(hit), at);
}

// Delivers a message; for an attached control the answer says whether the
// control should still see the event.
bool Deliver(HWND hwnd, bool attached, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (attached) return DispatchForQt(hwnd, msg, wParam, lParam);
  Dispatch(hwnd, msg, wParam, lParam);
  return false;
}

}  // namespace

Outcome Translate(HWND hwnd, QWidget* widget, QEvent* e, bool attached) {
  Window* w = Find(hwnd);
  if (!w || w->destroying) return Outcome::NotTranslated;
  auto input = [&](bool passOn) { return passOn ? Outcome::PassOn : Outcome::Consumed; };
  // A disabled window takes no pointer or key input.
  if (!widget->isEnabled() && IsInput(e->type())) return Outcome::NotTranslated;

  switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
      auto* me = static_cast<QMouseEvent*>(e);
      const bool dbl = w->cls && (w->cls->style & CS_DBLCLKS);
      UINT msg = ButtonMessage(me->button(), e->type(), dbl);
      if (msg == WM_NULL) return Outcome::NotTranslated;
      if (!attached && OutsideClient(*w, me->position())) {
        NonClientMouse(hwnd, msg, me->globalPosition());
        return Outcome::Consumed;
      }
      return input(Deliver(hwnd, attached, msg, KeyFlags(me->buttons(), me->modifiers()),
                           ClientPoint(*w, attached, me->position())));
    }
    case QEvent::MouseMove: {
      auto* me = static_cast<QMouseEvent*>(e);
      if (!attached && OutsideClient(*w, me->position())) {
        NonClientMouse(hwnd, WM_MOUSEMOVE, me->globalPosition());
        return Outcome::Consumed;
      }
      if (!attached && !w->nonClient.isNull()) MenuBarHover(hwnd, std::nullopt);
      return input(Deliver(hwnd, attached, WM_MOUSEMOVE, KeyFlags(me->buttons(), me->modifiers()),
                           ClientPoint(*w, attached, me->position())));
    }
    case QEvent::Leave:
      if (!attached && !w->nonClient.isNull()) MenuBarHover(hwnd, std::nullopt);
      return Outcome::NotTranslated;
    case QEvent::Wheel: {
      auto* we = static_cast<QWheelEvent*>(e);
      WPARAM wp = KeyFlags(we->buttons(), we->modifiers()) |
                  (static_cast<WPARAM>(static_cast<WORD>(we->angleDelta().y())) << 16);
      QPoint g = we->globalPosition().toPoint();
      return input(Deliver(hwnd, attached, WM_MOUSEWHEEL, wp, MAKELPARAM(g.x(), g.y())));
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* ke = static_cast<QKeyEvent*>(e);
      if (MenuBarKey(hwnd, ke)) return Outcome::Consumed;
      const bool down = e->type() == QEvent::KeyPress;
      // A key held down repeats its going down only; it goes up once.
      if (!down && ke->isAutoRepeat() && !attached) return Outcome::Consumed;
      const int vk = VirtualKeyOf(*ke);
      bool pass = true;
      if (vk) pass = Deliver(hwnd, attached, down ? WM_KEYDOWN : WM_KEYUP, vk, 1);
      if (down && !ke->text().isEmpty() && Find(hwnd)) {
        const char32_t ch = ke->text().toUcs4().value(0);
        if (ch) pass = Deliver(hwnd, attached, WM_CHAR, ch, 1) && pass;
      }
      return input(pass);
    }
    case QEvent::FocusIn:
      Deliver(hwnd, attached, WM_SETFOCUS, 0, 0);
      return Outcome::NotTranslated;
    case QEvent::FocusOut:
      Deliver(hwnd, attached, WM_KILLFOCUS, 0, 0);
      return Outcome::NotTranslated;
    case QEvent::Resize: {
      SyncSurface(*w);
      if (w->kind == WidgetKind::Host) InvalidateAll(*w);
      const QRect client = attached ? widget->rect() : ClientArea(*w);
      Deliver(hwnd, attached, WM_SIZE, SizeKind(widget),
              MAKELPARAM(client.width(), client.height()));
      return Outcome::NotTranslated;
    }
    case QEvent::Move: {
      // A child's place counts from its parent's client area.
      QPoint at = widget->pos();
      if (Window* p = w->parent ? Find(w->parent) : nullptr) at -= ClientArea(*p).topLeft();
      Deliver(hwnd, attached, WM_MOVE, 0, MAKELPARAM(at.x(), at.y()));
      return Outcome::NotTranslated;
    }
    case QEvent::Show:
      if (w->kind == WidgetKind::Host) InvalidateAll(*w);
      if (!e->spontaneous()) Deliver(hwnd, attached, WM_SHOWWINDOW, TRUE, 0);
      return Outcome::NotTranslated;
    case QEvent::Hide:
      if (!e->spontaneous()) Deliver(hwnd, attached, WM_SHOWWINDOW, FALSE, 0);
      return Outcome::NotTranslated;
    case QEvent::WindowActivate:
      Deliver(hwnd, attached, WM_NCACTIVATE, TRUE, 0);
      if (Find(hwnd)) Deliver(hwnd, attached, WM_ACTIVATE, WA_ACTIVE, 0);
      return Outcome::NotTranslated;
    case QEvent::WindowDeactivate: {
      HWND other = FromWidget(QApplication::activeWindow());
      Deliver(hwnd, attached, WM_NCACTIVATE, FALSE, 0);
      if (Find(hwnd))
        Deliver(hwnd, attached, WM_ACTIVATE, WA_INACTIVE, static_cast<LPARAM>(other.value));
      return Outcome::NotTranslated;
    }
    case QEvent::WindowStateChange: {
      const bool wasMin = w->minimized;
      w->maximized = widget->windowState() & Qt::WindowMaximized;
      w->minimized = widget->windowState() & Qt::WindowMinimized;
      // A minimise keeps the size, so no resize reports it.
      if (w->minimized != wasMin) {
        const QRect client = attached ? widget->rect() : ClientArea(*w);
        Deliver(hwnd, attached, WM_SIZE, SizeKind(widget),
                MAKELPARAM(client.width(), client.height()));
      }
      return Outcome::NotTranslated;
    }
    case QEvent::Close:
      // The window procedure decides; its default destroys the window.
      e->ignore();
      Deliver(hwnd, attached, WM_CLOSE, 0, 0);
      return Outcome::Consumed;
    default:
      return Outcome::NotTranslated;
  }
}

HostWidget::HostWidget(HWND hwnd, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), hwnd_(hwnd) {
  setProperty("win.hwnd", QVariant::fromValue<qulonglong>(hwnd.value));
  setMouseTracking(true);
  // Only a top-level window says it paints every pixel itself. Qt leaves an
  // opaque child out of the repaint of what lies beneath it, trusting its
  // pixels to stay in the window's backing store; after a change of the
  // window's height alone that store is made anew, and controls over the
  // frame stayed blank until something else repainted them.
  setAttribute(Qt::WA_OpaquePaintEvent, isWindow());
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::ClickFocus);
}

bool HostWidget::event(QEvent* e) {
  if (e->type() == QEvent::Paint) return QWidget::event(e);
  // Tab moves the focus on through the form before any window hears of it.
  if (e->type() == QEvent::KeyPress && isEnabled()) {
    const auto* ke = static_cast<QKeyEvent*>(e);
    const bool plain = !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) &&
        focusNextPrevChild(ke->key() == Qt::Key_Tab && !(ke->modifiers() & Qt::ShiftModifier))) {
      e->accept();
      return true;
    }
  }
  if (e->type() == QEvent::ParentChange) setAttribute(Qt::WA_OpaquePaintEvent, isWindow());
  switch (Translate(hwnd_, this, e, false)) {
    case Outcome::Consumed:
      if (e->type() != QEvent::Close) e->accept();
      return true;
    case Outcome::PassOn:
    case Outcome::NotTranslated:
      break;
  }
  // Input the window consumed must not travel on to the parent widget.
  if (IsInput(e->type())) {
    e->accept();
    return true;
  }
  return QWidget::event(e);
}

void HostWidget::paintEvent(QPaintEvent* e) {
  Window* w = Find(hwnd_);
  if (!w) return;
  SyncSurface(*w);
  PaintInvalid(*w);
  if (!(w = Find(hwnd_)) || !w->surface) return;
  // Only the pixels being repainted are copied: a caret blinking in a child
  // repaints a few pixels of every window beneath it.
  QPainter p(this);
  const QRect area = e->region().boundingRect();
  const QImage img = ToQImage(*w->surface, area);
  for (const QRect& r : e->region()) p.drawImage(r, img, r.translated(-area.topLeft()));
}

bool AttachedFilter::eventFilter(QObject* watched, QEvent* e) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget) return false;
  return Translate(hwnd_, widget, e, true) == Outcome::Consumed;
}

}  // namespace win::detail

// Window classes, creating and destroying windows, and what a window holds:
// styles, procedure, text, properties, relations.

#include <QApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cstring>

#include "core/host_widget.h"
#include "core/window_table.h"
#include "gdi/surface.h"
#include "win/gdi.h"
#include "win/menu.h"

namespace win {

namespace detail {

namespace {

std::map<std::string, std::shared_ptr<WindowClass>, base::LessIgnoreAsciiCase>& classes() {
  static std::map<std::string, std::shared_ptr<WindowClass>, base::LessIgnoreAsciiCase> c;
  return c;
}

// A child window that is a tab stop takes the focus by Tab as well as by a
// click; any other takes it only by a click.
void ApplyTabStop(QWidget* widget, DWORD style) {
  if (widget && !widget->isWindow())
    widget->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
}

Qt::WindowFlags TopLevelFlags(DWORD style, DWORD exStyle) {
  Qt::WindowFlags f = (exStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
  if ((style & WS_CAPTION) != WS_CAPTION) f |= Qt::FramelessWindowHint;
  if (exStyle & WS_EX_TOPMOST) f |= Qt::WindowStaysOnTopHint;
  return f;
}

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// An owned top-level window stays above its owner: the desktop learns that
// it belongs to the owner, and it is topmost when the owner is.
void FollowOwner(HWND hwnd) {
  Window* w = Find(hwnd);
  QWidget* wd = w ? w->widget.data() : nullptr;
  if (!wd || !wd->isWindow()) return;
  Window* o = w->owner ? Find(w->owner) : nullptr;
  QWidget* ownerWidget = o && o->widget ? o->widget->window() : nullptr;
  if (ownerWidget) ownerWidget->winId();
  wd->winId();
  if (QWindow* qw = wd->windowHandle())
    qw->setTransientParent(ownerWidget ? ownerWidget->windowHandle() : nullptr);
  if (o && (o->exStyle & WS_EX_TOPMOST))
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

std::shared_ptr<WindowClass> FindClass(const std::string& name) {
  auto& c = classes();
  auto it = c.find(name);
  return it == c.end() ? nullptr : it->second;
}

HWND AttachWidget(QWidget* widget, const char* className, HWND parent) {
  if (!widget || !className) return HWND();
  auto cls = FindClass(className);
  if (!cls) {
    WNDCLASSEXA wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = className;
    RegisterClassExA(&wc);
    cls = FindClass(className);
  }
  auto w = std::make_unique<Window>();
  w->handle = NewWindowHandle();
  w->cls = cls;
  w->kind = WidgetKind::Attached;
  w->proc = cls->proc;
  w->style = WS_CHILD | (widget->isVisible() ? WS_VISIBLE : 0);
  w->parent = parent;
  w->widget = widget;
  widget->setProperty("win.hwnd", QVariant::fromValue<qulonglong>(w->handle.value));
  widget->installEventFilter(new AttachedFilter(w->handle, widget));
  HWND h = w->handle;
  QObject::connect(widget, &QObject::destroyed, [h] {
    if (Window* gone = Find(h)) {
      gone->widget = nullptr;
      KillTimersOf(h);
      Remove(h);
    }
  });
  Add(std::move(w));
  return h;
}

}  // namespace detail

using namespace detail;

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
  if (!wc || !wc->lpszClassName || !*wc->lpszClassName || !wc->lpfnWndProc) return 0;
  auto& c = classes();
  if (c.count(wc->lpszClassName)) return 0;
  auto cls = std::make_shared<WindowClass>();
  cls->name = wc->lpszClassName;
  cls->style = wc->style;
  cls->proc = wc->lpfnWndProc;
  cls->background = wc->hbrBackground;
  cls->cursor = wc->hCursor;
  cls->icon = wc->hIcon;
  cls->wndExtra = std::max(0, wc->cbWndExtra);
  c[cls->name] = cls;
  return static_cast<ATOM>(0xC000 + c.size());
}

BOOL GetClassInfoExA(HINSTANCE, const char* className, WNDCLASSEXA* out) {
  auto cls = className ? FindClass(className) : nullptr;
  if (!cls || !out) return FALSE;
  out->style = cls->style;
  out->lpfnWndProc = cls->proc;
  out->cbWndExtra = cls->wndExtra;
  out->hbrBackground = cls->background;
  out->hCursor = cls->cursor;
  out->hIcon = cls->icon;
  out->lpszClassName = cls->name.c_str();
  return TRUE;
}

std::string GetClassName(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && w->cls ? w->cls->name : std::string();
}

int GetClassNameA(HWND hwnd, char* buffer, int size) {
  Window* w = Find(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  const std::string& n = w->cls->name;
  const int len = std::min<int>(static_cast<int>(n.size()), size - 1);
  std::memcpy(buffer, n.data(), static_cast<std::size_t>(len));
  buffer[len] = '\0';
  return len;
}

LONG_PTR GetClassLongPtrA(HWND hwnd, int index) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  switch (index) {
    case GCL_STYLE:
      return w->cls->style;
    case GCLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->cls->proc);
    case GCLP_HBRBACKGROUND:
      return static_cast<LONG_PTR>(w->cls->background.value);
    default:
      return 0;
  }
}

LONG_PTR SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  LONG_PTR old = GetClassLongPtrA(hwnd, index);
  switch (index) {
    case GCL_STYLE:
      w->cls->style = static_cast<UINT>(value);
      break;
    case GCLP_WNDPROC:
      w->cls->proc = reinterpret_cast<WNDPROC>(value);
      break;
    case GCLP_HBRBACKGROUND:
      w->cls->background = HBRUSH(static_cast<std::uintptr_t>(value));
      break;
    default:
      return 0;
  }
  return old;
}

HWND CreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                     int x, int y, int width, int height, HWND parent, HMENU menuOrId,
                     HINSTANCE instance, void* param) {
  auto cls = className ? FindClass(className) : nullptr;
  if (!cls) return HWND();
  WatchSystemChanges();
  const bool child = style & WS_CHILD;
  Window* parentWin = parent ? Find(parent) : nullptr;
  if (child && (!parentWin || !parentWin->widget)) return HWND();
  if (parent && !parentWin) return HWND();

  auto rec = std::make_unique<Window>();
  rec->handle = NewWindowHandle();
  rec->cls = cls;
  rec->text = windowName ? windowName : "";
  rec->style = style & ~WS_VISIBLE;
  rec->exStyle = exStyle;
  rec->proc = cls->proc;
  rec->extra.assign(static_cast<std::size_t>((cls->wndExtra + 7) / 8), 0);
  if (child) {
    rec->parent = parent;
    rec->id = static_cast<LONG_PTR>(menuOrId.value);
  } else {
    rec->owner = parent;
    rec->menu = menuOrId;
  }
  const HWND h = rec->handle;

  if (x == CW_USEDEFAULT) x = y = 64;
  if (width == CW_USEDEFAULT) width = height = 320;
  width = std::max(width, 0);
  height = std::max(height, 0);

  // Owned windows are Qt children of their owner's window: Qt then keeps them
  // above it and ends them with it, as the platform does.
  QWidget* qparent =
      child ? parentWin->widget.data() : (parentWin ? parentWin->widget.data() : nullptr);
  Qt::WindowFlags flags = child ? Qt::Widget : TopLevelFlags(style, exStyle);
  // Popup menus float above everything and are never managed or decorated.
  if (!child && base::EqualsIgnoreAsciiCase(cls->name, "#32768"))
    flags = Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
  auto widget = std::make_unique<HostWidget>(h, qparent, flags);
  widget->setGeometry(x, y, width, height);
  ApplyTabStop(widget.get(), style);
  if (!child) widget->setWindowTitle(QString::fromUtf8(rec->text.c_str()));
  rec->widget = widget.get();
  Window& w = Add(std::move(rec));
  QWidget* raw = widget.release();  // owned by its Qt parent, or deleted in DestroyWindow
  QObject::connect(raw, &QObject::destroyed, [h] {
    if (Window* gone = Find(h)) gone->widget = nullptr;
  });
  (void)w;

  CREATESTRUCTA cs;
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menuOrId;
  cs.hwndParent = parent;
  cs.cx = width;
  cs.cy = height;
  cs.x = x;
  cs.y = y;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;
  if (!Dispatch(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    DestroyWindow(h);
    return HWND();
  }
  if (Find(h) && Dispatch(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(h);
    return HWND();
  }
  if (!Find(h)) return HWND();
  // A top-level window created with a menu shows it as its bar.
  if (!child && menuOrId && IsMenu(menuOrId)) SetMenu(h, menuOrId);
  if (!Find(h)) return HWND();
  if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
  return h;
}

namespace {

void CollectChildren(HWND hwnd, std::vector<HWND>& out) {
  for (HWND h : AllWindows()) {
    Window* w = Find(h);
    if (w && (w->parent == hwnd || w->owner == hwnd)) {
      out.push_back(h);
      CollectChildren(h, out);
    }
  }
}

}  // namespace

BOOL DestroyWindow(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || w->destroying) return FALSE;
  if (w->kind == WidgetKind::Attached) return FALSE;  // Qt controls end with their form
  w->destroying = true;
  if (w->widget) w->widget->hide();

  // Parents hear of it before their children, and are gone after them.
  std::vector<HWND> family{hwnd};
  CollectChildren(hwnd, family);
  for (HWND h : family) {
    if (Window* f = Find(h)) {
      f->destroying = true;
      Dispatch(h, WM_DESTROY, 0, 0);
    }
  }
  for (auto it = family.rbegin(); it != family.rend(); ++it) {
    Window* f = Find(*it);
    if (!f) continue;
    Dispatch(*it, WM_NCDESTROY, 0, 0);
    if ((f = Find(*it))) {
      KillTimersOf(*it);
      if (f->region) DeleteObject(f->region);
      // The widget may be inside its own event handler right now.
      if (f->widget && f->kind == WidgetKind::Host) {
        f->widget->setProperty("win.hwnd", QVariant());
        f->widget->deleteLater();
      }
      Remove(*it);
    }
  }
  return TRUE;
}

BOOL IsWindow(HWND hwnd) {
  return Find(hwnd) && !Find(hwnd)->destroying ? TRUE : FALSE;
}

BOOL IsChild(HWND parent, HWND hwnd) {
  for (Window* w = Find(hwnd); w && w->parent; w = Find(w->parent))
    if (w->parent == parent) return TRUE;
  return FALSE;
}

HWND GetParent(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return HWND();
  return w->parent ? w->parent : w->owner;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  Window* w = Find(hwnd);
  if (!w) return HWND();
  if (flags == GA_PARENT) return w->parent;
  HWND h = hwnd;
  while (Window* x = Find(h)) {
    if (x->parent)
      h = x->parent;
    else if (flags == GA_ROOTOWNER && x->owner)
      h = x->owner;
    else
      break;
  }
  return h;
}

HWND GetDesktopWindow() {
  // The desktop is not one of our windows; a fixed handle stands for it.
  return HWND(0x10010);
}

HWND FindWindowExA(HWND parent, HWND childAfter, const char* className, const char* windowName) {
  const std::vector<HWND> all = AllWindows();
  auto it = all.begin();
  if (childAfter) {
    it = std::find(all.begin(), all.end(), childAfter);
    if (it == all.end()) return HWND();
    ++it;
  }
  const bool topLevel = !parent || parent == GetDesktopWindow();
  for (; it != all.end(); ++it) {
    Window* w = Find(*it);
    if (!w || w->destroying) continue;
    if (topLevel ? static_cast<bool>(w->parent) : w->parent != parent) continue;
    if (className && !base::EqualsIgnoreAsciiCase(w->cls->name, className)) continue;
    if (windowName && w->text != windowName) continue;
    return *it;
  }
  return HWND();
}

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWL_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_STYLE: {
      DWORD s = w->style;
      if (w->widget && w->widget->isVisible()) s |= WS_VISIBLE;
      if (w->widget && !w->widget->isEnabled()) s |= WS_DISABLED;
      return static_cast<LONG_PTR>(s);
    }
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(w->exStyle);
    case GWLP_USERDATA:
      return w->userData;
    case GWL_ID:
      return w->id;
    case GWLP_HWNDPARENT:
      return static_cast<LONG_PTR>(w->owner.value);
    default:
      if (index >= 0 && static_cast<std::size_t>(index / 8) < w->extra.size())
        return w->extra[index / 8];
      return 0;
  }
}

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  const LONG_PTR old = GetWindowLongPtrA(hwnd, index);
  switch (index) {
    case GWL_WNDPROC:
      if (!value) return 0;
      w->proc = reinterpret_cast<WNDPROC>(value);
      break;
    case GWL_STYLE:
      w->style = static_cast<DWORD>(value) & ~(WS_VISIBLE | WS_DISABLED);
      if (w->kind == WidgetKind::Host) ApplyTabStop(w->widget, w->style);
      break;
    case GWL_EXSTYLE: {
      const bool topmost = value & WS_EX_TOPMOST;
      w->exStyle = static_cast<DWORD>(value);
      SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    }
    case GWLP_USERDATA:
      w->userData = value;
      break;
    case GWLP_HWNDPARENT: {
      const HWND owner(static_cast<std::uintptr_t>(value));
      if (w->parent || owner == hwnd || (owner && !Find(owner))) return 0;
      w->owner = owner;
      FollowOwner(hwnd);
      break;
    }
    case GWL_ID:
      w->id = value;
      break;
    default:
      if (index >= 0 && static_cast<std::size_t>(index / 8) < w->extra.size()) {
        w->extra[index / 8] = value;
        break;
      }
      return 0;
  }
  return old;
}

std::string GetWindowText(HWND hwnd) {
  Window* w = Find(hwnd);
  return w ? w->text : std::string();
}

BOOL SetWindowTextA(HWND hwnd, const char* text) {
  if (!Find(hwnd)) return FALSE;
  return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE
                                                                                       : FALSE;
}

BOOL SetPropA(HWND hwnd, const char* name, std::uintptr_t data) {
  Window* w = Find(hwnd);
  if (!w || !name) return FALSE;
  w->props[name] = data;
  return TRUE;
}

std::uintptr_t GetPropA(HWND hwnd, const char* name) {
  Window* w = Find(hwnd);
  if (!w || !name) return 0;
  auto it = w->props.find(name);
  return it == w->props.end() ? 0 : it->second;
}

std::uintptr_t RemovePropA(HWND hwnd, const char* name) {
  Window* w = Find(hwnd);
  if (!w || !name) return 0;
  auto it = w->props.find(name);
  if (it == w->props.end()) return 0;
  const std::uintptr_t v = it->second;
  w->props.erase(it);
  return v;
}

}  // namespace win

// A window's menu bar: its layout, its picture, and the pointer and keys
// that lead into it.

#include "menu/menu_bar.h"

#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "base/ascii_case.h"
#include "core/window_table.h"
#include "gdi/layer_calls.h"
#include "menu/menu_paint.h"
#include "win/gdi.h"

namespace win {

namespace detail {

namespace {

constexpr int kBarPadding = 8;  // left and right of a plain item's text
constexpr int kBarLine = 1;     // the line between the bar and the client area

// The top-level window whose Alt went down with no other key since: its
// release enters the bar.
thread_local HWND t_altArmed;

std::string BarLabel(const std::string& text) {
  return text.substr(0, text.find('\t'));
}

void LayOut(HMENU handle, HWND hwnd) {
  HDC dc = CreateCompatibleDC(HDC());
  HGDIOBJ old = SelectObject(dc, MenuFont());
  const int plain = std::max(PlainItemHeight(dc), GetSystemMetrics(SM_CYMENU));
  int row = plain;
  std::vector<SIZE> sizes;
  // The owner may answer WM_MEASUREITEM by changing the menu: look it up anew.
  for (std::size_t i = 0;; ++i) {
    Menu* m = FindMenu(handle);
    if (!m || i >= m->items.size()) break;
    const MenuItem item = m->items[i];
    SIZE sz{0, plain};
    if (item.type & MFT_OWNERDRAW) {
      sz = SendMeasureItem(item, hwnd, plain);
    } else if (item.type & MFT_SEPARATOR) {
      sz.cx = kBarPadding;
    } else {
      const std::string label = TextWithoutMarkers(BarLabel(item.text));
      SIZE text;
      GetTextExtentPoint32A(dc, label.c_str(), static_cast<int>(label.size()), &text);
      sz.cx = text.cx + 2 * kBarPadding;
    }
    row = std::max<int>(row, sz.cy);
    sizes.push_back(sz);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  Menu* m = FindMenu(handle);
  if (!m) return;
  int x = 0;
  for (std::size_t i = 0; i < m->items.size(); ++i) {
    const int w = i < sizes.size() ? std::max<int>(0, sizes[i].cx) : 0;
    m->items[i].rect = RECT{x, 0, x + w, row};
    x += w;
  }
  m->barHeight = row + kBarLine;
  m->needsLayout = false;
}

void DrawBarItem(Menu& m, std::size_t index, HDC dc, HWND hwnd, UINT action) {
  Window* w = Find(hwnd);
  if (!w || index >= m.items.size()) return;
  const MenuItem& item = m.items[index];
  const QPoint fo = FrameOffset(*w);
  RECT r = item.rect;
  OffsetRect(&r, fo.x(), fo.y());
  const int tracked = TrackedBarItem(hwnd);
  const bool selected = tracked == static_cast<int>(index);
  const bool hot = !selected && tracked < 0 && m.hot == static_cast<int>(index);
  SelectObject(dc, MenuFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
  if (item.type & MFT_OWNERDRAW) {
    SendDrawItem(m, index, dc, hwnd, (selected ? ODS_SELECTED : 0) | (hot ? ODS_HOTLIGHT : 0),
                 action, r);
    return;
  }
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (hot) FrameRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
  if (item.type & MFT_SEPARATOR) return;
  const bool grayed = item.state & (MF_GRAYED | MF_DISABLED);
  SetTextColor(dc, GetSysColor(grayed     ? COLOR_GRAYTEXT
                               : selected ? COLOR_HIGHLIGHTTEXT
                                          : COLOR_MENUTEXT));
  const std::string label = BarLabel(item.text);
  DrawTextA(dc, label.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

int FirstSelectable(const Menu& m) {
  for (std::size_t i = 0; i < m.items.size(); ++i)
    if (!(m.items[i].type & MFT_SEPARATOR)) return static_cast<int>(i);
  return -1;
}

int AccessItem(const Menu& m, char key) {
  for (std::size_t i = 0; i < m.items.size(); ++i) {
    const MenuItem& it = m.items[i];
    if (!(it.type & (MFT_OWNERDRAW | MFT_SEPARATOR)) && MenuAccessKey(it.text) == key)
      return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

Menu* BarOf(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || (w->style & WS_CHILD) || w->kind != WidgetKind::Host) return nullptr;
  return FindMenu(w->menu);
}

int MenuBarHeight(HWND hwnd) {
  Menu* m = BarOf(hwnd);
  if (!m) return 0;
  if (m->needsLayout) LayOut(m->handle, hwnd);
  return (m = BarOf(hwnd)) ? m->barHeight : 0;
}

void PaintMenuBar(HWND hwnd, HDC dc) {
  Menu* m = BarOf(hwnd);
  Window* w = Find(hwnd);
  if (!m || !w || !w->widget) return;
  const HMENU handle = m->handle;
  if (m->needsLayout) {
    LayOut(handle, hwnd);
    // Items that changed their height change the client area: once this
    // picture is done, the window fits itself to the bar again.
    if ((m = FindMenu(handle)) && (w = Find(hwnd)) && m->barHeight != w->nonClient.top())
      QTimer::singleShot(0, w->widget.data(), [hwnd] { RecalcFrame(hwnd); });
  }
  if (!(m = FindMenu(handle)) || !(w = Find(hwnd)) || !w->widget) return;
  const QPoint fo = FrameOffset(*w);
  const int height = w->nonClient.top();
  RECT all{fo.x(), fo.y(), fo.x() + w->widget->width(), fo.y() + height};
  FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
  RECT line{all.left, all.bottom - kBarLine, all.right, all.bottom};
  FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
  for (std::size_t i = 0; (m = FindMenu(handle)) && i < m->items.size(); ++i)
    DrawBarItem(*m, i, dc, hwnd, ODA_DRAWENTIRE);
}

void RedrawBarItem(HWND hwnd, int index, UINT action) {
  Menu* m = BarOf(hwnd);
  if (!m || index < 0 || static_cast<std::size_t>(index) >= m->items.size()) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  DrawBarItem(*m, static_cast<std::size_t>(index), dc, hwnd, action);
  ReleaseDC(hwnd, dc);
}

int BarItemAt(HWND hwnd, QPoint global) {
  Menu* m = BarOf(hwnd);
  Window* w = Find(hwnd);
  if (!m || !w || !w->widget || w->nonClient.top() <= 0) return -2;
  const QPoint p = w->widget->mapFromGlobal(global);
  if (p.x() < 0 || p.y() < 0 || p.x() >= w->widget->width() || p.y() >= w->nonClient.top())
    return -2;
  for (std::size_t i = 0; i < m->items.size(); ++i) {
    const RECT& r = m->items[i].rect;
    if (p.x() >= r.left && p.x() < r.right && p.y() >= r.top && p.y() < r.bottom)
      return static_cast<int>(i);
  }
  return -1;
}

void RecalcFrame(HWND hwnd) {
  SetWindowPos(hwnd, HWND(), 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void MenuBarHover(HWND hwnd, std::optional<QPoint> global) {
  Menu* m = BarOf(hwnd);
  if (!m || TrackedBarItem(hwnd) >= 0) return;
  const int index = global ? std::max(-1, BarItemAt(hwnd, *global)) : -1;
  if (index == m->hot) return;
  const int before = m->hot;
  m->hot = index;
  RedrawBarItem(hwnd, before, ODA_SELECT);
  RedrawBarItem(hwnd, index, ODA_SELECT);
}

bool MenuBarKey(HWND hwnd, QKeyEvent* e) {
  const HWND root = GetAncestor(hwnd, GA_ROOT);
  Menu* bar = BarOf(root);
  if (!bar || bar->items.empty()) {
    t_altArmed = HWND();
    return false;
  }
  const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
  if (e->type() == QEvent::KeyRelease) {
    if (e->key() != Qt::Key_Alt || e->isAutoRepeat() || t_altArmed != root) return false;
    t_altArmed = HWND();
    TrackMenuBar(root, FirstSelectable(*bar), false, false);
    return true;
  }
  if (e->key() == Qt::Key_Alt) {
    if (!e->isAutoRepeat()) t_altArmed = root;
    return false;
  }
  t_altArmed = HWND();
  if (e->key() == Qt::Key_F10 && mods == Qt::NoModifier) {
    TrackMenuBar(root, FirstSelectable(*bar), false, false);
    return true;
  }
  if (mods != Qt::AltModifier) return false;
  // Letters and digits are access keys, their virtual keys upper-case ones.
  const int vk = VirtualKeyOf(*e);
  char key = 0;
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
    key = base::AsciiLower(static_cast<char>(vk));
  const int index = key ? AccessItem(*bar, key) : -1;
  if (index < 0) return false;
  TrackMenuBar(root, index, true, true);
  return true;
}

}  // namespace detail

using namespace detail;

BOOL DrawMenuBar(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || (w->style & WS_CHILD)) return FALSE;
  Menu* m = BarOf(hwnd);
  // A window that has no bar and had none has nothing to draw or fit.
  if (!m && w->nonClient.isNull()) return TRUE;
  if (m) m->needsLayout = true;
  RecalcFrame(hwnd);
  if ((w = Find(hwnd)) && w->widget) {
    w->nonClientDirty = true;
    w->widget->update();
  }
  return TRUE;
}

}  // namespace win

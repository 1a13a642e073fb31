// Popup menus on screen: the "#32768" windows, and tracking the pointer and
// keys while a menu is open.

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "core/layer_calls.h"
#include "core/screen_overlay.h"
#include "core/window_table.h"
#include "gdi/layer_calls.h"
#include "menu/menu_bar.h"
#include "menu/menu_paint.h"
#include "menu/menu_table.h"
#include "win/gdi.h"
#include "win/qt_window.h"

namespace win {

namespace detail {

namespace {

constexpr int kFrame = 3;  // the popup's raised frame while it has its border styles

struct Level {
  HMENU menu;
  HWND window;
  int selected = -1;
};

struct Tracking {
  HWND owner;
  UINT flags = 0;
  std::vector<Level> levels;
  bool done = false;
  UINT command = 0;
  bool idleSent = false;
  // A menu tracked from a window's bar: the bar, and its selected item.
  HMENU bar;
  int barItem = -1;
};

thread_local Tracking* t_track = nullptr;

int FrameOf(HWND popup) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(popup, GWL_STYLE));
  const auto ex = static_cast<DWORD>(GetWindowLongPtrA(popup, GWL_EXSTYLE));
  return (style & WS_BORDER) || (ex & (WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE)) ? kFrame : 0;
}

Level* LevelOf(HWND popup) {
  if (!t_track) return nullptr;
  for (Level& l : t_track->levels)
    if (l.window == popup) return &l;
  return nullptr;
}

int ItemAt(Menu& m, POINT p) {
  for (std::size_t i = 0; i < m.items.size(); ++i)
    if (PtInRect(&m.items[i].rect, p)) return static_cast<int>(i);
  return -1;
}

bool Selectable(const MenuItem& i) {
  return !(i.type & MFT_SEPARATOR);
}

bool Enabled(const MenuItem& i) {
  return !(i.state & (MF_GRAYED | MF_DISABLED));
}

void DrawFrame(HWND popup, HDC dc) {
  if (!FrameOf(popup)) return;
  RECT r;
  GetWindowRect(popup, &r);
  OffsetRect(&r, -r.left, -r.top);
  DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
  InflateRect(&r, -2, -2);
  FrameRect(dc, &r, GetSysColorBrush(COLOR_MENU));
}

void DrawItems(HWND popup, HDC dc, UINT action) {
  Level* l = LevelOf(popup);
  Menu* m = l ? FindMenu(l->menu) : nullptr;
  if (!m) return;
  for (std::size_t i = 0; i < m->items.size(); ++i)
    DrawMenuItem(*m, i, dc, t_track->owner, static_cast<int>(i) == l->selected, action);
}

void RedrawItem(Level& l, int index) {
  Menu* m = FindMenu(l.menu);
  if (!m || index < 0) return;
  HDC dc = GetDC(l.window);
  if (!dc) return;
  DrawMenuItem(*m, static_cast<std::size_t>(index), dc, t_track->owner, index == l.selected,
               ODA_SELECT);
  ReleaseDC(l.window, dc);
}

// The deepest popup holds the pointer and the keyboard, so that a press
// anywhere on the screen, even outside the application, reaches the menu.
void Grab(HWND popup, bool on) {
  QWidget* wd = WindowWidget(popup);
  if (!wd) return;
  if (on && wd->isVisible()) {
    wd->grabMouse();
    wd->grabKeyboard();
  } else if (!on) {
    wd->releaseMouse();
    wd->releaseKeyboard();
  }
}

// The item selected in an open popup carries MF_HILITE, as the owner reads
// it (GetMenuState) when it answers for items it draws itself.
void Hilite(HMENU menu, int index, bool on) {
  Menu* m = FindMenu(menu);
  if (!m || index < 0 || static_cast<std::size_t>(index) >= m->items.size()) return;
  UINT& state = m->items[static_cast<std::size_t>(index)].state;
  state = on ? (state | MF_HILITE) : (state & ~MF_HILITE);
}

void CloseLevelsAbove(std::size_t keep) {
  while (t_track && t_track->levels.size() > keep) {
    Level l = t_track->levels.back();
    t_track->levels.pop_back();
    Hilite(l.menu, l.selected, false);
    Grab(l.window, false);
    if (!t_track->levels.empty()) Grab(t_track->levels.back().window, true);
    if (Menu* m = FindMenu(l.menu)) m->shownIn = HWND();
    if (!(t_track->flags & TPM_NONOTIFY))
      SendMessageA(t_track->owner, WM_UNINITMENUPOPUP, l.menu.value, 0);
    DestroyWindow(l.window);
  }
}

void Select(std::size_t depth, int index) {
  Level& l = t_track->levels[depth];
  if (l.selected == index) return;
  const int before = l.selected;
  l.selected = index;
  Hilite(l.menu, before, false);
  Hilite(l.menu, index, true);
  CloseLevelsAbove(depth + 1);
  if (Menu* m = FindMenu(l.menu); m && !(t_track->flags & TPM_NONOTIFY)) {
    if (index >= 0 && static_cast<std::size_t>(index) < m->items.size()) {
      const MenuItem& it = m->items[static_cast<std::size_t>(index)];
      const UINT flags = ((it.state | it.type) & 0xFFFF) | (it.sub ? MF_POPUP : 0);
      const UINT item = it.sub ? static_cast<UINT>(index) : it.id;
      SendMessageA(t_track->owner, WM_MENUSELECT, MAKELPARAM(item, flags), l.menu.value);
    }
  }
  if (!t_track || depth >= t_track->levels.size()) return;
  RedrawItem(t_track->levels[depth], before);
  RedrawItem(t_track->levels[depth], index);
}

bool OpenLevel(HMENU menu, int x, int y, UINT align, const RECT* parentItem, int itemPos,
               bool underBar = false);

void OpenSubmenu(std::size_t depth, bool selectFirst) {
  Level& l = t_track->levels[depth];
  Menu* m = FindMenu(l.menu);
  // The owner may have changed the menu while it was open.
  if (!m || l.selected < 0 || static_cast<std::size_t>(l.selected) >= m->items.size()) return;
  const MenuItem& it = m->items[static_cast<std::size_t>(l.selected)];
  if (!it.sub || !Enabled(it) || !FindMenu(it.sub)) return;
  if (t_track->levels.size() > depth + 1) return;  // already open
  RECT r = it.rect;
  POINT origin{0, 0};
  ClientToScreen(l.window, &origin);
  OffsetRect(&r, origin.x, origin.y);
  RECT whole;
  GetWindowRect(l.window, &whole);
  r.left = whole.left;
  r.right = whole.right;
  if (!OpenLevel(it.sub, r.right - 3, r.top - kFrame, TPM_LEFTALIGN, &r, l.selected)) return;
  if (selectFirst) {
    Menu* sub = FindMenu(it.sub);
    for (std::size_t i = 0; sub && i < sub->items.size(); ++i)
      if (Selectable(sub->items[i])) {
        Select(depth + 1, static_cast<int>(i));
        break;
      }
  }
}

void Finish(UINT command) {
  if (!t_track) return;
  t_track->command = command;
  t_track->done = true;
}

void Choose(std::size_t depth, int index) {
  Menu* m = FindMenu(t_track->levels[depth].menu);
  if (!m || index < 0 || static_cast<std::size_t>(index) >= m->items.size()) return;
  const MenuItem& it = m->items[static_cast<std::size_t>(index)];
  if (!Selectable(it) || !Enabled(it)) return;
  if (it.sub) {
    Select(depth, index);
    OpenSubmenu(depth, true);
    return;
  }
  Finish(it.id);
}

void MoveSelection(std::size_t depth, int step) {
  Level& l = t_track->levels[depth];
  Menu* m = FindMenu(l.menu);
  if (!m || m->items.empty()) return;
  const int n = static_cast<int>(m->items.size());
  int i = l.selected;
  for (int tries = 0; tries < n; ++tries) {
    i = i < 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
    if (Selectable(m->items[static_cast<std::size_t>(i)])) {
      Select(depth, i);
      return;
    }
  }
}

void AccessChar(std::size_t depth, char32_t ch) {
  const Level& l = t_track->levels[depth];
  const HMENU menu = l.menu;
  Menu* m = FindMenu(menu);
  if (!m) return;
  // The menu reads the access keys of the texts it draws; the owner answers
  // for the items it draws itself.
  std::vector<std::string> texts;
  texts.reserve(m->items.size());
  for (const MenuItem& it : m->items)
    texts.push_back(it.type & MFT_OWNERDRAW ? std::string() : it.text);
  LRESULT r = MenuAccessKeyAnswer(texts, l.selected, static_cast<unsigned>(ch));
  if (r == MNC_IGNORE)
    r = SendMessageA(t_track->owner, WM_MENUCHAR, MAKELPARAM(ch & 0xFFFF, MF_POPUP),
                     static_cast<LPARAM>(menu.value));
  // The owner may have closed or changed the menu while it answered.
  if (!t_track || depth >= t_track->levels.size() || t_track->levels[depth].menu != menu ||
      !(m = FindMenu(menu)))
    return;
  const int pos = static_cast<int>(r & 0xFFFF);
  switch ((r >> 16) & 0xFFFF) {
    case MNC_EXECUTE:
      Choose(depth, pos);
      break;
    case MNC_SELECT:
      if (pos < static_cast<int>(m->items.size())) Select(depth, pos);
      break;
    case MNC_CLOSE:
      Finish(0);
      break;
    default:
      break;
  }
}

void SelectFirst(std::size_t depth) {
  Menu* m = FindMenu(t_track->levels[depth].menu);
  for (std::size_t i = 0; m && i < m->items.size(); ++i)
    if (Selectable(m->items[i])) {
      Select(depth, static_cast<int>(i));
      return;
    }
}

// Selects a bar item (or none, -1) and with `open` shows its popup under it.
void SelectBar(int index, bool open, bool selectFirst) {
  Menu* bar = FindMenu(t_track->bar);
  if (!bar) {
    Finish(0);
    return;
  }
  if (index >= static_cast<int>(bar->items.size())) index = -1;
  const HWND owner = t_track->owner;
  if (index != t_track->barItem) {
    CloseLevelsAbove(0);
    // Shadows drawn on the screen for the item left and its popup go with them.
    ClearScreenOverlay();
    if (!t_track || !(bar = FindMenu(t_track->bar))) return;
    const int before = t_track->barItem;
    if (before >= 0 && static_cast<std::size_t>(before) < bar->items.size())
      bar->items[static_cast<std::size_t>(before)].state &= ~MF_HILITE;
    t_track->barItem = index;
    if (index >= 0) {
      MenuItem& it = bar->items[static_cast<std::size_t>(index)];
      it.state |= MF_HILITE;
      const UINT flags = ((it.state | it.type) & 0xFFFF) | (it.sub ? MF_POPUP : 0);
      SendMessageA(owner, WM_MENUSELECT,
                   MAKELPARAM(it.sub ? static_cast<UINT>(index) : it.id, flags),
                   t_track->bar.value);
    }
    RedrawBarItem(owner, before, ODA_SELECT);
    RedrawBarItem(owner, index, ODA_SELECT);
  }
  if (!open || !t_track || !t_track->levels.empty() || !(bar = FindMenu(t_track->bar)) || index < 0)
    return;
  const MenuItem& it = bar->items[static_cast<std::size_t>(index)];
  if (!it.sub || !Enabled(it) || !FindMenu(it.sub)) return;
  RECT r;
  if (!GetMenuItemRect(owner, t_track->bar, static_cast<UINT>(index), &r)) return;
  if (OpenLevel(it.sub, r.left, r.bottom, TPM_LEFTALIGN, &r, index, true) && selectFirst)
    SelectFirst(0);
}

// The next item of the bar to the left or right, round the end.
void StepBar(int step) {
  Menu* bar = FindMenu(t_track->bar);
  if (!bar || bar->items.empty()) return;
  const int n = static_cast<int>(bar->items.size());
  const bool open = !t_track->levels.empty();
  int i = t_track->barItem;
  for (int tries = 0; tries < n; ++tries) {
    i = i < 0 ? 0 : (i + step + n) % n;
    if (Selectable(bar->items[static_cast<std::size_t>(i)])) {
      SelectBar(i, open, true);
      return;
    }
  }
}

// Chooses a bar item: an item with a popup opens it, a command ends the menu.
void ChooseBar(int index, bool selectFirst) {
  Menu* bar = FindMenu(t_track->bar);
  if (!bar || index < 0 || static_cast<std::size_t>(index) >= bar->items.size()) return;
  const MenuItem& it = bar->items[static_cast<std::size_t>(index)];
  if (!Selectable(it) || !Enabled(it)) return;
  if (it.sub) {
    SelectBar(index, true, selectFirst);
    return;
  }
  Finish(it.id);
}

// Keys while the bar is selected and no popup is open.
void BarKey(int vk, char32_t ch) {
  switch (vk) {
    case VK_LEFT:
      StepBar(-1);
      return;
    case VK_RIGHT:
      StepBar(1);
      return;
    case VK_DOWN:
    case VK_RETURN:
      ChooseBar(t_track->barItem, true);
      return;
    case VK_ESCAPE:
    case VK_MENU:
    case VK_F10:
      Finish(0);
      return;
    default:
      break;
  }
  Menu* bar = FindMenu(t_track->bar);
  const char key = ch < 128 ? static_cast<char>(std::tolower(static_cast<int>(ch))) : 0;
  for (std::size_t i = 0; bar && key && i < bar->items.size(); ++i) {
    const MenuItem& it = bar->items[i];
    if (!(it.type & MFT_OWNERDRAW) && MenuAccessKey(it.text) == key) {
      ChooseBar(static_cast<int>(i), true);
      return;
    }
  }
}

// The pointer over the bar while the menu is tracked from it.
void BarPointer(QEvent::Type type, int index) {
  Menu* bar = FindMenu(t_track->bar);
  if (!bar || index < 0) return;
  const MenuItem& it = bar->items[static_cast<std::size_t>(index)];
  const bool open = !t_track->levels.empty();
  switch (type) {
    case QEvent::MouseMove:
      // Moving across the bar while a popup is open opens the one under it.
      if (open && index != t_track->barItem) SelectBar(index, true, false);
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      // A press on the open item closes the menu, as it opened it.
      if (index == t_track->barItem && open)
        Finish(0);
      else
        SelectBar(index, true, false);
      break;
    case QEvent::MouseButtonRelease:
      if (index == t_track->barItem && !it.sub && Enabled(it) && Selectable(it)) Finish(it.id);
      break;
    default:
      break;
  }
}

std::size_t DepthOf(HWND popup) {
  for (std::size_t d = 0; t_track && d < t_track->levels.size(); ++d)
    if (t_track->levels[d].window == popup) return d;
  return static_cast<std::size_t>(-1);
}

LRESULT PopupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const std::size_t depth = DepthOf(hwnd);
  const bool tracked = depth != static_cast<std::size_t>(-1);
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (dc) {
        DrawFrame(hwnd, dc);
        DrawItems(hwnd, dc, ODA_DRAWENTIRE);
        EndPaint(hwnd, &ps);
      }
      return 0;
    }
    case WM_NCPAINT: {
      HDC dc = GetWindowDC(hwnd);
      if (dc) {
        DrawFrame(hwnd, dc);
        ReleaseDC(hwnd, dc);
      }
      return 0;
    }
    case WM_PRINT:
      DefWindowProcA(hwnd, msg, wParam, lParam);
      if (lParam & PRF_NONCLIENT) DrawFrame(hwnd, HDC(wParam));
      return 0;
    case WM_PRINTCLIENT:
      DrawItems(hwnd, HDC(wParam), ODA_DRAWENTIRE);
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      if (!tracked) return 0;
      Menu* m = FindMenu(t_track->levels[depth].menu);
      if (!m) return 0;
      const int i = ItemAt(*m, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      if (msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN) {
        if (i < 0) return 0;
        if (!Selectable(m->items[static_cast<std::size_t>(i)])) {
          Select(depth, -1);
          return 0;
        }
        Select(depth, i);
        OpenSubmenu(depth, false);
        return 0;
      }
      const bool rightOk = t_track->flags & TPM_RIGHTBUTTON;
      if (msg == WM_RBUTTONUP && !rightOk) return 0;
      if (i >= 0 && !m->items[static_cast<std::size_t>(i)].sub) Choose(depth, i);
      return 0;
    }
    case WM_KEYDOWN: {
      if (!tracked) return 0;
      switch (static_cast<int>(wParam)) {
        case VK_DOWN:
          MoveSelection(depth, 1);
          break;
        case VK_UP:
          MoveSelection(depth, -1);
          break;
        case VK_RIGHT: {
          // On an item without a popup, the bar's next item opens instead.
          Menu* m = FindMenu(t_track->levels[depth].menu);
          const int sel = t_track->levels[depth].selected;
          const bool hasSub = m && sel >= 0 && static_cast<std::size_t>(sel) < m->items.size() &&
                              m->items[static_cast<std::size_t>(sel)].sub;
          if (hasSub)
            OpenSubmenu(depth, true);
          else if (t_track->bar)
            StepBar(1);
          break;
        }
        case VK_LEFT:
          if (depth > 0)
            CloseLevelsAbove(depth);
          else if (t_track->bar)
            StepBar(-1);
          break;
        case VK_ESCAPE:
          // Esc closes one level; from the bar's popup, back to the bar.
          if (depth > 0 || t_track->bar)
            CloseLevelsAbove(depth);
          else
            Finish(0);
          break;
        case VK_RETURN:
          Choose(depth, t_track->levels[depth].selected);
          break;
        default:
          break;
      }
      return 0;
    }
    case WM_CHAR:
      if (tracked && wParam > 32) AccessChar(depth, static_cast<char32_t>(wParam));
      return 0;
    case WM_MOUSEACTIVATE:
      return 3;  // MA_NOACTIVATE
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

void EnsureClass() {
  if (FindClass(POPUPMENU_CLASS)) return;
  WNDCLASSEXA wc;
  wc.style = CS_DROPSHADOW | CS_SAVEBITS | CS_DBLCLKS;
  wc.lpfnWndProc = PopupProc;
  wc.hbrBackground = GetSysColorBrush(COLOR_MENU);
  wc.lpszClassName = POPUPMENU_CLASS;
  RegisterClassExA(&wc);
}

bool OpenLevel(HMENU menu, int x, int y, UINT align, const RECT* parentItem, int itemPos,
               bool underBar) {
  Menu* m = FindMenu(menu);
  if (!m || !t_track) return false;
  const HWND owner = t_track->owner;
  if (!(t_track->flags & TPM_NONOTIFY))
    SendMessageA(owner, WM_INITMENUPOPUP, menu.value, MAKELPARAM(itemPos, 0));
  if (!(m = FindMenu(menu)) || !t_track) return false;
  MeasurePopupItems(*m, owner);

  EnsureClass();
  const HWND popup = CreateWindowExA(
      WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE, POPUPMENU_CLASS,
      "", WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS, x, y, 0, 0, owner, HMENU(), HINSTANCE(), nullptr);
  if (!popup || !(m = FindMenu(menu)) || !t_track) return false;
  t_track->levels.push_back(Level{menu, popup, -1});
  m->shownIn = popup;

  // Lay the items out under each other, as wide as the widest.
  const int frame = FrameOf(popup);
  int width = 0, height = 0;
  for (const MenuItem& i : m->items) width = std::max<int>(width, i.rect.right);
  width = std::max(width, 40);
  for (MenuItem& i : m->items) {
    const int h = i.rect.bottom;
    i.rect = RECT{frame, frame + height, frame + width, frame + height + h};
    height += h;
  }
  // The window keeps room for the frame even when a hook took the border
  // styles away: such a popup paints its own flat frame and shadow there.
  const int W = width + 2 * kFrame, H = std::max(height, 4) + 2 * kFrame;
  if (align & TPM_RIGHTALIGN)
    x -= W;
  else if (align & TPM_CENTERALIGN)
    x -= W / 2;
  if (align & TPM_BOTTOMALIGN)
    y -= H;
  else if (align & TPM_VCENTERALIGN)
    y -= H / 2;
  // Keep it on the screen: a cascade flips to the left of its parent.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect s = screen->geometry();
    // A popup of the bar opens above its item when there is no room below.
    if (x + W > s.right() + 1)
      x = parentItem && !underBar ? parentItem->left - W + 3 : s.right() + 1 - W;
    if (y + H > s.bottom() + 1)
      y = underBar && parentItem->top - H >= s.top() ? parentItem->top - H
                                                     : std::max<int>(s.top(), s.bottom() + 1 - H);
    x = std::max<int>(x, s.left());
    y = std::max<int>(y, s.top());
  }
  SetWindowPos(popup, HWND_TOPMOST, x, y, W, H, SWP_NOACTIVATE);
  // The first picture is taken before the popup shows, as the platform's
  // menu animation takes it: the frame, then the background through
  // WM_PRINT, then the items. What is behind the popup is still on screen.
  if (HDC dc = GetWindowDC(popup)) {
    SendMessageA(popup, WM_NCPAINT, 1, 0);
    SendMessageA(popup, WM_PRINT, dc.value, PRF_ERASEBKGND);
    if (IsWindow(popup)) {
      SendMessageA(popup, WM_PRINTCLIENT, dc.value, PRF_CLIENT);
      if (FrameOf(popup)) DrawFrame(popup, dc);
    }
    ReleaseDC(popup, dc);
  }
  if (!IsWindow(popup)) return false;
  SetWindowPos(popup, HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Grab(popup, true);
  ValidateRect(popup, nullptr);
  return true;
}

HWND PopupAt(QPoint global) {
  for (auto it = t_track->levels.rbegin(); it != t_track->levels.rend(); ++it) {
    RECT r;
    if (GetWindowRect(it->window, &r) && PtInRect(&r, POINT{global.x(), global.y()}))
      return it->window;
  }
  return HWND();
}

int VirtualKeyOf(int key) {
  switch (key) {
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Alt:
      return VK_MENU;
    case Qt::Key_F10:
      return VK_F10;
    default:
      return 0;
  }
}

// While a menu is open every key and pointer event of the application is
// the menu's: keys go to the deepest popup, a press outside every popup
// closes the menu.
class MenuInput : public QObject {
 public:
  bool eventFilter(QObject* target, QEvent* e) override {
    if (!t_track || t_track->done) return false;
    switch (e->type()) {
      case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(e);
        t_track->idleSent = false;
        if (t_track->bar) {
          const int vk = VirtualKeyOf(ke->key());
          if (vk == VK_MENU || vk == VK_F10) {
            Finish(0);
            return true;
          }
          if (t_track->levels.empty()) {
            BarKey(vk, ke->text().isEmpty() ? 0 : ke->text().toUcs4().value(0));
            return true;
          }
        }
        const HWND deepest = t_track->levels.back().window;
        if (const int vk = VirtualKeyOf(ke->key())) {
          Dispatch(deepest, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
        } else if (!ke->text().isEmpty()) {
          Dispatch(deepest, WM_CHAR, ke->text().toUcs4().value(0), 1);
        }
        return true;
      }
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
        return true;
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove: {
        if (!qobject_cast<QWidget*>(target)) return false;
        auto* me = static_cast<QMouseEvent*>(e);
        t_track->idleSent = false;
        const QPoint global = me->globalPosition().toPoint();
        const HWND popup = PopupAt(global);
        if (!popup && t_track->bar) {
          const int item = BarItemAt(t_track->owner, global);
          if (item >= 0) {
            BarPointer(e->type(), item);
            return true;
          }
          if (item == -1 && e->type() != QEvent::MouseButtonPress) return true;
        }
        if (!popup) {
          if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick)
            Finish(0);
          return true;
        }
        POINT p{global.x(), global.y()};
        ScreenToClient(popup, &p);
        const bool right = me->button() == Qt::RightButton;
        UINT msg = WM_MOUSEMOVE;
        if (e->type() == QEvent::MouseButtonRelease)
          msg = right ? WM_RBUTTONUP : WM_LBUTTONUP;
        else if (e->type() != QEvent::MouseMove)
          msg = right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
        Dispatch(popup, msg, 0, MAKELPARAM(p.x, p.y));
        return true;
      }
      default:
        return false;
    }
  }
};

// Runs the menu until it is done. A popup menu ends when its first popup is
// gone; a bar's menu may wait on the bar with no popup open.
void RunMenuLoop(Tracking& track) {
  const HWND owner = track.owner;
  while (!track.done) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (track.done) break;
    const bool gone = track.levels.empty() ? !track.bar || !FindMenu(track.bar)
                                           : !IsWindow(track.levels.front().window);
    if (!IsWindow(owner) || gone) {
      track.done = true;
      break;
    }
    if (!track.idleSent) {
      track.idleSent = true;
      const HWND deepest = track.levels.empty() ? owner : track.levels.back().window;
      SendMessageA(owner, WM_ENTERIDLE, MSGF_MENU, static_cast<LPARAM>(deepest.value));
      continue;
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

// Closes what is open, says so to the owner and runs the chosen command.
// Returns the command.
UINT EndTracking(Tracking& track, bool popupMenu) {
  const HWND owner = track.owner;
  CloseLevelsAbove(0);
  if (Menu* bar = FindMenu(track.bar);
      bar && track.barItem >= 0 && static_cast<std::size_t>(track.barItem) < bar->items.size())
    bar->items[static_cast<std::size_t>(track.barItem)].state &= ~MF_HILITE;
  const int barItem = track.barItem;
  track.barItem = -1;
  if (track.bar) {
    if (Menu* bar = FindMenu(track.bar)) bar->hot = -1;
    RedrawBarItem(owner, barItem, ODA_SELECT);
  }
  // Shadows drawn on the screen around the menu go with it.
  ClearScreenOverlay();
  t_track = nullptr;
  const UINT command = track.command;
  if (IsWindow(owner) && !(track.flags & TPM_NONOTIFY)) {
    SendMessageA(owner, WM_MENUSELECT, MAKELPARAM(0, 0xFFFF), 0);
    SendMessageA(owner, WM_EXITMENULOOP, popupMenu ? TRUE : FALSE, 0);
  }
  if (track.flags & TPM_RETURNCMD) return command;
  // The command arrives once the menu is gone, before the tracking returns.
  if (command && IsWindow(owner)) SendMessageA(owner, WM_COMMAND, command & 0xFFFF, 0);
  return command;
}

}  // namespace

void TrackMenuBar(HWND hwnd, int index, bool open, bool selectFirst) {
  Menu* bar = BarOf(hwnd);
  if (t_track || !bar || !qApp) return;
  Tracking track;
  track.owner = hwnd;
  track.bar = bar->handle;
  t_track = &track;
  MenuInput input;
  qApp->installEventFilter(&input);
  if (Menu* m = FindMenu(track.bar); m && m->hot >= 0) {
    const int hot = m->hot;
    m->hot = -1;
    RedrawBarItem(hwnd, hot, ODA_SELECT);
  }
  SendMessageA(hwnd, WM_ENTERMENULOOP, FALSE, 0);
  SendMessageA(hwnd, WM_INITMENU, track.bar.value, 0);
  // From the keyboard an access key chooses its item: a command runs at once.
  if (t_track && IsWindow(hwnd)) SelectBar(index, open && !selectFirst, false);
  if (t_track && IsWindow(hwnd) && open && selectFirst) ChooseBar(index, true);
  if (t_track) RunMenuLoop(track);
  qApp->removeEventFilter(&input);
  EndTracking(track, false);
}

int TrackedBarItem(HWND hwnd) {
  return t_track && t_track->bar && t_track->owner == hwnd ? t_track->barItem : -1;
}

}  // namespace detail

using namespace detail;

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  if (t_track || !FindMenu(menu) || FindMenu(menu)->bar || !IsWindow(owner) || !qApp) return FALSE;
  Tracking track;
  track.owner = owner;
  track.flags = flags;
  t_track = &track;
  MenuInput input;
  qApp->installEventFilter(&input);
  if (!(flags & TPM_NONOTIFY)) {
    SendMessageA(owner, WM_ENTERMENULOOP, TRUE, 0);
    SendMessageA(owner, WM_INITMENU, menu.value, 0);
  }
  if (OpenLevel(menu, x, y, flags, nullptr, 0)) RunMenuLoop(track);
  qApp->removeEventFilter(&input);
  const UINT command = EndTracking(track, true);
  return (flags & TPM_RETURNCMD) ? static_cast<BOOL>(command) : TRUE;
}

BOOL EndMenu() {
  if (!t_track) return FALSE;
  Finish(0);
  return TRUE;
}

}  // namespace win

// Popup menus on screen: the "#32768" windows, how they lay out, paint and
// answer their messages.

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "core/layer_calls.h"
#include "core/window_table.h"
#include "gdi/layer_calls.h"
#include "menu/menu_paint.h"
#include "menu/menu_tracking.h"
#include "win/gdi.h"
#include "win/qt_window.h"

namespace win::detail::tracking {

namespace {

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

}  // namespace

void RedrawItem(Level& l, int index) {
  Menu* m = FindMenu(l.menu);
  if (!m || index < 0) return;
  HDC dc = GetDC(l.window);
  if (!dc) return;
  DrawMenuItem(*m, static_cast<std::size_t>(index), dc, t_track->owner, index == l.selected,
               ODA_SELECT);
  ReleaseDC(l.window, dc);
}

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

}  // namespace win::detail::tracking

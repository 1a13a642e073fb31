// What a window does with a message that its procedures pass on.

#include <QWidget>
#include <cstring>

#include "core/window_table.h"
#include "menu/menu_bar.h"
#include "win/gdi.h"

namespace win {

namespace detail {
void CaptionMoveLoop(HWND hwnd);
}

using namespace detail;

namespace {

LRESULT EraseBackground(Window& w, HDC dc) {
  if (!w.cls->background || !w.widget) return 0;
  const QRect client = ClientArea(w);
  RECT r{0, 0, client.width(), client.height()};
  FillRect(dc, &r, w.cls->background);
  return 1;
}

}  // namespace

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  if (w->kind == WidgetKind::Attached) {
    // A Qt control does its own default handling of the event behind it.
    PassEventToQt();
    if (msg == WM_GETTEXT || msg == WM_GETTEXTLENGTH || msg == WM_SETTEXT) {
    } else {
      return 0;
    }
  }
  switch (msg) {
    case WM_NCCREATE:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return EraseBackground(*w, HDC(static_cast<std::uintptr_t>(wParam)));
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      w->text = text ? text : "";
      if (w->widget && w->widget->isWindow())
        w->widget->setWindowTitle(QString::fromUtf8(w->text.c_str()));
      return TRUE;
    }
    case WM_GETTEXT: {
      char* buffer = reinterpret_cast<char*>(lParam);
      if (!buffer || wParam == 0) return 0;
      const std::size_t n = std::min<std::size_t>(w->text.size(), wParam - 1);
      std::memcpy(buffer, w->text.data(), n);
      buffer[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_TIMER:
      if (lParam) reinterpret_cast<TIMERPROC>(lParam)(hwnd, WM_TIMER, wParam, 0);
      return 0;
    case WM_NCCALCSIZE: {
      // A top-level window's bar takes the top of the window.
      if (!lParam || (w->style & WS_CHILD)) return 0;
      const int bar = MenuBarHeight(hwnd);
      RECT* r = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                       : reinterpret_cast<RECT*>(lParam);
      r->top = std::min(r->top + bar, r->bottom);
      return 0;
    }
    case WM_NCPAINT:
      if (BarOf(hwnd) && w->nonClient.top() > 0) {
        if (HDC dc = GetWindowDC(hwnd)) {
          PaintMenuBar(hwnd, dc);
          ReleaseDC(hwnd, dc);
        }
      }
      return 0;
    case WM_NCHITTEST:
      if (BarOf(hwnd) && BarItemAt(hwnd, QPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) != -2)
        return HTMENU;
      return HTCLIENT;
    case WM_NCMOUSEMOVE:
      MenuBarHover(hwnd,
                   static_cast<LRESULT>(wParam) == HTMENU
                       ? std::optional<QPoint>(QPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
                       : std::nullopt);
      return 0;
    case WM_NCLBUTTONDOWN:
      if (static_cast<LRESULT>(wParam) == HTCAPTION) CaptionMoveLoop(hwnd);
      if (static_cast<LRESULT>(wParam) == HTMENU) {
        const int item = BarItemAt(hwnd, QPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        if (item >= 0) TrackMenuBar(hwnd, item, true, false);
      }
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE:
          SendMessageA(hwnd, WM_CLOSE, 0, 0);
          break;
        case SC_MINIMIZE:
          ShowWindow(hwnd, SW_MINIMIZE);
          break;
        case SC_MAXIMIZE:
          ShowWindow(hwnd, SW_MAXIMIZE);
          break;
        case SC_RESTORE:
          ShowWindow(hwnd, SW_RESTORE);
          break;
        case SC_MOVE:
          CaptionMoveLoop(hwnd);
          break;
        case SC_SIZE:
          break;
        default:
          break;
      }
      return 0;
    case WM_MOUSEACTIVATE:
      return 1;  // activate
    case WM_NCACTIVATE:
      return TRUE;
    case WM_PRINT: {
      // Windows without a frame of their own: the background, then the client.
      constexpr LPARAM kErase = 0x8, kClient = 0x4;
      if (lParam & kErase) SendMessageA(hwnd, WM_ERASEBKGND, wParam, 0);
      if ((lParam & kClient) && Find(hwnd)) SendMessageA(hwnd, WM_PRINTCLIENT, wParam, lParam);
      return 0;
    }
    default:
      return 0;
  }
}

}  // namespace win

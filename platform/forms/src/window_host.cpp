#include "forms/window_host.h"

#include <QApplication>
#include <QPoint>
#include <QWidget>
#include <unordered_map>

#include "win/gdi.h"
#include "win/qt_window.h"
#include "win/window.h"

namespace forms {

namespace {

constexpr const char* kClassName = "TavrinelWindow";

std::unordered_map<win::HWND, WindowHost*>& hosts() {
  static std::unordered_map<win::HWND, WindowHost*> h;
  return h;
}

// Created windows learn of their host through this while CreateWindowExA runs.
WindowHost* g_creating = nullptr;

void RegisterClassOnce(win::WNDPROC proc) {
  static bool done = false;
  if (done) return;
  win::WNDCLASSEXA wc;
  wc.style = win::CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.lpszClassName = kClassName;
  win::RegisterClassExA(&wc);
  done = true;
}

int ShiftOf(win::WPARAM wp) {
  int s = 0;
  if (wp & win::MK_SHIFT) s |= 1;
  if (wp & win::MK_CONTROL) s |= 2;
  if (win::GetKeyState(win::VK_MENU) < 0) s |= 4;
  return s;
}

int ButtonsOf(win::WPARAM wp) {
  int b = 0;
  if (wp & win::MK_LBUTTON) b |= 1;
  if (wp & win::MK_RBUTTON) b |= 2;
  if (wp & win::MK_MBUTTON) b |= 4;
  return b;
}

int KeyShift() {
  int s = 0;
  if (win::GetKeyState(win::VK_SHIFT) < 0) s |= 1;
  if (win::GetKeyState(win::VK_CONTROL) < 0) s |= 2;
  if (win::GetKeyState(win::VK_MENU) < 0) s |= 4;
  return s;
}

QPoint PointOf(win::LPARAM lp) {
  return QPoint(win::GET_X_LPARAM(lp), win::GET_Y_LPARAM(lp));
}

}  // namespace

WindowHost::~WindowHost() {
  DestroyHostWindow();
}

void WindowHost::OnMouseDown(int /*button*/, int /*shift*/, QPoint /*px*/) {}
void WindowHost::OnMouseMove(int /*button*/, int /*shift*/, QPoint /*px*/) {}
void WindowHost::OnMouseUp(int /*button*/, int /*shift*/, QPoint /*px*/) {}

void WindowHost::CreateHostWindow(win::DWORD style, win::DWORD exStyle, win::HWND parent, int x,
                                  int y, int width, int height, const char* caption) {
  RegisterClassOnce(&WindowHost::Procedure);
  g_creating = this;
  hwnd_ = win::CreateWindowExA(exStyle, kClassName, caption, style, x, y, width, height, parent,
                               win::HMENU(), win::HINSTANCE(), nullptr);
  g_creating = nullptr;
}

void WindowHost::DestroyHostWindow() {
  if (!hwnd_) return;
  const win::HWND h = hwnd_;
  hwnd_ = win::HWND();
  hosts().erase(h);
  win::DestroyWindow(h);
}

QWidget* WindowHost::HostWidget() const {
  return win::WindowWidget(hwnd_);
}

win::LRESULT WindowHost::Procedure(win::HWND hwnd, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
  auto& map = hosts();
  auto it = map.find(hwnd);
  if (it == map.end()) {
    if (msg == win::WM_NCCREATE && g_creating) {
      map[hwnd] = g_creating;
      return win::DefWindowProcA(hwnd, msg, wp, lp);
    }
    return win::DefWindowProcA(hwnd, msg, wp, lp);
  }
  return it->second->OnMessage(msg, wp, lp);
}

win::LRESULT WindowHost::OnMessage(win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
  using namespace win;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const int button = msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4;
      pressed_ |= button;
      afterDouble_ = false;
      OnMouseDown(button, ShiftOf(wp), PointOf(lp));
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const int button = msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : 4;
      const bool wasPressed = pressed_ & button;
      pressed_ &= ~button;
      const QPoint p = PointOf(lp);
      OnMouseUp(button, ShiftOf(wp), p);
      // A click needs the press and the release on this window, left button.
      if (button == 1 && wasPressed && !afterDouble_) {
        RECT r;
        if (hwnd_ && GetClientRect(hwnd_, &r) && p.x() >= 0 && p.y() >= 0 && p.x() < r.right &&
            p.y() < r.bottom)
          OnClick();
      }
      if (button == 1) afterDouble_ = false;
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      pressed_ |= 1;
      afterDouble_ = true;
      OnDblClick();
      return 0;
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      const int button = msg == WM_RBUTTONDBLCLK ? 2 : 4;
      pressed_ |= button;
      OnMouseDown(button, ShiftOf(wp), PointOf(lp));
      return 0;
    }
    case WM_MOUSEMOVE:
      OnMouseMove(ButtonsOf(wp), ShiftOf(wp), PointOf(lp));
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(static_cast<int>(wp), KeyShift());
      return 0;
    case WM_CHAR:
      OnKeyPress(static_cast<int>(wp));
      return 0;
    case WM_KEYUP:
      OnKeyUp(static_cast<int>(wp), KeyShift());
      return 0;
    case WM_NCDESTROY:
      hosts().erase(hwnd_);
      return DefWindowProcA(hwnd_, msg, wp, lp);
    default:
      return DefWindowProcA(hwnd_, msg, wp, lp);
  }
}

}  // namespace forms

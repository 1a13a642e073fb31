#pragma once

// The window system's own record of every window, and the table that maps
// handles to records. Only the window system's sources include this.

#include <QMargins>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/ascii_case.h"
#include "win/window.h"

namespace win::detail {

struct PixelBuffer;

struct WindowClass {
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  HBRUSH background;
  HCURSOR cursor;
  HICON icon;
  int wndExtra = 0;
};

// How a window's widget came about: created by the layer for a registered
// class, or an existing Qt control that the layer only attached to.
enum class WidgetKind { Host, Attached };

struct Window {
  HWND handle;
  std::shared_ptr<WindowClass> cls;
  WidgetKind kind = WidgetKind::Host;
  std::string text;
  DWORD style = 0;
  DWORD exStyle = 0;
  WNDPROC proc = nullptr;
  HWND parent;  // child windows only
  HWND owner;   // top-level windows only
  LONG_PTR userData = 0;
  LONG_PTR id = 0;
  HMENU menu;
  std::vector<LONG_PTR> extra;
  std::map<std::string, std::uintptr_t, base::LessIgnoreAsciiCase> props;
  QPointer<QWidget> widget;
  // The client pixels as shown: drawing through window DCs lands here and
  // stays until it is drawn over, so a plain expose needs no repaint.
  std::shared_ptr<PixelBuffer> surface;
  QRegion invalid;  // waits for WM_PAINT, in client coordinates
  bool eraseNeeded = false;
  // The part of the widget the layer draws itself (a menu bar), as the
  // window's WM_NCCALCSIZE left it. The client area is the rest.
  QMargins nonClient;
  bool nonClientDirty = false;  // waits for WM_NCPAINT
  HRGN region;                  // the window region it owns, if any
  bool destroying = false;
  bool maximized = false;
  bool minimized = false;
};

Window* Find(HWND hwnd);
// The client area in the coordinates of the window's widget.
QRect ClientArea(const Window& w);
// Where the window's frame starts, seen from its widget: a top-level window's
// decoration lies above and left of the widget. Window DCs and bar item
// rectangles count from there, as GetWindowRect does.
QPoint FrameOffset(const Window& w);
// Takes the non-client margins a WM_NCCALCSIZE answered: children keep their
// place in the client area, which is repainted and reported in WM_SIZE.
void SetNonClient(Window& w, const QMargins& margins);
Window& Add(std::unique_ptr<Window> window);
void Remove(HWND hwnd);
HWND NewWindowHandle();
// Every live window in creation order.
std::vector<HWND> AllWindows();
// The window whose widget is `w` or the nearest ancestor widget that has one.
HWND FromWidget(const QWidget* w);

std::shared_ptr<WindowClass> FindClass(const std::string& name);

// Delivers a message through the hooks and the window's procedure chain.
LRESULT Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Called by DefWindowProc on an attached Qt control: the event that made the
// message should go on to the control itself.
void PassEventToQt();

// Keeps the surface the size of the widget, keeping what it shows.
void SyncSurface(Window& w);
// Sends WM_NCPAINT when the non-client part waits for it, then
// WM_ERASEBKGND/WM_PAINT for what is invalid. Returns true if it painted.
bool PaintInvalid(Window& w);
// Sends a message to every top-level window (system-wide changes).
void SendToTopLevels(UINT msg, WPARAM wParam, LPARAM lParam);
// From the first window on, changes of the desktop's colours and fonts reach
// the top-level windows as WM_SYSCOLORCHANGE and WM_SETTINGCHANGE.
void WatchSystemChanges();
// Attaches an existing Qt control as a window of the given class name.
HWND AttachWidget(QWidget* widget, const char* className, HWND parent);

// Activates a top-level window. The active window is this one from now
// until the display next reports a change of the focus window.
void RequestActivation(QWidget* top);

}  // namespace win::detail

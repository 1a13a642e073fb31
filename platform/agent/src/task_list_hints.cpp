#include "task_list_hints.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace agent {

namespace {

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};

xcb_connection_t* Connection() {
  // Other platforms may answer for X too (the offscreen one does, with no
  // connection at all): only a window of the X platform has these hints.
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

}  // namespace

bool TaskListHints::LookUp() {
  if (lookedUp_) return state_ != XCB_ATOM_NONE;
  xcb_connection_t* c = Connection();
  if (!c) return false;
  lookedUp_ = true;
  // All three asked at once: one wait for the display, not three.
  static constexpr std::array<const char*, 3> kNames = {
      "_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"};
  std::array<xcb_intern_atom_cookie_t, 3> cookies{};
  for (std::size_t i = 0; i < kNames.size(); ++i)
    cookies[i] =
        xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(kNames[i])), kNames[i]);
  std::array<xcb_atom_t, 3> atoms{};
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    const std::unique_ptr<xcb_intern_atom_reply_t, FreeReply> reply(
        xcb_intern_atom_reply(c, cookies[i], nullptr));
    atoms[i] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  }
  if (atoms[1] == XCB_ATOM_NONE || atoms[2] == XCB_ATOM_NONE) return false;
  state_ = atoms[0];
  skip_[0] = atoms[1];
  skip_[1] = atoms[2];
  return state_ != XCB_ATOM_NONE;
}

void TaskListHints::Apply(QWidget& window) {
  if (!window.isWindow() || !LookUp()) return;
  xcb_connection_t* c = Connection();
  if (!c) return;
  // The window is not mapped, so its state is only what it asks for: the
  // toolkit reads it back as it maps the window and adds its own states
  // (on top) to it. Written whole, the list is the same at every showing,
  // also where no window manager clears it between showings.
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()), state_,
                      XCB_ATOM_ATOM, 32, 2, skip_);
  xcb_flush(c);
}

}  // namespace agent

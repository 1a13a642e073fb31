#include "task_list_hints.h"

#include <xcb/xcb.h>

#include <QWidget>
#include <array>
#include <cstring>

#include "x_connection.h"

namespace agent {

bool TaskListHints::LookUp() {
  if (lookedUp_) return state_ != XCB_ATOM_NONE;
  xcb_connection_t* c = XConnection();
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
    const XReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookies[i], nullptr));
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
  xcb_connection_t* c = XConnection();
  if (!c) return;
  // The window is not mapped, so its state is only what it asks for: the
  // toolkit reads it back as it maps the window and adds its own states
  // (on top) to it. Written whole, the list is the same at every showing,
  // also where no window manager clears it between showings.
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()), state_,
                      XCB_ATOM_ATOM, 32, 2, skip_);
  xcb_flush(c);
}

void TaskListHints::Confirm(QWidget& window) {
  if (!window.isWindow() || !window.isVisible() || !LookUp()) return;
  xcb_connection_t* c = XConnection();
  if (!c) return;
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = static_cast<xcb_window_t>(window.winId());
  message.type = state_;
  message.data.data32[0] = 1;  // add
  message.data.data32[1] = skip_[0];
  message.data.data32[2] = skip_[1];
  message.data.data32[3] = 1;  // from an application
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  xcb_send_event(c, 0, root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(c);
}

}  // namespace agent

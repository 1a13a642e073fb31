#include "task_list_hints.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace agent {

namespace {

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

}  // namespace

void LeaveOutOfTaskList(QWidget& window) {
  // Other platforms may answer for X too (the offscreen one does, with no
  // connection at all): only a window of the X platform has these hints.
  if (QGuiApplication::platformName() != QLatin1String("xcb") || !window.isWindow()) return;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* c = x11 ? x11->connection() : nullptr;
  if (!c) return;
  const auto id = static_cast<xcb_window_t>(window.winId());
  const xcb_atom_t state = Atom(c, "_NET_WM_STATE");
  if (state == XCB_ATOM_NONE) return;
  // The toolkit merges its own hints into what the window holds as it maps
  // it. Without a window manager nobody clears the list between showings:
  // add only what is missing, or it grows with every showing.
  std::vector<xcb_atom_t> atoms;
  const Reply<xcb_get_property_reply_t> held(xcb_get_property_reply(
      c, xcb_get_property(c, 0, id, state, XCB_ATOM_ATOM, 0, 1024), nullptr));
  if (held && held->format == 32 && held->type == XCB_ATOM_ATOM) {
    const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(held.get()));
    atoms.assign(data, data + xcb_get_property_value_length(held.get()) / 4);
  }
  const auto size = atoms.size();
  for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
    const xcb_atom_t skip = Atom(c, name);
    if (skip != XCB_ATOM_NONE && std::ranges::find(atoms, skip) == atoms.end())
      atoms.push_back(skip);
  }
  if (atoms.size() == size) return;
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                      static_cast<std::uint32_t>(atoms.size()), atoms.data());
  xcb_flush(c);
}

}  // namespace agent

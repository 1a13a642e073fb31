#include "private_display.h"

#include <poll.h>

#include <cstdlib>
#include <thread>

namespace startbench {

namespace {

// Connects to `display`, retrying while the server comes up.
xcb_connection_t* Connect(const std::string& display, std::chrono::milliseconds patience) {
  const auto until = std::chrono::steady_clock::now() + patience;
  do {
    xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
    if (!xcb_connection_has_error(c)) return c;
    xcb_disconnect(c);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < until);
  return nullptr;
}

}  // namespace

PrivateDisplay::PrivateDisplay(int number, bool windowManager) : number_(number) {
  server_ = std::make_unique<ChildProcess>(
      "/usr/bin/Xvfb",
      std::vector<std::string>{name(), "-screen", "0", "1280x800x24", "-nolisten", "tcp"},
      CurrentEnvironment());
  xcb_connection_t* c = Connect(name(), std::chrono::seconds(10));
  ok_ = c != nullptr && server_->Running();
  if (c) xcb_disconnect(c);
  if (ok_ && windowManager) {
    Environment env = CurrentEnvironment();
    env["DISPLAY"] = name();
    windowManager_ =
        std::make_unique<ChildProcess>("/usr/bin/openbox", std::vector<std::string>{}, env);
    // Let it take over the root window before any program maps a window.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
}

MapWatcher::MapWatcher(const std::string& display) {
  connection_ = Connect(display, std::chrono::seconds(2));
  if (!connection_) return;
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(connection_, screen->root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(connection_);
}

MapWatcher::~MapWatcher() {
  if (connection_) xcb_disconnect(connection_);
}

void MapWatcher::Drain() {
  free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  while (xcb_generic_event_t* e = xcb_poll_for_event(connection_)) free(e);
}

bool MapWatcher::WaitForMap(std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    while (xcb_generic_event_t* e = xcb_poll_for_event(connection_)) {
      const bool mapped = (e->response_type & 0x7f) == XCB_MAP_NOTIFY;
      free(e);
      if (mapped) return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || xcb_connection_has_error(connection_)) return false;
    pollfd p{xcb_get_file_descriptor(connection_), POLLIN, 0};
    poll(&p, 1, static_cast<int>(left.count()));
  }
}

}  // namespace startbench

#include "forms/clipboard_reader.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QObject>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <stop_token>
#include <thread>

#include "forms/app.h"

namespace forms {

namespace {

// An owner slower than this counts as not answering; the next poll asks again.
constexpr auto kPatience = std::chrono::seconds(5);

struct FreeReply {
  void operator()(void* p) const { std::free(p); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeReply>;

struct Disconnect {
  void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The next event `wanted` accepts, or null once the deadline passes, the read
// is stopped or the connection fails.
template <class Wanted>
Reply<xcb_generic_event_t> WaitFor(xcb_connection_t* c, Wanted wanted,
                                   std::chrono::steady_clock::time_point deadline,
                                   const std::stop_token& stop) {
  while (!stop.stop_requested() && !xcb_connection_has_error(c)) {
    while (Reply<xcb_generic_event_t> e{xcb_poll_for_event(c)})
      if (wanted(e.get())) return e;
    if (std::chrono::steady_clock::now() >= deadline) break;
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    ::poll(&fd, 1, 50);
  }
  return nullptr;
}

int TypeOf(const xcb_generic_event_t* e) {
  return e->response_type & ~0x80;
}

// The whole value of `property` on `window`, taken off it; large values come
// in pieces (the INCR protocol), each announced by a new value.
bool TakeProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t incr,
                  std::chrono::steady_clock::time_point deadline, const std::stop_token& stop,
                  std::string& out) {
  auto take = [&](xcb_atom_t& type) {
    const Reply<xcb_get_property_reply_t> r(xcb_get_property_reply(
        c, xcb_get_property(c, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0x1FFFFFFF),
        nullptr));
    if (!r) return -1;
    type = r->type;
    const int length = xcb_get_property_value_length(r.get());
    if (type != incr)
      out.append(static_cast<const char*>(xcb_get_property_value(r.get())),
                 static_cast<std::size_t>(length));
    return length;
  };
  xcb_atom_t type = XCB_ATOM_NONE;
  if (take(type) < 0) return false;
  if (type != incr) return true;
  xcb_flush(c);  // deleting the INCR value asks for the first piece
  for (;;) {
    auto piece = WaitFor(
        c,
        [&](const xcb_generic_event_t* e) {
          if (TypeOf(e) != XCB_PROPERTY_NOTIFY) return false;
          const auto* p = reinterpret_cast<const xcb_property_notify_event_t*>(e);
          return p->window == window && p->atom == property && p->state == XCB_PROPERTY_NEW_VALUE;
        },
        deadline, stop);
    if (!piece) return false;
    const int length = take(type);
    xcb_flush(c);
    if (length < 0) return false;
    if (length == 0) return true;
  }
}

// The clipboard's text as UTF-8, asked of its owner over a connection of our own.
std::string ReadOverX(const std::stop_token& stop) {
  const Connection owned(xcb_connect(nullptr, nullptr));
  xcb_connection_t* c = owned.get();
  if (xcb_connection_has_error(c)) return {};
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  if (!screen) return {};
  const xcb_window_t window = xcb_generate_id(c);
  const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, XCB_CW_EVENT_MASK, &events);
  const xcb_atom_t clipboard = Atom(c, "CLIPBOARD");
  const xcb_atom_t property = Atom(c, "TAVRINEL_CLIPBOARD_TEXT");
  const xcb_atom_t incr = Atom(c, "INCR");
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  const xcb_atom_t utf8 = Atom(c, "UTF8_STRING");
  for (const xcb_atom_t target : {utf8, xcb_atom_t{XCB_ATOM_STRING}}) {
    xcb_convert_selection(c, window, clipboard, target, property, XCB_CURRENT_TIME);
    xcb_flush(c);
    const auto answer = WaitFor(
        c,
        [&](const xcb_generic_event_t* e) {
          return TypeOf(e) == XCB_SELECTION_NOTIFY &&
                 reinterpret_cast<const xcb_selection_notify_event_t*>(e)->requestor == window;
        },
        deadline, stop);
    if (!answer) return {};  // no answer in time: no text this time
    if (reinterpret_cast<const xcb_selection_notify_event_t*>(answer.get())->property ==
        XCB_ATOM_NONE)
      continue;  // not in this form; an owner with no text refuses both
    std::string text;
    if (!TakeProperty(c, window, property, incr, deadline, stop, text)) return {};
    if (target == utf8) return text;
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())).toStdString();
  }
  return {};
}

}  // namespace

struct ClipboardReader::State {
  std::function<void(const std::string&)> arrived;
  bool busy = false;
  // Lives on the asking thread; an answer that comes after it has gone is
  // dropped with it.
  QObject receiver;
  // Declared last, so that it stops and ends before anything it uses.
  std::jthread worker;
};

ClipboardReader::ClipboardReader(std::function<void(const std::string&)> arrived)
    : state_(std::make_unique<State>()) {
  state_->arrived = std::move(arrived);
}

ClipboardReader::~ClipboardReader() = default;

bool ClipboardReader::Busy() const {
  return state_->busy;
}

void ClipboardReader::Request() {
  if (state_->busy) return;
  auto* clipboard = QGuiApplication::clipboard();
  if (QGuiApplication::platformName() != "xcb" || clipboard->ownsClipboard()) {
    state_->arrived(Clipboard::GetText());
    return;
  }
  state_->busy = true;
  State* state = state_.get();
  state_->worker = std::jthread([state](std::stop_token stop) {
    std::string text = ReadOverX(stop);
    if (stop.stop_requested()) return;
    QMetaObject::invokeMethod(
        &state->receiver,
        [state, text = std::move(text)] {
          state->busy = false;
          state->arrived(text);
        },
        Qt::QueuedConnection);
  });
}

}  // namespace forms

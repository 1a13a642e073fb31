#pragma once

// The character's windows talk to the X display directly for what the
// toolkit does not offer.

#include <cstdlib>
#include <memory>

struct xcb_connection_t;

namespace agent {

// The application's connection to the X display; null on any other
// platform (the offscreen one answers for X too, with no connection).
xcb_connection_t* XConnection();

struct FreeXReply {
  void operator()(void* reply) const { std::free(reply); }
};
// An answer of the display, which the caller frees.
template <class T>
using XReply = std::unique_ptr<T, FreeXReply>;

}  // namespace agent

#pragma once

#include <thread>

namespace forms::detail {

// Set-ups that every program's first window waits for on its main thread,
// started on threads of their own while the main thread opens the display
// and builds the first form. Both libraries guard their one-time set-up, so
// that the main thread, when it comes to it, finds it done, or does it
// itself (the fonts) or waits only for the rest (the bus); nothing of Qt
// that is not thread-safe is touched here.

// The font configuration: read from many small files and caches when the
// first text is measured.
class FontConfigWarmUp {
 public:
  FontConfigWarmUp();

 private:
  std::jthread thread_;
};

// The session bus, which the accessibility bridge connects to when the first
// widget of a text, list or combo box, a button or a frame is made; where no
// bus runs, the library first tries to start one, and the main thread would
// wait for that. Made by the program's first form, when it holds such a
// control, as it is made, and ended with it; only on a real display, where
// the bridge is made. A first form without such controls does not make it:
// the bridge then connects only once the first window is up, and a
// connection begun earlier would only compete with the window for the
// processor.
class SessionBusWarmUp {
 public:
  SessionBusWarmUp();

 private:
  std::jthread thread_;
};

}  // namespace forms::detail

#pragma once

#include <functional>
#include <memory>
#include <string>

namespace forms {

// Reads the clipboard's text without waiting on the program that owns it: on
// an X display a frozen owner that never answers would otherwise hold the
// calling thread for many seconds at every read. The read runs on a thread of
// its own with its own connection; its text comes back on the thread that
// asked, through the event loop. Elsewhere (and while this program owns the
// clipboard) nobody can keep it waiting, and the text comes back at once.
class ClipboardReader {
 public:
  // `arrived` gets the clipboard's text, "" when it holds none or its owner
  // did not answer in time.
  explicit ClipboardReader(std::function<void(const std::string&)> arrived);
  ~ClipboardReader();
  ClipboardReader(const ClipboardReader&) = delete;
  ClipboardReader& operator=(const ClipboardReader&) = delete;

  // Starts a read unless one is still under way.
  void Request();
  bool Busy() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace forms

#pragma once

// A private X server for the benchmark (Xvfb, optionally with openbox as its
// window manager), and a watcher that sees top-level windows being mapped on
// it: a program's first window is the first one mapped after its start.

#include <xcb/xcb.h>

#include <chrono>
#include <memory>
#include <string>

#include "child_process.h"

namespace startbench {

class PrivateDisplay {
 public:
  // Starts Xvfb on display `number`; ok() says whether it answers.
  PrivateDisplay(int number, bool windowManager);
  PrivateDisplay(const PrivateDisplay&) = delete;
  PrivateDisplay& operator=(const PrivateDisplay&) = delete;

  bool ok() const { return ok_; }
  std::string name() const { return ":" + std::to_string(number_); }
  pid_t serverPid() const { return server_->pid(); }

 private:
  int number_;
  std::unique_ptr<ChildProcess> server_;
  std::unique_ptr<ChildProcess> windowManager_;
  bool ok_ = false;
};

class MapWatcher {
 public:
  explicit MapWatcher(const std::string& display);
  ~MapWatcher();
  MapWatcher(const MapWatcher&) = delete;
  MapWatcher& operator=(const MapWatcher&) = delete;

  bool ok() const { return connection_ != nullptr; }
  // Forgets the maps seen so far.
  void Drain();
  // Waits for the next top-level map until `deadline`; false when none came.
  bool WaitForMap(std::chrono::steady_clock::time_point deadline);

 private:
  xcb_connection_t* connection_ = nullptr;
};

}  // namespace startbench

#pragma once

#include <QMetaObject>
#include <QObject>
#include <functional>
#include <mutex>

namespace agent {

// Carries calls from the speech thread to an object on the GUI thread. Once
// closed (on the GUI thread, before the receiver goes), posts are dropped;
// calls already posted are dropped by Qt with their receiver.
class GuiMailbox {
 public:
  explicit GuiMailbox(QObject* receiver) : receiver_(receiver) {}

  void Post(std::function<void()> call) {
    std::lock_guard lock(mutex_);
    if (receiver_) QMetaObject::invokeMethod(receiver_, std::move(call), Qt::QueuedConnection);
  }
  void Close() {
    std::lock_guard lock(mutex_);
    receiver_ = nullptr;
  }

 private:
  std::mutex mutex_;
  QObject* receiver_;
};

}  // namespace agent

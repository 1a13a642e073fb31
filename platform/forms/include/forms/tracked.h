#pragma once

#include <memory>

class QObject;

namespace forms {

// A pointer to a Qt object that reads null once the object is gone. A
// control's widget belongs to its container's widget, and a shortcut to its
// window, either of which may delete it before the control goes. It keeps
// Qt's own guard out of the headers that every program includes.
class TrackedObject {
 public:
  TrackedObject();
  ~TrackedObject();
  TrackedObject(const TrackedObject&) = delete;
  TrackedObject& operator=(const TrackedObject&) = delete;

  void Reset(QObject* object);
  QObject* Get() const;

 private:
  struct Guard;
  std::unique_ptr<Guard> guard_;
};

// The same, typed. Its members are used only where T is a complete Qt class.
template <class T>
class Tracked {
 public:
  Tracked& operator=(T* object) {
    ref_.Reset(object);
    return *this;
  }
  T* get() const { return static_cast<T*>(ref_.Get()); }
  T* operator->() const { return get(); }
  operator T*() const { return get(); }

 private:
  TrackedObject ref_;
};

}  // namespace forms

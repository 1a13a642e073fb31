#include "forms/tracked.h"

#include <QPointer>

namespace forms {

struct TrackedObject::Guard {
  QPointer<QObject> object;
};

TrackedObject::TrackedObject() : guard_(std::make_unique<Guard>()) {}
TrackedObject::~TrackedObject() = default;

void TrackedObject::Reset(QObject* object) {
  guard_->object = object;
}

QObject* TrackedObject::Get() const {
  return guard_->object.data();
}

}  // namespace forms

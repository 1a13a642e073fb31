#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "forms/value.h"

class QJsonObject;

namespace forms {

// The stored design-time properties of one control instance, as its host
// form keeps them. A value equal to its default is not stored.
class PropertyBag {
 public:
  Value ReadProperty(std::string_view name, const Value& defaultValue = {}) const;
  void WriteProperty(std::string_view name, const Value& value, const Value& defaultValue = {});
  bool Contains(std::string_view name) const;
  // Names in the order they were written.
  std::vector<std::string> Names() const;

  // The form description's form of a bag (pictures as embedded PNG data).
  QJsonObject ToJson() const;
  static PropertyBag FromJson(const QJsonObject& json);

  // The whole bag as one byte array, so that a bag can be stored as a value
  // of another bag; FromContents reads it back. Contents that are not a
  // bag's raise error 380 (invalid property value).
  ByteArray Contents() const;
  static PropertyBag FromContents(const ByteArray& contents);

 private:
  std::vector<std::pair<std::string, Value>> entries_;
};

}  // namespace forms

#include "forms/property_bag.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonObject>

#include "description.h"

namespace forms {

Value PropertyBag::ReadProperty(std::string_view name, const Value& defaultValue) const {
  for (const auto& [k, v] : entries_)
    if (k == name) return v;
  return defaultValue;
}

void PropertyBag::WriteProperty(std::string_view name, const Value& value,
                                const Value& defaultValue) {
  std::erase_if(entries_, [&](const auto& e) { return e.first == name; });
  // Only what differs from the default is kept, so defaults can change later.
  if (value == defaultValue) return;
  entries_.emplace_back(std::string(name), value);
}

bool PropertyBag::Contains(std::string_view name) const {
  for (const auto& e : entries_)
    if (e.first == name) return true;
  return false;
}

std::vector<std::string> PropertyBag::Names() const {
  std::vector<std::string> names;
  for (const auto& e : entries_) names.push_back(e.first);
  return names;
}

QJsonObject PropertyBag::ToJson() const {
  QJsonObject o;
  for (const auto& [k, v] : entries_) o.insert(QString::fromStdString(k), ValueToJson(v));
  return o;
}

PropertyBag PropertyBag::FromJson(const QJsonObject& json) {
  PropertyBag bag;
  for (auto it = json.begin(); it != json.end(); ++it)
    bag.entries_.emplace_back(it.key().toStdString(),
                              ValueFromJson(it.key().toStdString(), it.value()));
  return bag;
}

}  // namespace forms

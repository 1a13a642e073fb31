#include "forms/property_bag.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "description.h"
#include "forms/errors.h"

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

ByteArray PropertyBag::Contents() const {
  // An array of name-value pairs keeps the order in which they were written.
  QJsonArray pairs;
  for (const auto& [k, v] : entries_)
    pairs.append(QJsonArray{QString::fromStdString(k), ValueToJson(v)});
  const QByteArray bytes = QJsonDocument(pairs).toJson(QJsonDocument::Compact);
  return ByteArray(bytes.begin(), bytes.end());
}

PropertyBag PropertyBag::FromContents(const ByteArray& contents) {
  QJsonParseError error{};
  const QJsonDocument doc =
      QJsonDocument::fromJson(QByteArray(reinterpret_cast<const char*>(contents.data()),
                                         static_cast<qsizetype>(contents.size())),
                              &error);
  if (error.error != QJsonParseError::NoError || !doc.isArray())
    throw RuntimeError(err::InvalidPropertyValue,
                       "Invalid property value: not the contents of a property bag");
  PropertyBag bag;
  for (const QJsonValue& pair : doc.array()) {
    const QJsonArray p = pair.toArray();
    if (p.size() != 2 || !p[0].isString())
      throw RuntimeError(err::InvalidPropertyValue,
                         "Invalid property value: a damaged property bag entry");
    const std::string name = p[0].toString().toStdString();
    bag.entries_.emplace_back(name, ValueFromJson(name, p[1]));
  }
  return bag;
}

}  // namespace forms

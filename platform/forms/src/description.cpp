#include "description.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <map>
#include <optional>
#include <type_traits>

#include "forms/controls.h"
#include "forms/data_control.h"
#include "forms/errors.h"
#include "forms/menu.h"
#include "forms/property_bag.h"
#include "forms/qt_control.h"
#include "forms/user_control.h"

namespace forms {

namespace {

struct Maker {
  ControlMaker make;
  bool widget = false;  // carried by a Qt widget of its own
};

std::map<std::string, Maker, std::less<>>& makers() {
  static std::map<std::string, Maker, std::less<>> m;
  return m;
}

bool IsPictureProperty(const std::string& p) {
  return p == "Picture" || p == "Icon" || p == "MouseIcon" || p == "DownPicture" ||
         p == "DisabledPicture" || p.ends_with("Picture") || p == "Image";
}

int Priority(const std::string& name) {
  if (name == "ScaleMode" || name == "ScaleWidth" || name == "ScaleHeight") return 0;
  if (name == "Style" || name == "MultiLine" || name == "BorderStyle") return 1;
  if (name == "Left" || name == "Top" || name == "Width" || name == "Height") return 2;
  if (name == "Font" || name == "Stretch" || name == "Align") return 3;
  if (name == "AutoSize") return 9;
  return 5;
}

Font FontFromJson(const QJsonObject& o) {
  Font f;
  f.Name = o.value("Name").toString(QString::fromStdString(f.Name)).toStdString();
  f.Size = static_cast<float>(o.value("Size").toDouble(f.Size));
  f.Bold = o.value("Bold").toBool(false);
  f.Italic = o.value("Italic").toBool(false);
  f.Underline = o.value("Underline").toBool(false);
  f.Strikethrough = o.value("Strikethrough").toBool(false);
  f.Charset = o.value("Charset").toInt(0);
  f.StoredWeight = o.value("Weight").toInt(0);
  return f;
}

void AddBuiltins() {
  auto& m = makers();
  if (!m.empty()) return;
  auto add = [&](const char* name, auto tag) {
    using T = typename decltype(tag)::type;
    m.emplace(name, Maker{[](const ControlSite& s) -> std::unique_ptr<Control> {
                            return std::make_unique<T>(s);
                          },
                          std::is_base_of_v<QtControl, T>});
  };
  add("Label", std::type_identity<Label>());
  add("Image", std::type_identity<Image>());
  add("Shape", std::type_identity<Shape>());
  add("Timer", std::type_identity<FormTimer>());
  add("PictureBox", std::type_identity<PictureBox>());
  add("TextBox", std::type_identity<TextBox>());
  add("CommandButton", std::type_identity<CommandButton>());
  add("CheckBox", std::type_identity<CheckBox>());
  add("OptionButton", std::type_identity<OptionButton>());
  add("Frame", std::type_identity<Frame>());
  add("ListBox", std::type_identity<ListBox>());
  add("FileListBox", std::type_identity<FileListBox>());
  add("ComboBox", std::type_identity<ComboBox>());
  add("VScrollBar", std::type_identity<VScrollBar>());
  add("HScrollBar", std::type_identity<HScrollBar>());
  add("PictureClip", std::type_identity<PictureClip>());
  add("Data", std::type_identity<DataControl>());
  add("Menu", std::type_identity<Menu>());
}

}  // namespace

void RegisterControlType(std::string_view type, ControlMaker maker) {
  AddBuiltins();
  makers()[std::string(type)] = Maker{std::move(maker)};
}

bool ListsWidgetControls(const QJsonArray& controls) {
  AddBuiltins();
  for (const QJsonValue& entry : controls) {
    const QJsonObject o = entry.toObject();
    auto it = makers().find(o.value("Type").toString().toStdString());
    if (it != makers().end() && it->second.widget) return true;
    if (ListsWidgetControls(o.value("Controls").toArray())) return true;
  }
  return false;
}

QJsonObject LoadDescription(std::string_view resource) {
  QString path = QString::fromUtf8(resource.data(), static_cast<int>(resource.size()));
  if (!path.startsWith(":/") && !path.startsWith("/")) path = ":/" + path;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw RuntimeError(err::FileNotFound,
                       "Form description not found: '" + path.toStdString() + "'");
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
  if (doc.isNull() || !doc.isObject())
    throw RuntimeError(err::InvalidPropertyValue,
                       "Form description '" + path.toStdString() +
                           "' is damaged: " + error.errorString().toStdString());
  return doc.object();
}

namespace {

// The digits of a number written "&H1F&" (the trailing "&" optional) or
// "0x1F". Read by hand: a pattern engine would be compiled for it before the
// first window, for every program.
std::optional<QStringView> HexDigits(QStringView s) {
  if (s.startsWith(u"&H"))
    s = s.sliced(2);
  else if (s.startsWith(u"0x"))
    s = s.sliced(2);
  else
    return std::nullopt;
  if (s.endsWith(u'&')) s.chop(1);
  if (s.isEmpty()) return std::nullopt;
  for (const QChar c : s) {
    const char16_t u = c.unicode();
    if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F')))
      return std::nullopt;
  }
  return s;
}

}  // namespace

Value ValueFromJson(const std::string& property, const QJsonValue& json) {
  switch (json.type()) {
    case QJsonValue::Bool:
      return Value(json.toBool());
    case QJsonValue::Double: {
      const double d = json.toDouble();
      if (d == static_cast<double>(static_cast<std::int32_t>(d))) return Value(static_cast<int>(d));
      return Value(d);
    }
    case QJsonValue::String: {
      const QString s = json.toString();
      if (const auto digits = HexDigits(s))
        return Value(static_cast<double>(digits->toUInt(nullptr, 16)));
      if (IsPictureProperty(property)) {
        if (s.isEmpty()) return Value(Picture());
        return Value(LoadPicture(s.startsWith(":/") || s.startsWith("/") ? s.toStdString()
                                                                         : ":/" + s.toStdString()));
      }
      return Value(s.toStdString());
    }
    case QJsonValue::Object: {
      const QJsonObject o = json.toObject();
      if (o.contains("PictureData")) {
        QByteArray bytes = QByteArray::fromBase64(o.value("PictureData").toString().toLatin1());
        QBuffer device(&bytes);
        device.open(QIODevice::ReadOnly);
        QImage img = ReadPicture(device);
        return Value(Picture::FromFileImage(std::move(img), o.value("Type").toInt(1) == 3));
      }
      if (o.contains("Bytes")) {
        const QByteArray b = QByteArray::fromBase64(o.value("Bytes").toString().toLatin1());
        return Value(ByteArray(b.begin(), b.end()));
      }
      return Value(FontFromJson(o));
    }
    default:
      return Value();
  }
}

QJsonValue ValueToJson(const Value& v) {
  const auto& raw = v.Raw();
  if (auto* b = std::get_if<bool>(&raw)) return *b;
  if (auto* i = std::get_if<std::int32_t>(&raw)) return *i;
  if (auto* d = std::get_if<double>(&raw)) return *d;
  if (auto* s = std::get_if<std::string>(&raw)) return QString::fromStdString(*s);
  if (auto* p = std::get_if<Picture>(&raw)) {
    if (!*p) return QString();
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    p->Image().save(&buf, "PNG");
    QJsonObject o;
    o.insert("PictureData", QString::fromLatin1(png.toBase64()));
    o.insert("Type", static_cast<int>(p->Type()));
    return o;
  }
  if (auto* f = std::get_if<Font>(&raw)) {
    QJsonObject o;
    o.insert("Name", QString::fromStdString(f->Name));
    o.insert("Size", f->Size);
    o.insert("Bold", f->Bold);
    o.insert("Italic", f->Italic);
    o.insert("Underline", f->Underline);
    o.insert("Strikethrough", f->Strikethrough);
    o.insert("Charset", f->Charset);
    if (f->StoredWeight) o.insert("Weight", f->StoredWeight);
    return o;
  }
  if (auto* bytes = std::get_if<ByteArray>(&raw)) {
    QJsonObject o;
    o.insert("Bytes", QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(bytes->data()),
                                                     static_cast<qsizetype>(bytes->size()))
                                              .toBase64()));
    return o;
  }
  return QJsonValue();
}

std::vector<std::pair<std::string, Value>> PropertiesOf(const QJsonObject& object) {
  std::vector<std::pair<std::string, Value>> props;
  const QJsonObject p = object.value("Properties").toObject();
  for (auto it = p.begin(); it != p.end(); ++it) {
    const std::string name = it.key().toStdString();
    props.emplace_back(name, ValueFromJson(name, it.value()));
  }
  std::stable_sort(props.begin(), props.end(), [](const auto& a, const auto& b) {
    return Priority(a.first) < Priority(b.first);
  });
  return props;
}

void MakeControls(const QJsonArray& controls, Container& container, Form& form,
                  std::vector<std::unique_ptr<Control>>& out) {
  AddBuiltins();
  for (const QJsonValue& entry : controls) {
    const QJsonObject o = entry.toObject();
    ControlSite site;
    site.type = o.value("Type").toString().toStdString();
    site.name = o.value("Name").toString().toStdString();
    site.index = o.value("Index").toInt(-1);
    site.container = &container;
    site.form = &form;
    site.properties = PropertiesOf(o);
    if (o.contains("Bag"))
      site.bag = std::make_shared<PropertyBag>(PropertyBag::FromJson(o.value("Bag").toObject()));
    auto it = makers().find(site.type);
    if (it == makers().end())
      throw RuntimeError(err::InvalidPropertyValue,
                         "Unknown control type '" + site.type + "' for " + site.name);
    std::unique_ptr<Control> made = it->second.make(site);
    Control* c = made.get();
    container.AddChild(c);
    for (const auto& [name, value] : site.properties) c->SetProperty(name, value);
    out.push_back(std::move(made));
    if (o.contains("Controls")) {
      auto* inner = dynamic_cast<Container*>(c);
      if (!inner)
        throw RuntimeError(err::InvalidPropertyValue, site.name + " cannot hold controls");
      MakeControls(o.value("Controls").toArray(), *inner, form, out);
    }
  }
}

void DestroyControls(std::vector<std::unique_ptr<Control>>& controls) {
  while (!controls.empty()) controls.pop_back();
}

}  // namespace forms

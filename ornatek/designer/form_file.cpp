#include "form_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "base/atomic_file.h"
#include "forms/errors.h"

namespace formprops {

namespace {

constexpr std::size_t kBad = std::string_view::npos;

// A small reader of JSON text that only finds where values begin and end,
// so that everything it does not change stays byte for byte as it was.

std::size_t SkipSpace(std::string_view t, std::size_t p) {
  while (p < t.size() && (t[p] == ' ' || t[p] == '\t' || t[p] == '\n' || t[p] == '\r')) ++p;
  return p;
}

std::size_t SkipString(std::string_view t, std::size_t p) {
  if (p >= t.size() || t[p] != '"') return kBad;
  for (++p; p < t.size(); ++p) {
    if (t[p] == '\\')
      ++p;
    else if (t[p] == '"')
      return p + 1;
  }
  return kBad;
}

std::size_t SkipValue(std::string_view t, std::size_t p);

std::size_t SkipContainer(std::string_view t, std::size_t p, char close, bool members) {
  p = SkipSpace(t, p + 1);
  if (p < t.size() && t[p] == close) return p + 1;
  while (p < t.size()) {
    if (members) {
      p = SkipString(t, p);
      if (p == kBad) return kBad;
      p = SkipSpace(t, p);
      if (p >= t.size() || t[p] != ':') return kBad;
      p = SkipSpace(t, p + 1);
    }
    p = SkipValue(t, p);
    if (p == kBad) return kBad;
    p = SkipSpace(t, p);
    if (p < t.size() && t[p] == close) return p + 1;
    if (p >= t.size() || t[p] != ',') return kBad;
    p = SkipSpace(t, p + 1);
  }
  return kBad;
}

std::size_t SkipValue(std::string_view t, std::size_t p) {
  if (p >= t.size()) return kBad;
  switch (t[p]) {
    case '"':
      return SkipString(t, p);
    case '{':
      return SkipContainer(t, p, '}', true);
    case '[':
      return SkipContainer(t, p, ']', false);
    default: {
      const std::size_t start = p;
      while (p < t.size() && std::strchr(",]} \t\r\n", t[p]) == nullptr) ++p;
      return p > start ? p : kBad;
    }
  }
}

// The text of a string value (the escapes of plain names only).
std::string Unquote(std::string_view quoted) {
  std::string out;
  for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
    if (quoted[i] == '\\' && i + 2 < quoted.size()) ++i;
    out += quoted[i];
  }
  return out;
}

struct Member {
  std::string key;
  std::size_t begin, end;
};

// The members of the well-formed object at `p`.
std::vector<Member> Members(std::string_view t, std::size_t p) {
  std::vector<Member> out;
  p = SkipSpace(t, p + 1);
  while (p < t.size() && t[p] == '"') {
    const std::size_t keyEnd = SkipString(t, p);
    Member m{Unquote(t.substr(p, keyEnd - p)), 0, 0};
    m.begin = SkipSpace(t, SkipSpace(t, keyEnd) + 1);
    m.end = SkipValue(t, m.begin);
    out.push_back(m);
    p = SkipSpace(t, m.end);
    if (p < t.size() && t[p] == ',') p = SkipSpace(t, p + 1);
  }
  return out;
}

std::vector<std::pair<std::size_t, std::size_t>> Elements(std::string_view t, std::size_t p) {
  std::vector<std::pair<std::size_t, std::size_t>> out;
  p = SkipSpace(t, p + 1);
  while (p < t.size() && t[p] != ']') {
    const std::size_t end = SkipValue(t, p);
    out.emplace_back(p, end);
    p = SkipSpace(t, end);
    if (p < t.size() && t[p] == ',') p = SkipSpace(t, p + 1);
  }
  return out;
}

const Member* Find(const std::vector<Member>& members, std::string_view key) {
  for (const Member& m : members)
    if (m.key == key) return &m;
  return nullptr;
}

std::string_view Slice(std::string_view t, std::size_t begin, std::size_t end) {
  return t.substr(begin, end - begin);
}

// Whether a value read from a file and one about to be written are the
// same: equal values, or values written alike (pictures are objects of
// their own, equal only to themselves, but their pixels may be the same).
bool SameValue(const std::string& name, const forms::Value& before, const forms::Value& now) {
  if (before == now) return true;
  forms::PropertyBag a, b;
  a.WriteProperty(name, before);
  b.WriteProperty(name, now);
  return a.ToJson() == b.ToJson();
}

// The whitespace that starts the line `p` is on.
std::string LineIndent(std::string_view t, std::size_t p) {
  const std::size_t lineStart = t.rfind('\n', p) == kBad ? 0 : t.rfind('\n', p) + 1;
  std::size_t q = lineStart;
  while (q < p && (t[q] == ' ' || t[q] == '\t')) ++q;
  return std::string(t.substr(lineStart, q - lineStart));
}

}  // namespace

std::string BagObjectText(const forms::PropertyBag& bag, std::string_view indent,
                          const std::map<std::string, std::string>& kept) {
  // The bag's contents are a JSON array of [name, value] pairs; the form
  // description keeps the same values as an object.
  const forms::ByteArray bytes = bag.Contents();
  const std::string contents(bytes.begin(), bytes.end());
  const std::string_view t = contents;
  const auto pairs = Elements(t, SkipSpace(t, 0));
  if (pairs.empty()) return "{}";
  const std::vector<std::string> names = bag.Names();
  std::string out = "{";
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const auto parts = Elements(t, pairs[i].first);
    if (parts.size() != 2) continue;
    out += i ? ",\n" : "\n";
    out += indent;
    out += "  ";
    out += Slice(t, parts[0].first, parts[0].second);
    out += ": ";
    const auto same = i < names.size() ? kept.find(names[i]) : kept.end();
    out += same != kept.end() ? std::string_view(same->second)
                              : Slice(t, parts[1].first, parts[1].second);
  }
  out += "\n";
  out += indent;
  out += "}";
  return out;
}

std::optional<FormFile> FormFile::Open(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "Cannot open the form description " + path + ": " + std::strerror(errno) + ".";
    return std::nullopt;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return FromText(path, text.str(), error);
}

std::optional<FormFile> FormFile::FromText(const std::string& path, std::string text,
                                           std::string& error) {
  FormFile f;
  f.path_ = path;
  f.text_ = std::move(text);
  const std::string_view t = f.text_;
  const std::size_t start = SkipSpace(t, 0);
  const std::size_t end = start < t.size() && t[start] == '{' ? SkipValue(t, start) : kBad;
  if (end == kBad || SkipSpace(t, end) != t.size()) {
    error = "The file " + path +
            " is not a form description: it is not a well-formed JSON object (the damage is "
            "near byte " +
            std::to_string(end == kBad ? start : end) + ").";
    return std::nullopt;
  }
  const auto top = Members(t, start);
  const Member* form = Find(top, "Form");
  const Member* controls = Find(top, "Controls");
  if (!form || t[form->begin] != '"' || !controls || t[controls->begin] != '[') {
    error = "The file " + path +
            " is not a form description: it names no form (\"Form\") or lists no controls "
            "(\"Controls\").";
    return std::nullopt;
  }
  f.formName_ = Unquote(Slice(t, form->begin, form->end));

  // Menus are the form's own top-level controls; the menu control may sit
  // in any container.
  bool found = false;
  const auto search = [&](auto&& self, const Member& list, bool topLevel) -> void {
    for (const auto& [b, e] : Elements(t, list.begin)) {
      if (t[b] != '{') continue;
      const auto members = Members(t, b);
      const Member* type = Find(members, "Type");
      const std::string typeName = type ? Unquote(Slice(t, type->begin, type->end)) : "";
      if (topLevel && typeName == "Menu") f.menus_.push_back({b, e});
      if (typeName == kMenuControlClass && !found) {
        found = true;
        f.control_ = {b, e};
        if (const Member* name = Find(members, "Name"))
          f.controlName_ = Unquote(Slice(t, name->begin, name->end));
        if (const Member* bag = Find(members, "Bag"); bag && t[bag->begin] == '{')
          f.bag_ = Span{bag->begin, bag->end};
      }
      if (const Member* inner = Find(members, "Controls"); inner && t[inner->begin] == '[')
        self(self, *inner, false);
    }
  };
  search(search, *controls, true);
  if (found && f.controlName_.empty()) {
    error = "The menu control in the form description " + path +
            " has no name (\"Name\"), so a program cannot find it.";
    return std::nullopt;
  }
  if (!found) {
    error = "The form description " + path + " carries no menu control (a control of class \"" +
            std::string(kMenuControlClass) + "\"), so it has no icons to edit.";
    return std::nullopt;
  }
  return f;
}

std::string FormFile::DesignDescription() const {
  const std::string_view t = text_;
  std::string out = "{ \"Form\": \"" + formName_ + "\", \"Controls\": [\n";
  for (const Span& menu : menus_) {
    out += "  ";
    out += Slice(t, menu.begin, menu.end);
    out += ",\n";
  }
  out += "  { \"Type\": \"";
  out += kMenuControlClass;
  out += "\", \"Name\": \"" + controlName_ + "\"";
  if (bag_) {
    out += ", \"Bag\": ";
    out += Slice(t, bag_->begin, bag_->end);
  }
  out += " }\n] }\n";
  return out;
}

std::map<std::string, std::string> FormFile::UnchangedValues(const forms::PropertyBag& bag) const {
  std::map<std::string, std::string> kept;
  if (!bag_) return kept;
  const std::string_view t = text_;
  const std::string_view stored = Slice(t, bag_->begin, bag_->end);
  const QJsonDocument doc =
      QJsonDocument::fromJson(QByteArray(stored.data(), static_cast<qsizetype>(stored.size())));
  if (!doc.isObject()) return kept;
  try {
    const forms::PropertyBag before = forms::PropertyBag::FromJson(doc.object());
    for (const Member& m : Members(t, bag_->begin))
      if (bag.Contains(m.key) &&
          SameValue(m.key, before.ReadProperty(m.key), bag.ReadProperty(m.key)))
        kept.emplace(m.key, std::string(Slice(t, m.begin, m.end)));
  } catch (const forms::RuntimeError&) {
    // A stored value the runtime cannot read is written anew.
  }
  return kept;
}

std::string FormFile::TextWithBag(const forms::PropertyBag& bag) const {
  const std::string_view t = text_;
  // A value the file already holds, in whatever form it was written, keeps
  // its text: the file changes only where a value changed. A bag that did
  // not change at all leaves the file as it was.
  const std::map<std::string, std::string> kept = UnchangedValues(bag);
  if (bag_ && kept.size() == bag.Names().size() &&
      Members(t, bag_->begin).size() == bag.Names().size())
    return text_;
  // The stored properties line up under the line that holds them.
  const std::string bagText =
      BagObjectText(bag, LineIndent(t, bag_ ? bag_->begin : control_.begin), kept);
  if (bag_)
    return std::string(t.substr(0, bag_->begin)) + bagText + std::string(t.substr(bag_->end));
  // A control without stored properties gets them as its last member.
  std::size_t close = control_.end - 1;
  std::size_t last = close;
  while (last > control_.begin &&
         (t[last - 1] == ' ' || t[last - 1] == '\t' || t[last - 1] == '\n' || t[last - 1] == '\r'))
    --last;
  return std::string(t.substr(0, last)) + ", \"Bag\": " + bagText + " " +
         std::string(t.substr(close));
}

bool FormFile::SaveBag(const forms::PropertyBag& bag, std::string& error) {
  std::string text = TextWithBag(bag);
  const std::filesystem::path target(path_);
  if (std::string failed = base::WriteFileAtomically(target, target.string() + ".saving", text);
      !failed.empty()) {
    error = "Cannot save the menu icons into " + path_ + ": " + failed +
            ". The file was left as it was.";
    return false;
  }
  std::string reread;
  auto again = FromText(path_, std::move(text), reread);
  if (again) *this = std::move(*again);
  return true;
}

}  // namespace formprops

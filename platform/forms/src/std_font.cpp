#include "forms/std_font.h"

#include <cmath>
#include <utility>

namespace forms {

struct StdFont::Subscription::Listeners {
  std::vector<std::pair<int, Listener>> entries;
  int nextId = 1;
};

StdFont::Subscription::~Subscription() {
  if (auto list = list_.lock())
    std::erase_if(list->entries, [&](const auto& e) { return e.first == id_; });
}

StdFont::Subscription::Subscription(Subscription&& other) noexcept
    : list_(std::exchange(other.list_, {})), id_(other.id_) {}

StdFont::Subscription& StdFont::Subscription::operator=(Subscription&& other) noexcept {
  if (this != &other) {
    Subscription gone(std::move(*this));
    list_ = std::exchange(other.list_, {});
    id_ = other.id_;
  }
  return *this;
}

StdFont::StdFont() : StdFont(Font{}) {}

StdFont::StdFont(const Font& font)
    : font_(font),
      weight_(static_cast<short>(font.StoredWeight ? font.StoredWeight : font.Weight())),
      listeners_(std::make_shared<Subscription::Listeners>()) {
  font_.Size = static_cast<float>(std::round(font.Size * 10000.0) / 10000.0);
}

StdFont::~StdFont() = default;

void StdFont::Name(std::string_view name) {
  if (font_.Name == name) return;
  font_.Name = std::string(name);
  Changed("Name");
}

void StdFont::Size(double points) {
  const auto size = static_cast<float>(std::round(points * 10000.0) / 10000.0);
  if (font_.Size == size) return;
  font_.Size = size;
  Changed("Size");
}

#define TAVRINEL_FLAG_SETTER(Prop) \
  void StdFont::Prop(bool on) {    \
    if (font_.Prop == on) return;  \
    font_.Prop = on;               \
    Changed(#Prop);                \
  }
TAVRINEL_FLAG_SETTER(Bold)
TAVRINEL_FLAG_SETTER(Italic)
TAVRINEL_FLAG_SETTER(Underline)
TAVRINEL_FLAG_SETTER(Strikethrough)
#undef TAVRINEL_FLAG_SETTER

void StdFont::Weight(short weight) {
  if (weight_ == weight) return;
  weight_ = weight;
  Changed("Weight");
}

void StdFont::Charset(short charset) {
  if (font_.Charset == charset) return;
  font_.Charset = charset;
  Changed("Charset");
}

Font StdFont::Value() const {
  Font f = font_;
  f.StoredWeight = weight_;
  return f;
}

StdFont::Subscription StdFont::FontChanged(Listener listener) {
  const int id = listeners_->nextId++;
  listeners_->entries.emplace_back(id, std::move(listener));
  return Subscription(listeners_, id);
}

void StdFont::Changed(std::string_view property) {
  // A listener may subscribe or unsubscribe while it is told.
  const auto entries = listeners_->entries;
  for (const auto& [id, listener] : entries) listener(property);
}

}  // namespace forms

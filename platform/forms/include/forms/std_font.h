#pragma once

// The font object that controls hand out by reference: one object that
// several holders share, which reports each change of a property to those
// who listen (a control that must measure again when its font changes).

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/font.h"

namespace forms {

class StdFont {
 public:
  using Listener = std::function<void(std::string_view propertyName)>;

  // Ends one listener's share of the notifications when it goes.
  class Subscription {
   public:
    Subscription() = default;
    ~Subscription();
    Subscription(Subscription&& other) noexcept;
    Subscription& operator=(Subscription&& other) noexcept;
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

   private:
    friend class StdFont;
    struct Listeners;
    Subscription(std::weak_ptr<Listeners> list, int id) : list_(std::move(list)), id_(id) {}
    std::weak_ptr<Listeners> list_;
    int id_ = 0;
  };

  StdFont();
  explicit StdFont(const Font& font);
  ~StdFont();
  StdFont(const StdFont&) = delete;
  StdFont& operator=(const StdFont&) = delete;
  static std::shared_ptr<StdFont> Create(const Font& font = {}) {
    return std::make_shared<StdFont>(font);
  }

  const std::string& Name() const { return font_.Name; }
  void Name(std::string_view name);
  // Points, kept to four decimals as the platform's fixed-point size.
  double Size() const { return font_.Size; }
  void Size(double points);
  bool Bold() const { return font_.Bold; }
  void Bold(bool on);
  bool Italic() const { return font_.Italic; }
  void Italic(bool on);
  bool Underline() const { return font_.Underline; }
  void Underline(bool on);
  bool Strikethrough() const { return font_.Strikethrough; }
  void Strikethrough(bool on);
  // Kept apart from Bold: setting one does not change the other.
  short Weight() const { return weight_; }
  void Weight(short weight);
  short Charset() const { return static_cast<short>(font_.Charset); }
  void Charset(short charset);

  // The font as a value (for property bags and drawing).
  Font Value() const;

  // `listener` hears the name of each property that changes ("Name", "Size",
  // "Bold", ...), after the change; setting a property to the value it has
  // is no change.
  [[nodiscard]] Subscription FontChanged(Listener listener);

 private:
  void Changed(std::string_view property);
  Font font_;
  short weight_ = 400;
  std::shared_ptr<Subscription::Listeners> listeners_;
};

}  // namespace forms

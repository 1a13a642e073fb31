// The standard font page.

#include <charconv>
#include <string>

#include "com/property_page.h"
#include "forms/controls.h"

namespace com {

namespace {

class StandardFontPage final : public PropertyPage {
 public:
  StandardFontPage() : PropertyPage(":/com/pages/FontPage.json") {}

 protected:
  void Form_Load() override {
    auto& names = Get<forms::ComboBox>("cobName");
    for (const char* face : {"Arial", "Courier New", "DejaVu Sans", "Liberation Sans",
                             "MS Sans Serif", "Tahoma", "Times New Roman", "Verdana"})
      names.AddItem(face);
    auto& sizes = Get<forms::ComboBox>("cobSize");
    for (const char* s : {"8", "9", "10", "11", "12", "14", "16", "18", "20", "24", "28", "36"})
      sizes.AddItem(s);
    auto edited = [this] {
      if (!refreshing_) Changed(true);
    };
    names.Change = edited;
    names.Click = edited;
    sizes.Change = edited;
    sizes.Click = edited;
    for (const char* flag : {"chkBold", "chkItalic", "chkUnderline", "chkStrikethrough"})
      Get<forms::CheckBox>(flag).Click = edited;
  }

  void PropertyPage_SelectionChanged() override {
    font_ = nullptr;
    for (forms::Control* c : SelectedControls())
      if (auto* holder = dynamic_cast<IFontHolder*>(c)) {
        font_ = holder->FontObject();
        break;
      }
    refreshing_ = true;
    const bool any = font_ != nullptr;
    for (const char* name : {"cobName", "cobSize"}) Get<forms::ComboBox>(name).Enabled(any);
    if (font_) {
      Get<forms::ComboBox>("cobName").Text(font_->Name());
      Get<forms::ComboBox>("cobSize").Text(SizeText(font_->Size()));
      Get<forms::CheckBox>("chkBold").Value(font_->Bold() ? 1 : 0);
      Get<forms::CheckBox>("chkItalic").Value(font_->Italic() ? 1 : 0);
      Get<forms::CheckBox>("chkUnderline").Value(font_->Underline() ? 1 : 0);
      Get<forms::CheckBox>("chkStrikethrough").Value(font_->Strikethrough() ? 1 : 0);
    }
    refreshing_ = false;
  }

  void PropertyPage_ApplyChanges() override {
    if (!font_) return;
    const std::string name = Get<forms::ComboBox>("cobName").Text();
    if (!name.empty()) font_->Name(name);
    // A size that is no number keeps the font's size.
    const std::string size = Get<forms::ComboBox>("cobSize").Text();
    double points = 0;
    const auto [end, ec] = std::from_chars(size.data(), size.data() + size.size(), points);
    if (ec == std::errc() && end != size.data() && points > 0 && points < 2048) font_->Size(points);
    font_->Bold(Get<forms::CheckBox>("chkBold").Value() == 1);
    font_->Italic(Get<forms::CheckBox>("chkItalic").Value() == 1);
    font_->Underline(Get<forms::CheckBox>("chkUnderline").Value() == 1);
    font_->Strikethrough(Get<forms::CheckBox>("chkStrikethrough").Value() == 1);
  }

 private:
  static std::string SizeText(double points) {
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, points);
    return ec == std::errc() ? std::string(buf, end) : std::string();
  }
  std::shared_ptr<forms::StdFont> font_;
  bool refreshing_ = false;
};

}  // namespace

std::unique_ptr<PropertyPage> MakeStandardFontPage() {
  return std::make_unique<StandardFontPage>();
}

}  // namespace com

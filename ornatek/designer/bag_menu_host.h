#pragma once

// The menu control as a design-time host holds it: its stored properties,
// read from and written back into its property bag under the control's own
// keys, and edited by its property pages through what the icon page asks of
// the control.

#include <functional>
#include <memory>

#include "com/property_page.h"
#include "forms/control.h"
#include "forms/property_bag.h"
#include "forms/std_font.h"
#include "menu_icon_list.h"

namespace formprops {

class BagMenuHost : public forms::Control, public ornatek::MenuIconHost, public com::IFontHolder {
 public:
  // Reads the site's bag; a control without one starts with the defaults
  // of a new instance.
  explicit BagMenuHost(const forms::ControlSite& site);
  ~BagMenuHost() override;

  QWidget* Widget() const override { return nullptr; }

  std::vector<forms::Menu*> GetMenuControls() const override;
  ornatek::BitmapList GetBitmapList() const override { return list_; }
  void SetBitmapList(const ornatek::BitmapList& list) override;
  bool SelectDisabled() const override { return selectDisabled_; }
  void SelectDisabled(bool on) override { selectDisabled_ = on; }
  int BitmapSize() const override { return bitmapSize_; }
  void BitmapSize(int pixels) override { bitmapSize_ = pixels; }
  bool UseSystemFont() const override { return useSystemFont_; }
  void UseSystemFont(bool on) override { useSystemFont_ = on; }
  std::shared_ptr<forms::StdFont> FontObject() override { return font_; }

  // The stored properties, in the order and with the defaults the control
  // itself writes them.
  forms::PropertyBag WriteProperties() const;

  // Heard when a property page hands the control its result: the icon list,
  // or a change of the font.
  std::function<void()> Applied;

 private:
  void ReadProperties(const forms::PropertyBag& bag);
  void RaiseApplied() {
    if (Applied) Applied();
  }

  ornatek::BitmapList list_;
  bool selectDisabled_ = true;
  int bitmapSize_ = 16;
  bool useSystemFont_ = true;
  std::shared_ptr<forms::StdFont> font_;
  forms::StdFont::Subscription fontWatch_;
};

// The font a new control has, and the stored default of "Font".
forms::Font DefaultMenuFont();

// A picture as the control stores it: an icon as a nested bag of its colour
// ("c") and mask ("m") bitmaps, anything else as itself; and back.
forms::Value StoredPicture(const forms::Picture& picture);
forms::Picture PictureFromStored(const forms::Value& value);

}  // namespace formprops

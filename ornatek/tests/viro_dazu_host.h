#pragma once

// A host form with a menu bar and the menu control, the control linked in
// (the library's own tests do not load it through the class registry).

#include "forms/forms.h"
#include "mem_dc.h"
#include "viro_dazu_control.h"

namespace ornatektest {

class MenuHost : public forms::Form {
 public:
  MenuHost() : forms::Form(":/test/forms/MenuHost.json") {}
  ornatek::VIroDazu& Control() const {
    return dynamic_cast<ornatek::VIroDazu&>(*FindControl("VIroDazu1"));
  }
  forms::Menu& Item(std::string_view name, int index = -1) const {
    return dynamic_cast<forms::Menu&>(*FindControl(name, index));
  }
};

inline void UseLinkedControl() {
  forms::RegisterControlType<ornatek::VIroDazu>(ornatek::kVIroDazuProgId);
}

// A solid square picture of `colour` (a bitmap).
inline forms::Picture SolidPicture(int size, ornatek::Colour colour) {
  ornatek::cMemDC dc;
  dc.Init(size, size);
  dc.Cls(colour);
  return dc.Image();
}

// The same square as an icon.
inline forms::Picture SolidIcon(int size, ornatek::Colour colour) {
  ornatek::cMemDC dc;
  dc.Init(size, size);
  dc.Cls(colour);
  return dc.ExtractIcon(0xFF00FF);
}

}  // namespace ornatektest

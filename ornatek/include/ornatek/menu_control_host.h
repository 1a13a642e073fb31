#pragma once

// For the programs that host the menu control: loading its class from
// Ornatek.ocx by program id, and handing it the pictures of their menu items.

#include <optional>
#include <span>
#include <string>

#include "com/class_loader.h"
#include "forms/forms.h"
#include "ornatek/viro_dazu.h"

namespace ornatek {

namespace detail {
// The outcome of the program's one attempt to load the class, once made.
inline std::optional<std::string>& MenuControlClassOutcome() {
  static std::optional<std::string> outcome;
  return outcome;
}
}  // namespace detail

// Makes forms create "Ornatek.VIroDazu" from its library, once per program.
// The text says why it could not (it names the class and the file); it is
// empty when the class was loaded. Without the class, forms put an inert
// stand-in in the control's place and the menus stay plain.
inline const std::string& UseMenuControlClass() {
  auto& outcome = detail::MenuControlClassOutcome();
  if (!outcome) outcome = com::UseRegisteredClass(kVIroDazuProgId);
  return *outcome;
}

// For tests, which start the program many times in one process: the next
// UseMenuControlClass looks the class up again, as a new program would.
inline void ForgetMenuControlClass() {
  detail::MenuControlClassOutcome().reset();
}

// One SetBitmap call: a menu item of the menu form and the hidden label of
// the carrier form whose mouse-pointer picture is the item's icon.
struct MenuIconCall {
  const char* item;
  const char* carrier;
};

// Loads the menu form and makes the calls in their order on its control
// `controlName`; a form whose control could not be made keeps plain menus.
inline void AssignMenuIcons(forms::Form& menuForm, std::string_view controlName,
                            const forms::Form& carriers, std::span<const MenuIconCall> calls) {
  // Reaching a form's control loads the form: the control binds itself to
  // the form's window as it reads its stored properties.
  menuForm.Load();
  auto* control = dynamic_cast<IVIroDazu*>(menuForm.FindControl(controlName));
  if (!control) return;
  for (const MenuIconCall& call : calls) {
    auto* item = dynamic_cast<forms::Menu*>(menuForm.FindControl(call.item));
    const forms::Control* carrier = carriers.FindControl(call.carrier);
    if (item && carrier) control->SetBitmap(*item, carrier->MouseIcon());
  }
}

}  // namespace ornatek

#pragma once

// For the programs that host the menu control: loading its class from
// Ornatek.ocx by program id, and handing it the pictures of their menu items.

#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "com/class_loader.h"
#include "forms/forms.h"
#include "ornatek/viro_dazu.h"

namespace ornatek {

// The library's file in a host's program folder.
inline constexpr const char* kMenuControlLibrary = "Ornatek.ocx";

namespace detail {
// The outcome of the program's one attempt to load the class, once made.
inline std::optional<std::string>& MenuControlClassOutcome() {
  static std::optional<std::string> outcome;
  return outcome;
}
}  // namespace detail

// Makes forms create "Ornatek.VIroDazu" from its library, once per program:
// the copy in the program folder first, registered there when the class is
// not registered yet. The text says why it could not (it names the class
// and the file); it is empty when the class was loaded. Without the class,
// forms put an inert stand-in in the control's place and the menus stay
// plain.
inline const std::string& UseMenuControlClass() {
  auto& outcome = detail::MenuControlClassOutcome();
  if (!outcome)
    outcome = com::UseClass(kVIroDazuProgId,
                            std::filesystem::path(forms::App::Path()) / kMenuControlLibrary);
  return *outcome;
}

// For tests, which start the program many times in one process: the next
// UseMenuControlClass looks the class up again, as a new program would.
inline void ForgetMenuControlClass() {
  detail::MenuControlClassOutcome().reset();
}

// What a host tells its user when the menu control could not be had: why,
// what it means for the menus, and how to mend it.
inline std::string MenuControlNotice(const std::string& error) {
  return error + "\n\nThe menu is shown without its icons. To have them, put the " +
         kMenuControlLibrary + " made with this program into the program folder " +
         forms::App::Path() + " and register it there with: regcontrol " + kMenuControlLibrary;
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

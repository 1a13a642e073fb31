#pragma once

// A form description file as text, and where the menu control sits in it:
// enough to show the control with the form's menus, and to put the
// control's property bag back without touching the rest of the file.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/property_bag.h"

namespace formprops {

// The class a form names the menu control by.
inline constexpr std::string_view kMenuControlClass = "Ornatek.VIroDazu";

class FormFile {
 public:
  // The file at `path`; nothing, and `error` naming the file and saying
  // what is wrong, when it cannot be read, is no form description, or
  // carries no menu control.
  static std::optional<FormFile> Open(const std::string& path, std::string& error);
  // The same from text already read (`path` only names it in messages).
  static std::optional<FormFile> FromText(const std::string& path, std::string text,
                                          std::string& error);

  const std::string& Path() const { return path_; }
  const std::string& Text() const { return text_; }
  const std::string& FormName() const { return formName_; }
  const std::string& ControlName() const { return controlName_; }

  // A description of a form with only the file's menus and the menu
  // control (with its stored bag), so that the control can be made without
  // the form's other controls.
  std::string DesignDescription() const;
  // The file's text with `bag` as the control's stored properties.
  std::string TextWithBag(const forms::PropertyBag& bag) const;
  // Writes that text over the file (through a new file and a rename, so a
  // failed write leaves the old file whole); the error says why it failed.
  bool SaveBag(const forms::PropertyBag& bag, std::string& error);

 private:
  struct Span {
    std::size_t begin = 0, end = 0;
  };
  FormFile() = default;
  // The text of each value of the file's stored bag that `bag` holds alike,
  // by name.
  std::map<std::string, std::string> UnchangedValues(const forms::PropertyBag& bag) const;

  std::string path_;
  std::string text_;
  std::string formName_;
  std::string controlName_;
  Span control_;             // the control's object
  std::optional<Span> bag_;  // its "Bag" value
  std::vector<Span> menus_;  // the form's top-level menu objects
};

// A bag's contents (name-value pairs in written order) as the object a form
// description keeps under "Bag", one property a line, indented by `indent`;
// a property named in `kept` is written with the text given there.
std::string BagObjectText(const forms::PropertyBag& bag, std::string_view indent,
                          const std::map<std::string, std::string>& kept = {});

}  // namespace formprops

#pragma once

// One design session: a form description file opened, its menu control made
// over the form's menus, the control's property pages, and the file written
// again whenever a page hands the control its result.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "bag_menu_host.h"
#include "com/property_page.h"
#include "form_file.h"
#include "forms/form.h"

namespace formprops {

// The form made from a design description; its load hands over to the
// program (the design host's only window is the page dialog).
class DesignForm : public forms::Form {
 public:
  using Form::Form;
  std::function<void()> Loaded;

 protected:
  void Form_Load() override {
    if (Loaded) Loaded();
  }
};

class DesignSession {
 public:
  // Opens the file; nothing, and `error` naming the file and saying what is
  // wrong, when it cannot be edited.
  static std::unique_ptr<DesignSession> Open(const std::string& path, std::string& error);
  ~DesignSession();
  DesignSession(const DesignSession&) = delete;
  DesignSession& operator=(const DesignSession&) = delete;

  DesignForm& Form() const { return *form_; }
  // The control (made when the form loads).
  BagMenuHost& Control() const;
  // The icon page and the font page over the control (made on first use,
  // after the form has loaded).
  com::PropertyPageDialog& Dialog();
  const FormFile& File() const { return file_; }

  // Writes the control's properties into the file; a failure is shown in a
  // message box that names the file. True when written.
  bool Save();

 private:
  DesignSession(FormFile file, std::unique_ptr<DesignForm> form);
  FormFile file_;
  std::unique_ptr<DesignForm> form_;
  std::optional<com::PropertyPageDialog> dialog_;
};

// Makes the control class of the design host known to the forms runtime
// (once; later calls do nothing).
void RegisterDesignControl();

}  // namespace formprops

// FormProperties FILE: shows the property pages of the menu control that the
// form description FILE carries, over the form's menus, and writes the
// control's stored properties back into FILE on OK and Apply. Without FILE
// it asks for one.

#include <memory>
#include <string>

#include "design_session.h"
#include "forms/app.h"
#include "forms/errors.h"
#include "openfile.h"

int main(int argc, char** argv) {
  std::unique_ptr<formprops::DesignSession> session;
  return forms::RunProgram(argc, argv, [&]() -> forms::Form& {
    std::string path = argc > 1 ? argv[1] : "";
    if (path.empty()) {
      try {
        path = ornatek::ShowOpenDialog({}, "Form descriptions|*.json|All files|*.*", "", "json",
                                       "Open a form description");
      } catch (const forms::RuntimeError&) {
        forms::End();  // nothing chosen, nothing to do
      }
    }
    std::string error;
    session = formprops::DesignSession::Open(path, error);
    if (!session) {
      forms::MsgBox(error, forms::vbCritical, "FormProperties");
      forms::End();
    }
    session->Form().Loaded = [&] {
      session->Dialog().ShowModal();
      forms::End();
    };
    return session->Form();
  });
}

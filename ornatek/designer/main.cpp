// FormProperties FILE: shows the property pages of the menu control that the
// form description FILE carries, over the form's menus, and writes the
// control's stored properties back into FILE on OK and Apply. Without FILE
// it asks for one.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "design_session.h"
#include "forms/app.h"
#include "forms/errors.h"
#include "openfile.h"
#include "shell/usage.h"

namespace {

constexpr const char* kUsage =
    "usage: FormProperties [FILE]\n"
    "Shows the property pages of the menu control in the form description FILE\n"
    "(a .json file) and writes what OK and Apply change back into FILE.\n"
    "Without FILE it asks for one.\n"
    "  -h, --help  show this help\n";

}  // namespace

int main(int argc, char** argv) {
  // Mistakes on the command line are answered where they were made.
  if (argc > 1) {
    const std::string_view arg = argv[1];
    if (shell::AsksForHelp(arg)) return shell::ShowUsage(kUsage);
    if (arg.starts_with('-'))
      return shell::RefuseCommandLine("FormProperties", "unknown option '" + std::string(arg) + "'",
                                      kUsage);
    if (argc > 2)
      return shell::RefuseCommandLine("FormProperties", "one form description at a time", kUsage);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(argv[1], ec)) {
      std::fprintf(stderr, "FormProperties: %s: %s\n", argv[1],
                   std::filesystem::exists(argv[1], ec) ? "not a file" : "there is no such file");
      return 2;
    }
  }
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

// Screenshots of the reader and the dictionary as a person sees them, for
// looking at by eye on a real X server (Xvfb):
//   xvfb-run -a -s "-screen 0 1280x800x24" build/tests/readdict_shots reader <file.png>
//   ... readdict_shots dictionary <file.png>
// pictures the whole screen: the reader while its character greets, or the
// dictionary after a search for "ca" with the first match spoken.

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <string>

#include "controls/controls.h"
#include "form1.h"
#include "forms/forms.h"
#include "frm_main.h"
#include "win/gdi.h"
#include "win/window.h"

namespace {

void ShootScreen(const std::string& path) {
  const bool ok = win::SaveScreenPng(path);
  std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string which = argc == 3 ? argv[1] : "";
  if (which != "reader" && which != "dictionary") {
    std::fprintf(stderr, "usage: readdict_shots reader|dictionary <file.png>\n");
    return 2;
  }
  const std::string file = argv[2];
  QApplication app(argc, argv);
  controls::Register();
  forms::SetMessageBoxPresenter([](std::string_view prompt, int, std::string_view) {
    std::fprintf(stderr, "message: %.*s\n", static_cast<int>(prompt.size()), prompt.data());
    return forms::vbOK;
  });
  if (which == "reader") {
    forms::Forms::Get<reader::frmMain>().Show();
  } else {
    auto& dict = forms::Forms::Get<dictionary::Form1>();
    dict.Show();
    dict.Text9.Text("ca");
    dict.Command1.Click();
    dict.xpcmdbutton1.Click();
  }
  // The programs end through End(), as they do when closed.
  QTimer::singleShot(which == "reader" ? 900 : 2000, [file] {
    ShootScreen(file);
    std::fflush(stdout);
    forms::End();
  });
  return QApplication::exec();
}

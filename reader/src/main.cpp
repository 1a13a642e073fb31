// Reader: reads typed or copied text aloud.

#include "controls/controls.h"
#include "forms/forms.h"
#include "frm_main.h"

int main(int argc, char** argv) {
  controls::Register();
  return forms::RunProgram(argc, argv, []() -> forms::Form& {
    forms::App::SetTitle("Lectoria");
    return forms::Forms::Get<reader::frmMain>();
  });
}

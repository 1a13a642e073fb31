// Vocabra, the word trainer.

#include "controls/controls.h"
#include "forms/forms.h"
#include "frm_show.h"

int main(int argc, char** argv) {
  return forms::RunProgram(argc, argv, []() -> forms::Form& {
    forms::App::SetTitle("Vocabra");
    controls::Register();
    return forms::Forms::Get<vocabra::FrmShow>();
  });
}

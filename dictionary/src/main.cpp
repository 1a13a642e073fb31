// Dictionary: finds words by their beginning and speaks the Italian word.

#include "controls/controls.h"
#include "form1.h"
#include "forms/forms.h"

int main(int argc, char** argv) {
  controls::Register();
  return forms::RunProgram(argc, argv, []() -> forms::Form& {
    forms::App::SetTitle("Dictionary");
    return forms::Forms::Get<dictionary::Form1>();
  });
}

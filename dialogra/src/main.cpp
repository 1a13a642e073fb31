// Dialogra, the conversation trainer.

#include "form1.h"
#include "forms/forms.h"
#include "lessons/lessons.h"

int main(int argc, char** argv) {
  return forms::RunProgram(argc, argv, []() -> forms::Form& {
    forms::App::SetTitle("Dialogra");
    forms::RegisterStringTable(lessons::Strings());
    return forms::Forms::Get<dialogra::Form1>();
  });
}

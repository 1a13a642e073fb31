#include "module1.h"

#include "forms/app.h"
#include "options.h"
#include "suite/autostart.h"

namespace vocabra {

void SetAutoStart(std::string_view name, bool on) {
  dialogra::SetRunEntry(name, on ? 1 : 0,
                        dialogra::ProgramExePath(forms::App::Path(), forms::App::EXEName()));
}

void SetAutoStart() {
  const auto mark = module().markword;
  if (mark == 0 || mark == 1) SetAutoStart(kAutoStartName, mark == 1);
}

}  // namespace vocabra

#include "module1.h"

#include "forms/app.h"
#include "options.h"
#include "suite/autostart.h"

namespace dialogra {

void SetAutoStart() {
  SetRunEntry(kAutoStartName, module().mark,
              ProgramExePath(forms::App::Path(), forms::App::EXEName()));
}

}  // namespace dialogra

#include "module1.h"

#include "autostart.h"
#include "forms/app.h"
#include "options.h"

namespace dialogra {

void SetAutoStart() {
  SetRunEntry(kAutoStartName, module().mark,
              ProgramExePath(forms::App::Path(), forms::App::EXEName()));
}

}  // namespace dialogra

#include "controls/controls.h"
#include "forms/user_control.h"

namespace controls {

void Register() {
  forms::RegisterControlType<xp_canvas>("xp_canvas");
  forms::RegisterControlType<xpcmdbutton>("xpcmdbutton");
  forms::RegisterControlType<xptopbuttons>("xptopbuttons");
}

}  // namespace controls

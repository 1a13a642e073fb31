#pragma once

// The skin controls that every program of the suite carries: the window
// frame, the push button and the caption button.

#include "controls/trans_colour.h"
#include "controls/xp_canvas.h"
#include "controls/xpcmdbutton.h"
#include "controls/xptopbuttons.h"

namespace controls {

// Makes the three controls known to form descriptions by their type names
// "xp_canvas", "xpcmdbutton" and "xptopbuttons". Programs call it once at
// start, before their first form is made; calling it again does no harm.
void Register();

}  // namespace controls

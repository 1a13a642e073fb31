#pragma once

// Window regions cut out of a form by a key colour, so that the desktop shows
// through the rounded corners of the skinned caption bar.

#include "win/types.h"

namespace forms {
class Form;
}

namespace controls::trans_colour {

// Gives `frm` the window region of its whole client rectangle less every
// pixel of rows 0 to 5 whose colour on the form's drawing surface is `key`.
// Scans in the form's scale, which the caller has set to pixels. The window
// owns the region from then on. Failures reach the caller.
void make_region(forms::Form& frm, win::COLORREF key);

}  // namespace controls::trans_colour

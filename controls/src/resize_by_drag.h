#pragma once

#include "win/types.h"

namespace forms {
class Form;
}

namespace controls::detail {

// Moves and sizes `frm` in one call after a drag of one of the frame's edges
// or grips from `pressed` to `released` (screen pixels). `code` names the
// dragged part: 0 left, 1 right, 2 top, 3 bottom edge; 4 bottom-right,
// 5 bottom-left, 6 top-right, 7 top-left corner. The edge opposite the
// dragged one stays where it was, and a dragged edge stops where the window
// would become smaller than `smallest` (twips), so that a drag past the
// opposite edge cannot make the window vanish; a window already smaller
// only grows. Any other code does nothing, and a move the host refuses
// leaves it where it was.
void resize_by_drag(forms::Form& frm, const win::POINT& pressed, const win::POINT& released,
                    int code, const win::SIZE& smallest);

}  // namespace controls::detail

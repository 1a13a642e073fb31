#pragma once

// The menu control's eleven built-in 16 x 16 icons, drawn here, with the
// tags by which the control finds them ("close", "maximize", ...).

#include <array>
#include <string_view>

#include "forms/picture.h"

namespace ornatek {

inline constexpr std::array<std::string_view, 11> kBuiltinIconTags{
    "arrow", "checkmark", "close",    "maximize", "minimize", "Next1",
    "next",  "Previous1", "previous", "question", "restore"};

// The icon of position 0 to 10 in the order of kBuiltinIconTags.
forms::Picture DrawBuiltinIcon(int index);

}  // namespace ornatek

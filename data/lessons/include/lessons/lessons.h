#pragma once

// The lesson sentences of the conversation trainer: Italian sentence n of
// lesson L at id 10000 + 100 * L + n, its English counterpart at that id
// plus 10000; lessons 1 to 19, n from 1 to 50.

#include <span>

#include "forms/app.h"

namespace lessons {

std::span<const forms::StringEntry> Strings();

}  // namespace lessons

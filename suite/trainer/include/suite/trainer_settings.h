#pragma once

// The settings both trainers share in the settings store and the first-run
// block that writes their defaults. The word trainer links this too, so that
// whichever trainer runs first writes the same block.

#include <cstdint>
#include <string>
#include <string_view>

#include "suite/settings.h"

namespace dialogra {

using suite::ReadSetting;
using suite::WriteSetting;

// Writes the defaults of both trainers, in their order and in one atomic
// write, when the first-run mark "xxx" is empty. Returns whether it did.
bool FirstRunBlock();

// The text of a single-precision number as the store keeps it.
std::string SingleText(float v);

// The first-run default of a key (the screen-derived ones for this screen).
std::string FirstRunDefault(std::string_view key);

// A whole-number key as a 16-bit integer. A key that is absent, not a number
// or out of range falls back to its first-run default.
std::int16_t ReadInteger(std::string_view key);
// A single-precision key ("left"), with the same fallback.
float ReadSingle(std::string_view key);

// One trainer window per user: when another copy already runs, brings its
// window forward by the program's title and ends this copy at once.
void EndIfAnotherCopyRuns();

}  // namespace dialogra

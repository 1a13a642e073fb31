#pragma once

#include <exception>

namespace controls::detail {

// Runs one step of a routine whose failing steps are skipped without a
// report, so that the steps after it still run (a missing picture, a host
// that is not ready yet). Tells whether the step went through.
template <class F>
bool Step(F&& step) noexcept {
  try {
    step();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace controls::detail

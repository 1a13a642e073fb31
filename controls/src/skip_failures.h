#pragma once

#include <exception>

namespace controls::detail {

// Runs one step of a routine whose failing steps are skipped without a
// report, so that the steps after it still run (a missing picture, a host
// that is not ready yet).
template <class F>
void Step(F&& step) noexcept {
  try {
    step();
  } catch (const std::exception&) {
  }
}

}  // namespace controls::detail

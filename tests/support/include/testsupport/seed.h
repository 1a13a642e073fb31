#pragma once

namespace testsupport {

// The seed of a randomised case: TAVRINEL_TEST_SEED when set (to repeat a
// failing run), else a fresh one. It is printed and recorded in the case's
// report; callers also put it in a SCOPED_TRACE so that every failure names it.
unsigned RandomSeed();

}  // namespace testsupport

#pragma once

#include <string>

namespace testsupport {

// Starts the program of the program folder named `program` twice for one
// fresh user, headless: the second copy must end at once and cleanly while
// the first goes on. Reports through the test's assertions.
void ExpectASecondStartToEndAtOnce(const std::string& program);

}  // namespace testsupport

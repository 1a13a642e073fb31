#pragma once

#include <QProcessEnvironment>
#include <filesystem>
#include <string>

namespace testsupport {

// The environment of a real program started headless for a fresh user whose
// settings and run-time files live under `home` (its run-time folder made
// private, as the desktop makes it), with copies of the build's word books in
// `home` as its program folder.
QProcessEnvironment ProgramEnvironment(const std::filesystem::path& home);

// Starts the program of the program folder named `program` twice for one
// fresh user, headless: the second copy must end at once and cleanly while
// the first goes on. Reports through the test's assertions.
void ExpectASecondStartToEndAtOnce(const std::string& program);

}  // namespace testsupport

// Test entry point: a headless Qt application in a private home, so that no
// test reads or writes the settings, autostart entries or files of the user.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "testsupport/temp_dir.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("TAVRINEL_BIN_DIR", TAVRINEL_BIN_DIR_BUILT, 0);
  setenv("TAVRINEL_SOURCE_DIR", TAVRINEL_SOURCE_DIR_BUILT, 0);
  // Test programs live outside the program folder, away from the speech
  // engine that programs find beside themselves.
  setenv("TAVRINEL_SPEECH_ENGINE", TAVRINEL_BIN_DIR_BUILT "/speech_engine", 0);
  auto home = std::make_unique<testsupport::TempDir>();
  setenv("XDG_CONFIG_HOME", (home->path() / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (home->path() / "data").c_str(), 1);
  setenv("XDG_CACHE_HOME", (home->path() / "cache").c_str(), 1);
  setenv("TAVRINEL_TEST_HOME", home->path().c_str(), 1);
  // Locks and sockets of single-instance programs stay private to the test.
  const auto runtime = home->path() / "runtime";
  std::filesystem::create_directories(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  QApplication app(argc, argv);
  int rc = RUN_ALL_TESTS();
  return rc;
}

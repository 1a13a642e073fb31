#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <memory>

namespace testsupport {

// The window manager named by TAVRINEL_TEST_WM (e.g. openbox), for a whole
// test program on an X server; none when the variable is unset or the
// program runs off X. Register it with ::testing::AddGlobalTestEnvironment.
class WindowManager : public ::testing::Environment {
 public:
  void SetUp() override;
  void TearDown() override;

 private:
  std::unique_ptr<QProcess> process_;
};

}  // namespace testsupport

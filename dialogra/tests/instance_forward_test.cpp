// A second start shows no window of its own, and the first copy's bar comes
// forward.

#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QWidget>

#include "bar_fixture.h"
#include "shell/instance.h"
#include "testsupport/single_instance.h"
#include "testsupport/temp_dir.h"

namespace {

QString Program() {
  return QString::fromStdString((testsupport::BinDir() / "Dialogra").string());
}

}  // namespace

// The second copy is this test's own bar: what it shows can be looked at.
using SecondCopy = dialogra::testing::BarFixture;

TEST_F(SecondCopy, ShowsNoWindowOfItsOwnAndBringsTheFirstCopysBarForward) {
  const QProcessEnvironment env = testsupport::ProgramEnvironment(folder.path());
  QProcess first;
  first.setProcessEnvironment(env);
  first.start(Program(), {});
  ASSERT_TRUE(first.waitForStarted(5000));
  first.waitForFinished(1500);
  ASSERT_EQ(first.state(), QProcess::Running) << first.readAllStandardError().toStdString();

  setenv("XDG_RUNTIME_DIR", (folder / "runtime").c_str(), 1);
  // The first copy answers that it has a window on show and brings it forward.
  EXPECT_TRUE(shell::RequestActivation("Dialogra", "Dialogra"));
  // It answers no for a title that is not its own.
  EXPECT_FALSE(shell::RequestActivation("Dialogra", "Vocabra"));

  setenv("TAVRINEL_PROGRAM_NAME", "Dialogra", 1);
  forms::App::SetTitle("Dialogra");
  try {
    LoadBar();
  } catch (const forms::testing::ProgramEnded&) {
    // Ending is what this case expects; `ended` checks it below.
  }
  unsetenv("TAVRINEL_PROGRAM_NAME");
  EXPECT_TRUE(ended);
  QApplication::processEvents();
  for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(requests.empty());  // no character of its own either
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(first.state(), QProcess::Running);

  first.kill();
  first.waitForFinished(3000);
}

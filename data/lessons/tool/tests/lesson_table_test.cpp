// The build tool of the lesson string table, run as the build runs it.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "testsupport/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(LessonTable, AnOutputThatCannotBeWrittenFailsTheBuildStepAndSaysWhere) {
  testsupport::TempDir dir;
  const fs::path out = dir / "no-such-folder" / "lesson_strings.cpp";
  const fs::path lesson = testsupport::SourceDir() / "data" / "lessons" / "lesson-01.txt";
  const std::string command =
      std::string(LESSON_TABLE) + " '" + out.string() + "' '" + lesson.string() + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  const int status = pclose(pipe);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0) << "a table that was not written passed as made";
  EXPECT_NE(output.find(out.string()), std::string::npos) << output;
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace

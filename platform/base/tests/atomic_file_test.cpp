// Replacing a file whole: what a failed replacement leaves behind.

#include "base/atomic_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "testsupport/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void Write(const fs::path& file, std::string_view text) {
  std::ofstream(file, std::ios::binary) << text;
}

TEST(AtomicFile, AReplacementThatFailsLeavesTheOldFileWholeAndNoTemporary) {
  testsupport::TempDir dir;
  const fs::path target = dir / "store.conf";
  const fs::path temp = dir / "store.conf.tmp";
  Write(target, "old content\n");

  // The temporary cannot be made: a folder stands in its place.
  fs::create_directories(temp / "inside");
  std::string error = base::WriteFileAtomically(target, temp, "new content\n");
  EXPECT_NE(error.find("cannot create " + temp.string()), std::string::npos) << error;
  EXPECT_EQ(Read(target), "old content\n");
  fs::remove_all(temp);

  // The temporary is written but cannot take the name: the target has turned
  // into a folder that is not empty.
  fs::remove(target);
  fs::create_directories(target / "inside");
  error = base::WriteFileAtomically(target, temp, "new content\n");
  EXPECT_NE(error.find("cannot replace " + target.string()), std::string::npos) << error;
  EXPECT_TRUE(fs::is_directory(target / "inside"));
  EXPECT_FALSE(fs::exists(temp)) << "the temporary is left behind";

  // The same for a temporary made by someone else.
  Write(temp, "made elsewhere\n");
  error = base::CommitFile(temp, target);
  EXPECT_NE(error.find("cannot replace " + target.string()), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(temp)) << "the temporary is left behind";
}

}  // namespace

// The open-file dialog: what it asks, what it gives back, cancel and errors.

#include "forms/file_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace forms;

namespace {

// Removes the test's answerer when the case ends.
struct Answering {
  forms::testing::FileDialogQuestion asked;
  explicit Answering(std::optional<std::string> answer) {
    forms::testing::AnswerFileDialogs([this, answer](const forms::testing::FileDialogQuestion& q) {
      asked = q;
      return answer;
    });
  }
  ~Answering() { forms::testing::AnswerFileDialogs({}); }
};

// The record as the property page's open-file module fills it.
struct Record {
  std::string filter;
  char file[255] = {};
  char title[255] = {};
  OPENFILENAMEA ofn;
  explicit Record(const std::string& pipes) : filter(pipes) {
    for (char& c : filter)
      if (c == '|') c = '\0';
    filter.push_back('\0');
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    std::memset(title, ' ', 254);
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = sizeof title;
    ofn.lpstrInitialDir = "/tmp";
    ofn.lpstrTitle = "Choose a picture file";
  }
};

}  // namespace

TEST(FileDialog, AnsweredDialogFillsTheRecord) {
  Answering answer(std::string("/home/u/My Pictures/menu.bmp"));
  Record r("Pictures|*.bmp;*.ico|All files|*.*");
  ASSERT_EQ(GetOpenFileNameA(&r.ofn), win::TRUE);
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_STREQ(r.file, "/home/u/My Pictures/menu.bmp");
  EXPECT_STREQ(r.title, "menu.bmp");
  EXPECT_EQ(r.ofn.nFileOffset, 20);
  EXPECT_EQ(r.ofn.nFileExtension, 25);
  EXPECT_EQ(answer.asked.title, "Choose a picture file");
  EXPECT_EQ(answer.asked.folder, "/tmp");
  EXPECT_EQ(answer.asked.filters,
            (std::vector<std::string>{"Pictures (*.bmp *.ico)", "All files (*.*)"}));
  EXPECT_FALSE(answer.asked.fileMustExist);
}

TEST(FileDialog, CancelIsFalseWithoutAnError) {
  Answering answer(std::nullopt);
  Record r("*.*|*.*");
  std::strcpy(r.file, "start.png");
  EXPECT_EQ(GetOpenFileNameA(&r.ofn), win::FALSE);
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_EQ(answer.asked.fileName, "start.png");
  EXPECT_STREQ(r.file, "start.png") << "a cancelled dialog leaves the buffer";
}

TEST(FileDialog, BadRecordsAndSmallBuffersAreErrors) {
  Answering answer(std::string("/a/very/long/path/to/a/file.png"));
  Record r("*.*|*.*");
  r.ofn.lStructSize = 10;
  EXPECT_EQ(GetOpenFileNameA(&r.ofn), win::FALSE);
  EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
  EXPECT_EQ(GetOpenFileNameA(nullptr), win::FALSE);
  EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
  r.ofn.lStructSize = 76;
  r.ofn.nMaxFile = 10;
  EXPECT_EQ(GetOpenFileNameA(&r.ofn), win::FALSE);
  EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
  win::WORD need = 0;
  std::memcpy(&need, r.file, 2);
  EXPECT_EQ(need, 32);
  // The default extension is added to a name without one.
  r.ofn.nMaxFile = sizeof r.file;
  forms::testing::AnswerFileDialogs([](const auto&) { return std::string("/x/notes"); });
  r.ofn.lpstrDefExt = "txt";
  EXPECT_EQ(GetOpenFileNameA(&r.ofn), win::TRUE);
  EXPECT_STREQ(r.file, "/x/notes.txt");
  EXPECT_EQ(CommDlgExtendedError(), 0u);
}

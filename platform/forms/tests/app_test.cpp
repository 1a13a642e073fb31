// Program-wide services: message boxes, string tables, colours, the end.

#include <gtest/gtest.h>

#include "forms/forms.h"
#include "forms/testing.h"

using namespace forms;

TEST(App, MessageBoxesGoToThePresenterWithTheProgramsTitle) {
  std::vector<std::string> seen;
  auto old = SetMessageBoxPresenter([&](std::string_view prompt, int buttons,
                                        std::string_view title) {
    seen.push_back(std::string(prompt) + "|" + std::to_string(buttons) + "|" + std::string(title));
    return vbOK;
  });
  App::SetTitle("Dialogra");
  EXPECT_EQ(MsgBox("Duplicate record !", vbCritical), vbOK);
  MsgBox("11000");
  EXPECT_EQ(seen, (std::vector<std::string>{"Duplicate record !|16|Dialogra", "11000|0|Dialogra"}));
  SetMessageBoxPresenter(old);
}

TEST(App, StringTablesAnswerKnownIdsAndRaise326ForOthers) {
  static const StringEntry table[] = {{10101, "Buongiorno."}, {20101, "Good morning."}};
  RegisterStringTable(table);
  EXPECT_EQ(LoadResString(10101), "Buongiorno.");
  EXPECT_EQ(LoadResString(20101), "Good morning.");
  try {
    LoadResString(12001);
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::ResourceNotFound);
  }
}

TEST(App, PaletteColoursAndSystemColours) {
  EXPECT_EQ(QBColor(10), win::RGB(0, 255, 0));
  EXPECT_EQ(QBColor(12), win::RGB(255, 0, 0));
  EXPECT_EQ(QBColor(0), win::RGB(0, 0, 0));
  EXPECT_THROW(QBColor(16), RuntimeError);
  EXPECT_EQ(TranslateColor(0x8000000F), win::GetSysColor(win::COLOR_BTNFACE));
  EXPECT_EQ(TranslateColor(win::RGB(1, 2, 3)), win::RGB(1, 2, 3));
  EXPECT_EQ(Screen::TwipsPerPixelX(), 15.0f);
  EXPECT_GT(Screen::Width(), 0.0f);
}

TEST(App, EndCanBeWatchedByTests) {
  bool ended = false;
  forms::testing::SetEndHandler([&] { ended = true; });
  EXPECT_THROW(End(), forms::testing::ProgramEnded);
  EXPECT_TRUE(ended);
  forms::testing::SetEndHandler({});
}

TEST(App, ClipboardHoldsText) {
  Clipboard::SetText("copiato è");
  EXPECT_EQ(Clipboard::GetText(), "copiato è");
  Clipboard::SetText("");
  EXPECT_EQ(Clipboard::GetText(), "");
}

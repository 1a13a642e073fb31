// A text caret stands still a while after the user's last key or click, so
// that a waiting window repaints nothing, and blinks again at the next key.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLineEdit>
#include <QStyleHints>
#include <QTest>

#include "caret_rest.h"

namespace {

TEST(CaretRest, StandsStillAfterTheLastKeyAndBlinksAgainAtTheNext) {
  QStyleHints* hints = QGuiApplication::styleHints();
  hints->setCursorFlashTime(1000);
  QLineEdit edit;
  edit.show();
  {
    const forms::detail::CaretRest rest(50);
    EXPECT_EQ(hints->cursorFlashTime(), 1000) << "the caret blinks at first";
    ASSERT_TRUE(QTest::qWaitFor([&] { return hints->cursorFlashTime() == 0; }, 3000))
        << "the caret kept blinking while nothing happened";
    QTest::keyClick(&edit, Qt::Key_A);
    EXPECT_EQ(hints->cursorFlashTime(), 1000) << "a key must bring the blinking back";
    EXPECT_EQ(edit.text(), QStringLiteral("a")) << "the key still reaches the text box";
    ASSERT_TRUE(QTest::qWaitFor([&] { return hints->cursorFlashTime() == 0; }, 3000));
    QTest::mouseClick(&edit, Qt::LeftButton);
    EXPECT_EQ(hints->cursorFlashTime(), 1000) << "a click must bring the blinking back";
    ASSERT_TRUE(QTest::qWaitFor([&] { return hints->cursorFlashTime() == 0; }, 3000));
  }
  EXPECT_EQ(hints->cursorFlashTime(), 1000) << "the desktop's blinking comes back at the end";
}

}  // namespace

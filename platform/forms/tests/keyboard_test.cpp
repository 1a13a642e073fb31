// The keyboard moving through a form's controls.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "forms/forms.h"

using namespace forms;

namespace {

class Keys : public Form {
 public:
  Keys() : Form(":/test/forms/Keys.json") {}
};

void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

}  // namespace

TEST(Keyboard, TabLeavesAMultiLineTextBoxAsItLeavesAOneLineBox) {
  Keys f;
  f.Show();
  auto& box = f.Get<TextBox>("Text1");
  auto& next = f.Get<TextBox>("Text2");
  QApplication::setActiveWindow(f.ClientWidget());
  box.SetFocus();
  Settle();
  ASSERT_EQ(QApplication::focusWidget(), box.Widget());
  QTest::keyClicks(static_cast<QWidget*>(nullptr), "ciao");
  QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Tab);
  Settle();
  EXPECT_EQ(box.Text(), "ciao");
  EXPECT_EQ(QApplication::focusWidget(), next.Widget());
  QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Backtab, Qt::ShiftModifier);
  Settle();
  EXPECT_EQ(QApplication::focusWidget(), box.Widget());
  EXPECT_EQ(box.Text(), "ciao");
}

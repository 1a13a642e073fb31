// Forms shown by other forms: modal forms and their owners, and how forms
// present themselves to the desktop.

#include <gtest/gtest.h>
#include <QWidget>

#include <QApplication>
#include <QTimer>
#include <QWindow>

#include "forms/forms.h"

using namespace forms;

namespace {

class Basic : public Form {
 public:
  Basic() : Form(":/test/forms/Basic.json") {}
};

class Owned : public Form {
 public:
  Owned() : Form(":/test/forms/Owned.json") {}
};

QRect WindowRect(win::HWND h) {
  win::RECT r{};
  win::GetWindowRect(h, &r);
  return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

bool Topmost(win::HWND h) {
  return win::GetWindowLongPtrA(h, win::GWL_EXSTYLE) & win::WS_EX_TOPMOST;
}

}  // namespace

TEST(OwnedForms, AModalFormStaysAboveItsTopmostOwnerCentredOverIt) {
  Basic owner;
  owner.Show();
  win::SetWindowPos(owner.hWnd(), win::HWND_TOPMOST, 40, 30, 0, 0,
                    win::SWP_NOSIZE | win::SWP_NOACTIVATE);
  Owned dialog;
  bool checked = false;
  QTimer::singleShot(0, [&] {
    checked = true;
    QWindow* shown = dialog.ClientWidget()->windowHandle();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->transientParent(), owner.ClientWidget()->windowHandle());
    EXPECT_TRUE(Topmost(dialog.hWnd()));
    EXPECT_EQ(win::GetWindowLongPtrA(dialog.hWnd(), win::GWLP_HWNDPARENT),
              static_cast<win::LONG_PTR>(owner.hWnd().value));
    const QRect o = WindowRect(owner.hWnd()), d = WindowRect(dialog.hWnd());
    EXPECT_LE(std::abs(o.center().x() - d.center().x()), 1) << d.x();
    EXPECT_LE(std::abs(o.center().y() - d.center().y()), 1) << d.y();
    dialog.Hide();
  });
  dialog.Show(vbModal, &owner);
  ASSERT_TRUE(checked);
  // Afterwards the form is on its own again.
  EXPECT_EQ(win::GetWindowLongPtrA(dialog.hWnd(), win::GWLP_HWNDPARENT), 0);
  EXPECT_FALSE(Topmost(dialog.hWnd()));
  EXPECT_TRUE(Topmost(owner.hWnd()));
}

TEST(OwnedForms, TheDesktopShowsTheCaptionAsItReads) {
  Owned f;
  EXPECT_EQ(f.Caption(), "Adding && Manage");
  EXPECT_EQ(f.ClientWidget()->windowTitle(), "Adding & Manage");
  f.Caption("Salt && &Pepper");
  EXPECT_EQ(f.ClientWidget()->windowTitle(), "Salt & Pepper");
  // What the program set stays the window's text.
  EXPECT_EQ(win::GetWindowText(f.hWnd()), "Salt && &Pepper");
}

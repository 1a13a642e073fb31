#pragma once

#include <QListWidget>

namespace forms {

class ListControl;

// The widget of list boxes and file lists. A press, a drag or a key that
// chooses a row raises the control's Click once Qt has finished with the
// event: the handler sees the new row chosen, and may clear and refill the
// list without pulling items from under Qt's own handling of the press.
class ChoiceList : public QListWidget {
 public:
  explicit ChoiceList(ListControl& owner) : owner_(&owner) {}
  // The control is going: the widget stays quiet until Qt deletes it.
  void Detach() { owner_ = nullptr; }
  // The row that is current and selected, or -1: the control's ListIndex.
  int ChosenRow() const;
  // The height of one row in the list's font.
  int RowHeight() const;

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void Chosen();
  ListControl* owner_;
};

}  // namespace forms

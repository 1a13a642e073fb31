#include "choice_list.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "forms/controls.h"

namespace forms {

int ChoiceList::ChosenRow() const {
  const QListWidgetItem* cur = currentItem();
  return cur && cur->isSelected() ? row(cur) : -1;
}

int ChoiceList::RowHeight() const {
  return std::max(1, fontMetrics().height());
}

void ChoiceList::Chosen() {
  if (owner_) owner_->Click();
}

void ChoiceList::mousePressEvent(QMouseEvent* e) {
  const int before = ChosenRow();
  const QPersistentModelIndex at = indexAt(e->position().toPoint());
  QListWidget::mousePressEvent(e);
  const int after = ChosenRow();
  // A press on the entry already chosen is a click too.
  const bool onChosen = e->button() == Qt::LeftButton && at.isValid() && at.row() == after;
  if (after != before || (after >= 0 && onChosen)) Chosen();
}

void ChoiceList::mouseMoveEvent(QMouseEvent* e) {
  // Dragging with the button held chooses the row under the pointer.
  const int before = ChosenRow();
  QListWidget::mouseMoveEvent(e);
  if (ChosenRow() != before) Chosen();
}

void ChoiceList::keyPressEvent(QKeyEvent* e) {
  const int before = ChosenRow();
  // Qt marks a row current when the list takes the focus, without choosing
  // it; the arrows must start from the first row then, as nothing is chosen.
  if (before < 0 && currentIndex().isValid())
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  QListWidget::keyPressEvent(e);
  if (ChosenRow() != before) Chosen();
}

}  // namespace forms

#include "forms/list_box.h"

#include <QListWidget>
#include <algorithm>

#include "choice_list.h"
#include "list_tab_stops.h"
#include "qt_text.h"
#include "win/window.h"

namespace forms {

ListControl::ListControl(const ControlSite& site) : QtControl(site) {
  auto l = std::make_unique<ChoiceList>(*this);
  list_ = l.get();
  list_->setUniformItemSizes(true);
  QObject::connect(list_, &QListWidget::itemDoubleClicked,
                   [this](QListWidgetItem*) { DblClick(); });
  UseTabStops(*list_);
  static constexpr const char* kListClass = "TavrinelList";
  win::WNDCLASSEXA wc;
  if (!win::GetClassInfoExA(win::HINSTANCE(), kListClass, &wc)) {
    wc.lpfnWndProc = ListBoxWindowProc;
    wc.lpszClassName = kListClass;
    win::RegisterClassExA(&wc);
  }
  Attach(l.release(), kListClass);
  BackColor(0x80000005);
}

ListControl::~ListControl() {
  list_->Detach();
}

void ListControl::ApplyGeometry() {
  QtControl::ApplyGeometry();
  if (!integralHeight_ || !list_) return;
  // Like the platform's list boxes, the box drops the part of a row it
  // cannot show whole; one row it always shows.
  const int frame = 2 * list_->frameWidth();
  const int row = list_->RowHeight();
  const int rows = std::max(1, (list_->height() - frame) / row);
  list_->resize(list_->width(), rows * row + frame);
}

void ListControl::FontChanged() {
  ApplyGeometry();
}

void ListControl::AddItem(std::string_view item, int index) {
  settingByCode_ = true;
  if (index < 0 || index > list_->count())
    list_->addItem(Q(item));
  else
    list_->insertItem(index, Q(item));
  if (sorted_) list_->sortItems(Qt::AscendingOrder);
  settingByCode_ = false;
}

void ListControl::RemoveItem(int index) {
  if (index < 0 || index >= list_->count())
    throw RuntimeError(err::InvalidCall, "Invalid procedure call or argument");
  settingByCode_ = true;
  std::unique_ptr<QListWidgetItem> gone(list_->takeItem(index));
  settingByCode_ = false;
}

void ListControl::Clear() {
  settingByCode_ = true;
  list_->clear();
  settingByCode_ = false;
}

std::string ListControl::List(int index) const {
  if (index < 0 || index >= list_->count()) return {};
  return list_->item(index)->text().toStdString();
}

void ListControl::List(int index, std::string_view text) {
  if (index >= 0 && index < list_->count()) list_->item(index)->setText(Q(text));
}

int ListControl::ListCount() const {
  return list_->count();
}

int ListControl::ListIndex() const {
  return list_->ChosenRow();
}

void ListControl::ListIndex(int index) {
  if (index < -1 || index >= list_->count())
    throw RuntimeError(err::InvalidPropertyValue, "Invalid property value");
  settingByCode_ = true;
  if (index < 0) {
    list_->setCurrentRow(-1);
    list_->clearSelection();
  } else {
    list_->setCurrentRow(index);
  }
  settingByCode_ = false;
  Click();
}

std::string ListControl::Text() const {
  return List(ListIndex());
}

int ListControl::TopIndex() const {
  return list_->indexAt(QPoint(1, 1)).row();
}

void ListControl::TopIndex(int index) {
  if (index >= 0 && index < list_->count())
    list_->scrollToItem(list_->item(index), QAbstractItemView::PositionAtTop);
}

std::int32_t ListControl::ItemData(int index) const {
  if (index < 0 || index >= list_->count()) return 0;
  return list_->item(index)->data(Qt::UserRole).toInt();
}

void ListControl::ItemData(int index, std::int32_t data) {
  if (index >= 0 && index < list_->count()) list_->item(index)->setData(Qt::UserRole, data);
}

void ListControl::SetProperty(std::string_view name, const forms::Value& v) {
  if (name == "Sorted") {
    sorted_ = v.ToBool();
    if (sorted_) list_->sortItems();
  } else if (name == "IntegralHeight") {
    integralHeight_ = v.ToBool();
    ApplyGeometry();
  } else
    QtControl::SetProperty(name, v);
}

}  // namespace forms

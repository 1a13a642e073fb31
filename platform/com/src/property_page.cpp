#include "com/property_page.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "win/qt_window.h"

namespace com {

PropertyPage::PropertyPage(std::string_view description) : Form(description) {}

PropertyPage::~PropertyPage() = default;

void PropertyPage::SelectedControls(std::vector<forms::Control*> controls) {
  selected_ = std::move(controls);
  PropertyPage_SelectionChanged();
}

void PropertyPage::Changed(bool changed) {
  changed_ = changed;
  if (changedHook_) changedHook_();
}

void PropertyPage::Apply() {
  PropertyPage_ApplyChanges();
  Changed(false);
}

PropertyPageDialog::PropertyPageDialog(std::string_view caption,
                                       std::vector<std::unique_ptr<PropertyPage>> pages,
                                       std::vector<forms::Control*> selection)
    : pages_(std::move(pages)),
      selection_(std::move(selection)),
      dialog_(std::make_unique<QDialog>()) {
  dialog_->setWindowTitle(
      QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
  auto* layout = new QVBoxLayout(dialog_.get());
  tabs_ = new QTabWidget(dialog_.get());
  layout->addWidget(tabs_);
  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, dialog_.get());
  layout->addWidget(buttons);
  apply_ = buttons->button(QDialogButtonBox::Apply);
  QObject::connect(buttons->button(QDialogButtonBox::Ok), &QPushButton::clicked,
                   [this] { Press(Button::Ok); });
  QObject::connect(buttons->button(QDialogButtonBox::Cancel), &QPushButton::clicked,
                   [this] { Press(Button::Cancel); });
  QObject::connect(apply_, &QPushButton::clicked, [this] { Press(Button::Apply); });
  for (auto& page : pages_) {
    page->Load();
    // The page's window becomes the tab's content.
    QWidget* w = page->HostWidget();
    const QSize size = w->size();
    auto* holder = new QWidget;
    holder->setMinimumSize(size);
    w->setParent(holder);
    w->move(0, 0);
    w->show();
    tabs_->addTab(holder, QString::fromStdString(page->Caption()));
    page->changedHook_ = [this] { Refresh(); };
  }
  Refresh();
}

PropertyPageDialog::~PropertyPageDialog() {
  // The pages' windows go with their forms, before the dialog that holds them.
  for (auto& page : pages_) {
    page->changedHook_ = nullptr;
    page->HostWidget()->setParent(nullptr);
  }
  pages_.clear();
}

void PropertyPageDialog::Open(win::HWND owner) {
  if (!opened_) {
    opened_ = true;
    for (auto& page : pages_) page->SelectedControls(selection_);
    for (auto& page : pages_) page->Changed(false);
  }
  if (QWidget* parent = win::WindowWidget(owner))
    dialog_->setParent(parent, dialog_->windowFlags() | Qt::Dialog);
  dialog_->show();
}

bool PropertyPageDialog::ShowModal(win::HWND owner) {
  Open(owner);
  return dialog_->exec() == QDialog::Accepted;
}

void PropertyPageDialog::Press(Button button) {
  switch (button) {
    case Button::Ok:
      ApplyAll();
      dialog_->accept();
      break;
    case Button::Cancel:
      dialog_->reject();
      break;
    case Button::Apply:
      ApplyAll();
      break;
  }
}

void PropertyPageDialog::ApplyAll() {
  for (auto& page : pages_)
    if (page->Changed()) page->Apply();
  Refresh();
}

void PropertyPageDialog::Refresh() {
  bool any = false;
  for (auto& page : pages_) any = any || page->Changed();
  apply_->setEnabled(any);
}

void PropertyPageDialog::ShowPage(int index) {
  tabs_->setCurrentIndex(index);
}

bool PropertyPageDialog::ApplyEnabled() const {
  return apply_->isEnabled();
}

bool PropertyPageDialog::IsOpen() const {
  return dialog_->isVisible();
}

}  // namespace com

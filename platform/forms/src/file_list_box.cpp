#include "forms/file_list_box.h"

#include <QDir>

#include "choice_list.h"
#include "shell/folders.h"

namespace forms {

FileListBox::FileListBox(const ControlSite& site) : ListControl(site) {
  sorted_ = true;
  path_ = shell::ProgramFolder().string();
}

void FileListBox::Path(std::string_view folder) {
  const std::string path = shell::NativePath(folder).string();
  const bool same = path == path_;
  path_ = path;
  Fill(same);
}

void FileListBox::Pattern(std::string_view pattern) {
  pattern_ = pattern;
  Fill(false);
}

std::string FileListBox::FileName() const {
  return Text();
}

void FileListBox::Refresh() {
  Fill(true);
}

void FileListBox::Fill(bool keepChoice) {
  const QString chosen =
      keepChoice && ListIndex() >= 0 ? QString::fromStdString(Text()) : QString();
  const int top = TopIndex();
  Clear();
  QDir dir(QString::fromStdString(path_));
  const QStringList patterns = QString::fromStdString(pattern_).split(';', Qt::SkipEmptyParts);
  QStringList files =
      dir.entryList(patterns, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
  settingByCode_ = true;
  for (const QString& f : files) list_->addItem(f);
  // Reading the same folder again keeps the user's choice, so that a
  // handler that refreshes the list does not send the keyboard back to
  // the first file.
  if (const int row = chosen.isEmpty() ? -1 : static_cast<int>(files.indexOf(chosen)); row >= 0) {
    list_->setCurrentRow(row);
    if (top >= 0) TopIndex(top);
  }
  settingByCode_ = false;
}

void FileListBox::SetProperty(std::string_view name, const forms::Value& v) {
  if (name == "Path")
    Path(v.ToString());
  else if (name == "Pattern")
    Pattern(v.ToString());
  else
    ListControl::SetProperty(name, v);
}

}  // namespace forms

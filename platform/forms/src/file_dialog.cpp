#include "forms/file_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <cstring>
#include <filesystem>

#include "shell/folders.h"
#include "win/qt_window.h"

namespace forms {

namespace {

// The platform keeps the last error per thread, and so do test answers.
thread_local win::DWORD t_lastError = 0;
thread_local std::function<std::optional<std::string>(const testing::FileDialogQuestion&)> t_answer;

// "Pictures\0*.bmp;*.ico\0All\0*.*\0\0" as Qt's "Pictures (*.bmp *.ico)".
std::vector<std::string> Filters(const char* filter) {
  std::vector<std::string> out;
  if (!filter) return out;
  while (*filter) {
    const std::string name = filter;
    filter += name.size() + 1;
    if (!*filter) break;
    std::string patterns = filter;
    filter += patterns.size() + 1;
    for (char& c : patterns)
      if (c == ';') c = ' ';
    out.push_back(name + " (" + patterns + ")");
  }
  return out;
}

win::BOOL Fail(win::DWORD error) {
  t_lastError = error;
  return win::FALSE;
}

}  // namespace

win::BOOL GetOpenFileNameA(OPENFILENAMEA* ofn) {
  t_lastError = 0;
  if (!ofn || (ofn->lStructSize != 76 && ofn->lStructSize != sizeof(OPENFILENAMEA)))
    return Fail(CDERR_STRUCTSIZE);
  if (!ofn->lpstrFile || ofn->nMaxFile == 0) return Fail(CDERR_INITIALIZATION);

  testing::FileDialogQuestion q;
  q.title = ofn->lpstrTitle ? ofn->lpstrTitle : "Open";
  q.filters = Filters(ofn->lpstrFilter);
  std::string initial(ofn->lpstrFile, strnlen(ofn->lpstrFile, ofn->nMaxFile));
  q.fileName = initial;
  q.folder = ofn->lpstrInitialDir && *ofn->lpstrInitialDir
                 ? shell::NativePath(ofn->lpstrInitialDir).string()
                 : std::filesystem::current_path().string();
  q.fileMustExist = (ofn->Flags & OFN_FILEMUSTEXIST) != 0;

  std::optional<std::string> chosen;
  int filterIndex = static_cast<int>(ofn->nFilterIndex);
  if (t_answer) {
    chosen = t_answer(q);
  } else {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
      return Fail(CDERR_INITIALIZATION);
    QFileDialog dialog(win::WindowWidget(ofn->hwndOwner), QString::fromLocal8Bit(q.title.c_str()),
                       QString::fromLocal8Bit(q.folder.c_str()));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(q.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QStringList filters;
    for (const auto& f : q.filters) filters << QString::fromLocal8Bit(f.c_str());
    if (!filters.isEmpty()) {
      dialog.setNameFilters(filters);
      const int at = std::clamp(filterIndex, 1, static_cast<int>(filters.size())) - 1;
      dialog.selectNameFilter(filters[at]);
    }
    if (!initial.empty())
      dialog.selectFile(QString::fromLocal8Bit(shell::NativePath(initial).c_str()));
    if (ofn->lpstrDefExt && *ofn->lpstrDefExt) dialog.setDefaultSuffix(ofn->lpstrDefExt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return win::FALSE;
    chosen = dialog.selectedFiles().first().toLocal8Bit().toStdString();
    filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  }
  if (!chosen) return win::FALSE;  // cancelled: no error
  std::string path = *chosen;
  if (ofn->lpstrDefExt && *ofn->lpstrDefExt && std::filesystem::path(path).extension().empty())
    path += std::string(".") + ofn->lpstrDefExt;
  if (path.size() + 1 > ofn->nMaxFile) {
    // The size needed, in the buffer's first two bytes.
    if (ofn->nMaxFile >= 2) {
      const auto need = static_cast<win::WORD>(std::min<std::size_t>(path.size() + 1, 0xFFFF));
      std::memcpy(ofn->lpstrFile, &need, 2);
    }
    return Fail(FNERR_BUFFERTOOSMALL);
  }
  std::memcpy(ofn->lpstrFile, path.c_str(), path.size() + 1);
  const auto slash = path.find_last_of('/');
  const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
  ofn->nFileOffset = static_cast<win::WORD>(nameAt);
  const auto dot = path.find_last_of('.');
  ofn->nFileExtension =
      static_cast<win::WORD>(dot == std::string::npos || dot < nameAt ? path.size() : dot + 1);
  if (ofn->lpstrFileTitle && ofn->nMaxFileTitle) {
    const std::string title = path.substr(nameAt);
    const std::size_t n = std::min<std::size_t>(title.size(), ofn->nMaxFileTitle - 1);
    std::memcpy(ofn->lpstrFileTitle, title.data(), n);
    ofn->lpstrFileTitle[n] = '\0';
  }
  if (filterIndex > 0) ofn->nFilterIndex = static_cast<win::DWORD>(filterIndex);
  return win::TRUE;
}

win::DWORD CommDlgExtendedError() {
  return t_lastError;
}

namespace testing {
void AnswerFileDialogs(
    std::function<std::optional<std::string>(const FileDialogQuestion&)> answer) {
  t_answer = std::move(answer);
}
}  // namespace testing

}  // namespace forms

#pragma once

#include <string>
#include <string_view>

#include "forms/list_box.h"

namespace forms {

class FileListBox : public ListControl {
 public:
  explicit FileListBox(const ControlSite& site);
  std::string Path() const { return path_; }
  void Path(std::string_view folder);
  std::string Pattern() const { return pattern_; }
  void Pattern(std::string_view pattern);
  // The selected file's name, "" when none is selected.
  std::string FileName() const;
  // Reads the folder again; the chosen file stays chosen while it is there.
  void Refresh();

  void SetProperty(std::string_view name, const forms::Value& v) override;

 private:
  void Fill(bool keepChoice);
  std::string path_;
  std::string pattern_ = "*.*";
};

}  // namespace forms

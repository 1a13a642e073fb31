#include "design_session.h"

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "forms/app.h"
#include "forms/errors.h"
#include "forms/user_control.h"
#include "page_bitmaps.h"

namespace formprops {

namespace {

// The design description lives in a file of its own only while the form is
// made from it.
class TemporaryFile {
 public:
  TemporaryFile(const std::string& stem, const std::string& text)
      : path_(std::filesystem::temp_directory_path() /
              ("FormProperties-" + std::to_string(::getpid()) + "-" + stem + ".json")) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << text;
    ok_ = static_cast<bool>(out.flush());
  }
  ~TemporaryFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  bool ok() const { return ok_; }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
  bool ok_ = false;
};

}  // namespace

void RegisterDesignControl() {
  static const bool once = [] {
    forms::RegisterControlType<BagMenuHost>(kMenuControlClass);
    return true;
  }();
  (void)once;
}

std::unique_ptr<DesignSession> DesignSession::Open(const std::string& path, std::string& error) {
  RegisterDesignControl();
  std::optional<FormFile> file = FormFile::Open(path, error);
  if (!file) return nullptr;
  const TemporaryFile description(file->FormName(), file->DesignDescription());
  if (!description.ok()) {
    error =
        "Cannot prepare the form " + path + " for editing: the temporary folder cannot be written.";
    return nullptr;
  }
  try {
    auto form = std::make_unique<DesignForm>(description.path());
    return std::unique_ptr<DesignSession>(new DesignSession(std::move(*file), std::move(form)));
  } catch (const forms::RuntimeError& e) {
    error = "The form description " + path + " cannot be shown: " + e.what() + ".";
    return nullptr;
  }
}

DesignSession::DesignSession(FormFile file, std::unique_ptr<DesignForm> form)
    : file_(std::move(file)), form_(std::move(form)) {}

DesignSession::~DesignSession() {
  dialog_.reset();
  form_.reset();
}

BagMenuHost& DesignSession::Control() const {
  return form_->Get<BagMenuHost>(file_.ControlName());
}

com::PropertyPageDialog& DesignSession::Dialog() {
  if (!dialog_) {
    BagMenuHost& control = Control();
    control.Applied = [this] { Save(); };
    std::vector<std::unique_ptr<com::PropertyPage>> pages;
    pages.push_back(ornatek::MakeBitmapsPage());
    pages.push_back(com::MakeStandardFontPage());
    const std::string file = std::filesystem::path(file_.Path()).filename().string();
    dialog_.emplace(file_.ControlName() + " Properties - " + file, std::move(pages),
                    std::vector<forms::Control*>{&control});
  }
  return *dialog_;
}

bool DesignSession::Save() {
  std::string error;
  if (file_.SaveBag(Control().WriteProperties(), error)) return true;
  forms::MsgBox(error, forms::vbExclamation, "FormProperties");
  return false;
}

}  // namespace formprops

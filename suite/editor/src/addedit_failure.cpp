#include "suite/addedit_failure.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "forms/app.h"
#include "shell/folders.h"

namespace dialogra {
namespace {

std::string InUse(const std::vector<dao::Holder>& holders, std::string_view heldHere) {
  std::vector<std::string> others;
  bool self = false;
  for (const dao::Holder& h : holders) {
    if (h.thisProcess)
      self = true;
    else if (!h.program.empty() &&
             std::find(others.begin(), others.end(), h.program) == others.end())
      others.push_back(h.program);
  }
  if (!others.empty()) {
    std::string names = others[0];
    for (std::size_t i = 1; i < others.size(); ++i)
      names += (i + 1 == others.size() ? " and " : ", ") + others[i];
    return "it is in use by " + names + ". Close " + (others.size() == 1 ? "it" : "them") +
           " and try again.";
  }
  if (self && !heldHere.empty()) return std::string(heldHere);
  if (self) return "this program uses it elsewhere at the moment.";
  return "it is in use by another program. Close that program and try again.";
}

// Plain words for the failures a user can do something about; the engine's
// own text for the rest.
std::string Reason(const dao::Error& e, const std::vector<dao::Holder>& holders = {},
                   std::string_view heldHere = {}) {
  switch (e.number()) {
    case dao::err::kFileNotFound:
      return "the file does not exist.";
    case dao::err::kInvalidPath:
      return "its folder does not exist.";
    case dao::err::kFileInUse:
    case dao::err::kHeldExclusively:
    case dao::err::kLocked:
      return InUse(holders, heldHere);
    case dao::err::kInvalidPassword:
      // The books' passwords are built in: a file they do not open is no
      // word book of this kind, or a damaged one.
      return "the file is damaged, or it is not a word book.";
    case dao::err::kNotADatabase:
    case dao::err::kCorrupt:
      return "the file is damaged.";
    case dao::err::kNoSuchTable:
    case dao::err::kTooFewParameters:
    case dao::err::kItemNotFound:
      return "the file is damaged: it holds no word list of the right kind.";
    case dao::err::kNoPermission:
    case dao::err::kReadOnly:
      return "you may not change this file.";
    case dao::err::kDiskFull:
      return "the disk is full.";
    case dao::err::kDiskError:
      return "the disk could not be written.";
    default:
      return e.what();
  }
}

}  // namespace

std::string OpenFailureText(std::string_view path, const dao::Error& e,
                            const std::vector<dao::Holder>& holders, std::string_view heldHere) {
  const std::string head = "The word book \"" + std::string(path) + "\" could not be opened: ";
  if (e.number() == dao::err::kNoPermission) {
    // The book keeps its lock beside it: a folder closed to writing refuses
    // the book however open the file itself is.
    const std::filesystem::path file = shell::NativePath(path);
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    if (::access(file.c_str(), W_OK) == 0 && ::access(folder.c_str(), W_OK) != 0)
      return head + "you may not write in its folder \"" + folder.string() +
             "\", which changing the book needs.";
  }
  return head + Reason(e, holders, heldHere);
}

std::string ChangeFailureText(std::string_view what, std::string_view path, const dao::Error& e) {
  return std::string(what) + " in the word book \"" + std::string(path) + "\": " + Reason(e) +
         " The book is unchanged.";
}

void OpenFailureNotice::Failed(std::string_view path, const dao::Error& e) {
  std::string text = OpenFailureText(shell::NativePath(path).string(), e);
  if (text == said_) return;
  said_ = text;
  forms::MsgBox(text + "\n\nThe trainer goes on trying it.", forms::vbExclamation);
}

}  // namespace dialogra

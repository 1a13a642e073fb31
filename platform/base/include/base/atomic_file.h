#pragma once

// Replacing a file so that it holds either its old or its new content,
// whatever happens meanwhile (a full disk, a crash, a power cut): the new
// content goes to a temporary file beside it, reaches the disk, and then
// takes the file's name in one rename.
//
// Each function returns an empty text on success, otherwise what failed in
// words that name the file, e.g. "cannot write /a/b.tmp: No space left on
// device". A failure leaves the old file whole and no temporary behind.

#include <filesystem>
#include <string>
#include <string_view>

namespace base {

// Writes bytes to temp (made with the given permissions, less the umask),
// then puts it in target's place as CommitFile does. temp must lie in
// target's folder; callers that may write at once from several processes
// give each its own temp, or hold a lock.
[[nodiscard]] std::string WriteFileAtomically(const std::filesystem::path& target,
                                              const std::filesystem::path& temp,
                                              std::string_view bytes, unsigned mode = 0666);

// Puts a finished temp (written by anyone, a database engine say) in
// target's place: flushes it to disk, renames it over target and flushes
// the folder.
[[nodiscard]] std::string CommitFile(const std::filesystem::path& temp,
                                     const std::filesystem::path& target);

}  // namespace base

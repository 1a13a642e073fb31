#pragma once

// Checks a control library's file before it is loaded. Loading maps the
// file's segments into the host: a file cut short (an interrupted copy)
// would fault on first touch, and a library made by another build of the
// platform may take the host down at once. So the file is read first, by its
// own headers, and refused in plain words.

#include <filesystem>
#include <string>
#include <string_view>

namespace com::detail {

// Why `file` may not be loaded into a host of the build `identity`, in plain
// words (without the file's name); empty when it may.
std::string LibraryFileProblem(const std::filesystem::path& file, std::string_view identity);

}  // namespace com::detail

// Files the program writes for the user: replaced whole or not at all, in folders that
// are private to the user when the program makes them.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace melodane::on_linux {

// Writes a temporary file beside `path` and renames it over `path` once it is whole on
// disk; on any failure the temporary file goes and `path` is as it was. A process killed
// meanwhile may leave at most a whole copy beside it, never a part (where the file
// system has unnamed temporary files).
bool ReplaceFileWhole(const std::string& path, std::string_view text, mode_t mode);

// Makes each missing folder on the path with mode 0700, as the XDG base-directory rules
// ask; true when the folder exists afterwards.
bool MakePrivateFolders(const std::string& folder);

}  // namespace melodane::on_linux

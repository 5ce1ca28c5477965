#pragma once
// Writing files so that a failure never costs the previous contents, and
// making the folders they live in.
#include <string>
#include <string_view>

namespace vantor {

// Replaces the file at `path` with `bytes`: the text goes to a new file in the
// same folder, is flushed to the disk and then renamed over the old one, so
// readers see either the old file or the whole new one, never a part.
// A symbolic link is followed and the file it names is replaced, so the link
// stays; an existing file keeps its permissions.
// False, with the old file untouched and no temporary file left behind, when
// anything fails, and also when the path names something other than a regular
// file (a folder, a device, a pipe) or a file without write permission.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// Creates the folder and every missing folder above it; true when the whole
// path exists as a folder afterwards.
[[nodiscard]] bool MakeFolderPath(const std::string& folder);

}  // namespace vantor

#pragma once
// The input file and the recent output folders, the parts with no window.
#include <string>

namespace vantor {

// Empties the input list and adds the path; false when refused (zero size or
// an extension that is not accepted). A missing file is taken.
bool AddInputFile(const std::string& path);
// Puts a folder at the head of RecentOutFolders; false for an empty folder.
bool RememberOutputFolder(const std::string& folder);
// Entry index (from 0) of RecentOutFolders, trimmed; "" beyond the end.
std::string RecentOutputFolder(int index);

}  // namespace vantor

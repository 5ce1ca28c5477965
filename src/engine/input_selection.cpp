#include "engine/input_selection.h"

#include "core/settings.h"
#include "core/state.h"
#include "engine/naming.h"
#include "formats/catalogue.h"
#include "platform/crc.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vantor {

bool AddInputFile(const std::string& path) {
    PathInfo info = QueryPath(path);
    if (info.kind == PathInfo::File && info.size == 0) return false;
    if (info.kind == PathInfo::Folder) return false;  // a folder has no size either
    size_t dot = path.find_last_of('.');
    std::string extension = dot == std::string::npos ? std::string() : path.substr(dot + 1);
    if (!IsAcceptedExtension(ToLower(extension))) return false;
    InputList().clear();
    InputList()[path] = InputEntry{1, RelativeSubfolderOf(path, State().InputFolder)};
    // The window's input field and output folder box come with the desktop face.
    return true;
}

bool RememberOutputFolder(const std::string& folder) {
    if (folder.empty()) return false;
    const int limit = Settings().OutFoldersNumber;
    const uint32_t newKey = Crc32OfText(ToUpper(folder));
    std::string list = folder;
    int kept = 0;
    for (int i = 0; i < limit; ++i) {
        std::string entry = RecentOutputFolder(i);
        if (!entry.empty() && kept < limit - 1 && Crc32OfText(ToUpper(entry)) != newKey) {
            list += "\t" + entry;
            ++kept;
        }
    }
    Settings().RecentOutFolders = list;
    return true;
}

std::string RecentOutputFolder(int index) {
    std::vector<std::string> fields = Split(Settings().RecentOutFolders, '\t');
    if (index < 0 || static_cast<size_t>(index) >= fields.size()) return {};
    return Trim(fields[static_cast<size_t>(index)], " ");
}

}  // namespace vantor

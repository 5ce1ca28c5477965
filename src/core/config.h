#pragma once
// config.ini: the settings the desktop face keeps between runs. Users edit
// the file by hand and copy it between machines, so its layout is fixed to
// the byte; loading takes whatever it finds and never fails, and saving never
// leaves a half-written file behind.
#include <string>

namespace vantor {

// The per-user folder: $XDG_CONFIG_HOME (when absolute), else $HOME/.config,
// then `first`/ and `second`/, with a trailing "/". Missing levels are
// created; a level that cannot be created is not reported (loading then finds
// no file and saving fails). Empty when no home folder can be found.
std::string PerUserFolder(const std::string& first, const std::string& second);

// Builds the path of config.ini in the per-user folder "Tarnwell/vantor/",
// stores it in Settings().ConfigPath and returns it.
std::string MakeConfigPath();

// Fills every field of Settings() from the file at Settings().ConfigPath.
// No file (or one that is not a regular file) gives ResetSettings(false);
// otherwise each missing key keeps its default, except "X" and "Y" (100) and
// "CFG" (0). Older layouts are upgraded and the CsvDelimiter tokens mapped.
void LoadConfig();

// Writes Settings() to Settings().ConfigPath in the fixed layout, creating
// the folder when it is missing. The old file is replaced only by a complete
// new one: false when anything fails, and then the old file is unchanged.
[[nodiscard]] bool SaveConfig();

// The configuration part of the window shutdown: empties RecentOutFolders
// when OutFoldersHistory is off, then saves. Same result as SaveConfig.
[[nodiscard]] bool SaveConfigAtShutdown();

}  // namespace vantor

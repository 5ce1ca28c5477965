#pragma once
// The one reader of INI-style files: the configuration file, command-line
// profiles and language files all follow its rules.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantor {

struct IniGroup {
    std::string name;  // as written
    std::vector<std::pair<std::string, std::string>> entries;  // file order

    // First key equal to the given one, ignoring letter case.
    std::optional<std::string> Find(std::string_view key) const;
};

struct IniDocument {
    std::vector<IniGroup> groups;  // file order; keys before any group: name ""

    // First group of that name, ignoring letter case; nullptr when absent.
    const IniGroup* FindGroup(std::string_view name) const;
    std::optional<std::string> Value(std::string_view group, std::string_view key) const;
};

// With a UTF-8 byte-order mark the text is UTF-8; without, Latin-1.
IniDocument ParseIni(std::string_view bytes);
// False when the file cannot be opened.
[[nodiscard]] bool LoadIniFile(const std::string& path, IniDocument& document);

// Number readers of the format: the leading decimal integer (0 when none),
// and a float that also knows "+Infinity", "-Infinity" and "NaN".
long long IniInteger(std::string_view value);
float IniFloat(std::string_view value);

}  // namespace vantor

#pragma once
// The string table: every visible text, looked up by group and key, built
// from the English texts compiled into the program and optionally overlaid
// by a language file read with the INI reader.
#include <string>
#include <string_view>

namespace vantor {

// Builds the table; an empty or unreadable language file keeps English.
bool LoadStringTable(const std::string& languageFile);
// The text, or "%NO_STRING_ERROR%" when the group or key is not found.
std::string LookupText(std::string_view group, std::string_view key);
// Fills "%s1%" to "%s4%" (any letter case) with the non-empty arguments.
std::string FormatText(std::string_view text, std::string_view s1 = {}, std::string_view s2 = {},
                       std::string_view s3 = {}, std::string_view s4 = {});

}  // namespace vantor

#pragma once
// Text helpers for UTF-8 strings. Case mapping is Unicode-aware and lives only
// here, so every caller upper- or lower-cases text the same way.
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);
// First character upper case, the rest lower case ("mY_PHOTO" -> "My_photo").
std::string ToTitle(std::string_view text);

// Removes the given characters from both ends (default: spaces and tabs).
std::string Trim(std::string_view text, std::string_view chars = " \t");
std::string TrimLeft(std::string_view text, std::string_view chars = " \t");
std::string TrimRight(std::string_view text, std::string_view chars = " \t");

bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Byte position of needle in text ignoring letter case, or npos.
size_t FindNoCase(std::string_view text, std::string_view needle, size_t from = 0);
bool ContainsNoCase(std::string_view text, std::string_view needle);
// Replaces every occurrence of needle (any letter case) by replacement.
std::string ReplaceAllNoCase(std::string_view text, std::string_view needle,
                             std::string_view replacement);
std::string ReplaceAll(std::string_view text, std::string_view needle,
                       std::string_view replacement);
std::vector<std::string> Split(std::string_view text, char separator);

// Latin-1 bytes to UTF-8 (files without a byte-order mark are read this way).
std::string Latin1ToUtf8(std::string_view bytes);

// Leading integer of a text as the INI reader and option parser read it:
// optional spaces/tabs, optional sign, decimal digits; stops at anything else.
long long LeadingInteger(std::string_view text);

}  // namespace vantor

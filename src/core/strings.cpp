#include "core/strings.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "core/ini.h"
#include "core/strings_table.h"
#include "platform/text.h"

namespace vantor {
namespace {

constexpr std::string_view kGroupMark = "_GROUP_";
constexpr std::string_view kEndMark = "_END_";
constexpr const char* kNoString = "%NO_STRING_ERROR%";

StringTable& Table() {
    static StringTable table;
    return table;
}

// Code of the first character when it is below 256 (the reach of charIndex),
// else -1. Keys are UTF-8, so U+0080..U+00FF arrive as two bytes.
int FirstCharCode(std::string_view key) {
    if (key.empty()) return -1;
    const auto b0 = static_cast<unsigned char>(key[0]);
    if (b0 < 0x80) return b0;
    if ((b0 == 0xC2 || b0 == 0xC3) && key.size() >= 2) {
        const auto b1 = static_cast<unsigned char>(key[1]);
        if ((b1 & 0xC0) == 0x80) return ((b0 & 0x1F) << 6) | (b1 & 0x3F);
    }
    return -1;
}

// Sorts one group's entries by key (then text, as the combined key/text
// order does) and records where each first character starts.
void SortGroup(StringTable& table, StringGroup& group) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (int32_t k = group.first; k <= group.last; ++k)
        entries.emplace_back(std::move(table.keys[k]), std::move(table.values[k]));
    std::sort(entries.begin(), entries.end());

    int previous = 0;
    int32_t k = group.first;
    for (auto& [key, value] : entries) {
        const int c = FirstCharCode(key);
        if (c >= 0 && c != previous) group.charIndex[static_cast<size_t>(c)] = k;
        previous = c;
        table.keys[k] = std::move(key);
        table.values[k] = std::move(value);
        ++k;
    }
}

// Replaces the texts of every group that the language file also has.
void OverlayLanguageFile(StringTable& table, const std::string& path) {
    IniDocument document;
    if (path.empty() || !LoadIniFile(path, document)) return;  // English stays
    for (size_t g = 1; g < table.groups.size(); ++g) {
        const StringGroup& group = table.groups[g];
        if (group.first > group.last) continue;
        const IniGroup* fileGroup = document.FindGroup(group.name);
        if (!fileGroup) continue;
        for (int32_t k = group.first; k <= group.last; ++k)
            if (auto text = fileGroup->Find(table.keys[k])) table.values[k] = *text;
    }
}

}  // namespace

const StringTable& TheStringTable() {
    return Table();
}

bool LoadStringTable(const std::string& languageFile) {
    StringTable& table = Table();
    table = StringTable{};
    table.groups.emplace_back();  // placeholder 0, never matched

    // The rows go into the table in their order; each group's entries are
    // contiguous, and a group ends where the next one begins.
    table.keys.emplace_back();
    table.values.emplace_back();
    for (const StringPair& row : EnglishStrings()) {
        const std::string key = ToUpper(row.key);
        if (key == kEndMark) break;
        if (key == kGroupMark) {
            StringGroup group;
            group.name = ToUpper(row.value);
            group.first = static_cast<int32_t>(table.keys.size());
            group.last = group.first - 1;
            table.groups.push_back(std::move(group));
            continue;
        }
        if (table.groups.size() == 1) continue;  // rows before any group belong nowhere
        table.keys.push_back(key);
        table.values.emplace_back(row.value);
        table.groups.back().last = static_cast<int32_t>(table.keys.size()) - 1;
    }

    for (size_t g = 1; g < table.groups.size(); ++g)
        if (table.groups[g].first <= table.groups[g].last) SortGroup(table, table.groups[g]);

    OverlayLanguageFile(table, languageFile);
    return true;
}

std::string LookupText(std::string_view group, std::string_view key) {
    StringTable& table = Table();
    const std::string groupName = ToUpper(group);
    const std::string wanted = ToUpper(key);

    const auto count = static_cast<int32_t>(table.groups.size());
    if (table.cursor <= 0 || table.cursor >= count ||
        table.groups[table.cursor].name != groupName) {
        table.cursor = 0;
        for (int32_t g = 1; g < count; ++g) {
            if (table.groups[g].name == groupName) {
                table.cursor = g;
                break;
            }
        }
    }
    if (table.cursor == 0) return kNoString;

    const StringGroup& found = table.groups[table.cursor];
    const int c = FirstCharCode(wanted);
    if (c < 0) return kNoString;
    // Entries are sorted, so the scan from the first key with this initial
    // stops as soon as the keys pass the one sought.
    for (int32_t k = found.charIndex[static_cast<size_t>(c)]; k != 0 && k <= found.last; ++k) {
        const int order = wanted.compare(table.keys[k]);
        if (order == 0) return table.values[k];
        if (order < 0) break;
    }
    return kNoString;
}

std::string FormatText(std::string_view text, std::string_view s1, std::string_view s2,
                       std::string_view s3, std::string_view s4) {
    if (text.empty()) return {};
    const std::pair<const char*, std::string_view> fills[] = {
        {"%s1%", s1}, {"%s2%", s2}, {"%s3%", s3}, {"%s4%", s4}};
    std::string result(text);
    // One after the other, so an argument may itself carry a later placeholder.
    for (const auto& [placeholder, argument] : fills)
        if (!argument.empty()) result = ReplaceAllNoCase(result, placeholder, argument);
    return result;
}

}  // namespace vantor

#pragma once
// The inside of the string table: the built-in English rows it is built from
// and the sorted table itself. Callers outside the table use strings.h.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vantor {

// One row of the built-in texts. A row whose key is "_GROUP_" starts a group
// named by its value; the row "_END_" closes the data.
struct StringPair {
    const char* key;
    const char* value;
};
std::span<const StringPair> EnglishStrings();

struct StringGroup {
    std::string name;  // upper case
    int32_t first = 1;
    int32_t last = 0;  // first - 1 when the group is empty
    // Slot c: first entry whose key starts with the character of code c; 0 for none.
    std::array<int32_t, 256> charIndex{};
};

struct StringTable {
    std::vector<StringGroup> groups;  // [0] is a placeholder that never matches
    std::vector<std::string> keys;    // [0] unused; upper-cased keys, sorted per group
    std::vector<std::string> values;  // parallel to keys
    int32_t cursor = 0;               // group of the last lookup
};
// The process-wide table that LoadStringTable builds.
const StringTable& TheStringTable();

}  // namespace vantor

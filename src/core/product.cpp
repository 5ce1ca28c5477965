#include "core/product.h"

#include <cstdio>
#include <cstdlib>

#include "platform/instance_lock.h"

namespace vantor {

std::string VersionText(int version) {
    std::string text = std::to_string(version);
    if (text.size() >= 2) text.insert(1, ".");
    if (text.size() >= 4) text.insert(3, ".");
    if (!text.empty() && text.back() == '0') text = text.substr(0, 3);
    return text;
}

std::string ProductTitle() { return std::string(kProductName) + " " + VersionText(kVersionNumber); }

const IconTable& ButtonIconIds() {
    static const IconTable table{{"Convert", 2}, {"InFiles", 3}, {"InFolder", 4}};
    return table;
}

const IconTable& MenuIconIds() {
    static const IconTable table{
        {"New", 5},          {"Add", 6},        {"InFiles", 7},      {"InFolder", 8},
        {"OutFolder", 9},    {"OutFormat", 10}, {"FavFolder", 11},   {"ImportFiles", 12},
        {"ExportFiles", 13}, {"Exit", 14},      {"Copy", 15},        {"Delete", 16},
        {"SelectAll", 17},   {"Convert", 18},   {"Error", 19},       {"Preferences", 20},
        {"CustomConverter", 21}, {"Help", 22},  {"Email", 25},       {"Web", 26},
        {"Updates", 27},     {"About", 28}};
    return table;
}

const IconTable& ToolbarIconIds() {
    // The same names, each in its menu slot plus 24.
    static const IconTable table = [] {
        IconTable t;
        for (const auto& [name, slot] : MenuIconIds()) t.emplace_back(name, slot + 24);
        return t;
    }();
    return table;
}

void ExitSequence() {
    std::fflush(stdout);
    ReleaseInstanceLock();
    std::exit(0);
}

}  // namespace vantor

#include "core/ini.h"

#include <locale.h>
#include <stdlib.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/files.h"
#include "platform/text.h"

namespace vantor {

std::optional<std::string> IniGroup::Find(std::string_view key) const {
    std::string wanted = ToUpper(key);
    for (const auto& [k, v] : entries)
        if (ToUpper(k) == wanted) return v;
    return std::nullopt;
}

const IniGroup* IniDocument::FindGroup(std::string_view name) const {
    std::string wanted = ToUpper(name);
    for (const IniGroup& g : groups)
        if (ToUpper(g.name) == wanted) return &g;
    return nullptr;
}

std::optional<std::string> IniDocument::Value(std::string_view group, std::string_view key) const {
    const IniGroup* g = FindGroup(group);
    return g ? g->Find(key) : std::nullopt;
}

IniDocument ParseIni(std::string_view bytes) {
    std::string text;
    if (StartsWith(bytes, "\xEF\xBB\xBF"))
        text = std::string(bytes.substr(3));
    else
        text = Latin1ToUtf8(bytes);

    IniDocument doc;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        std::string line = TrimLeft(std::string_view(text).substr(pos, end - pos));
        pos = end + 1;
        if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;

        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            doc.groups.push_back({line.substr(1, close == std::string::npos ? std::string::npos
                                                                             : close - 1),
                                  {}});
            continue;
        }
        size_t eq = line.find('=');
        std::string key = TrimRight(line.substr(0, eq));
        std::string value = eq == std::string::npos ? std::string() : Trim(line.substr(eq + 1));
        if (doc.groups.empty()) doc.groups.push_back({"", {}});
        doc.groups.back().entries.emplace_back(std::move(key), std::move(value));
        if (end >= text.size()) break;
    }
    return doc;
}

bool LoadIniFile(const std::string& path, IniDocument& document) {
    if (QueryPath(path).kind != PathInfo::File) return false;
    bool ok = false;
    std::string bytes = ReadWholeFile(path, &ok);
    if (!ok) return false;
    document = ParseIni(bytes);
    return true;
}

long long IniInteger(std::string_view value) { return LeadingInteger(value); }

float IniFloat(std::string_view value) {
    std::string v = ToUpper(Trim(value));
    if (v == "+INFINITY" || v == "INFINITY") return std::numeric_limits<float>::infinity();
    if (v == "-INFINITY") return -std::numeric_limits<float>::infinity();
    if (v == "NAN" || v == "+NAN" || v == "-NAN") return std::numeric_limits<float>::quiet_NaN();
    // Decimal point only, whatever the process locale says: the window's
    // toolkit adopts the user's locale, where "2.5" could read as 2.
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    const char* start = v.c_str();
    char* stop = nullptr;
    double d = cLocale ? strtod_l(start, &stop, cLocale) : std::strtod(start, &stop);
    if (stop == start) return 0.0f;
    return static_cast<float>(d);
}

}  // namespace vantor

#include "core/strings.h"

namespace vantor {
// Placeholder until the string table lands.
bool LoadStringTable(const std::string&) { return true; }
std::string LookupText(std::string_view, std::string_view) { return "%NO_STRING_ERROR%"; }
std::string FormatText(std::string_view text, std::string_view, std::string_view,
                       std::string_view, std::string_view) {
    return std::string(text);
}
}  // namespace vantor

#include "engine/naming.h"

#include <cstdio>
#include <functional>

#include "core/settings.h"
#include "core/state.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/text.h"

namespace vantor {
namespace {

std::string TwoDigits(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", value);
    return buf;
}

// Padded on the left to five characters; a longer number keeps its first five.
std::string FiveCharacters(int32_t value) {
    std::string text = std::to_string(value);
    if (text.size() < 5) text.insert(0, 5 - text.size(), '0');
    return text.substr(0, 5);
}

struct TokenRow {
    const char* token;
    std::function<std::string()> value;
};

// The tokens in the order they are examined; the date tokens read the clock
// when they are replaced.
const std::vector<TokenRow>& Tokens() {
    static const std::vector<TokenRow> rows{
        {"%filename%", [] { return FileNameWithoutExtension(State().CurrentInput); }},
        {"%filename[u]%", [] { return ToUpper(FileNameWithoutExtension(State().CurrentInput)); }},
        {"%filename[l]%", [] { return ToLower(FileNameWithoutExtension(State().CurrentInput)); }},
        {"%filename[t]%", [] { return ToTitle(FileNameWithoutExtension(State().CurrentInput)); }},
        {"%ext%", [] { return State().OutputExtension; }},
        {"%ext[u]%", [] { return ToUpper(State().OutputExtension); }},
        {"%ext[t]%", [] { return ToTitle(State().OutputExtension); }},
        {"%yyyy%", [] { return std::to_string(NowLocalTm().tm_year + 1900); }},
        {"%mm%", [] { return TwoDigits(NowLocalTm().tm_mon + 1); }},
        {"%dd%", [] { return TwoDigits(NowLocalTm().tm_mday); }},
        {"%hh%", [] { return TwoDigits(NowLocalTm().tm_hour); }},
        {"%ii%", [] { return TwoDigits(NowLocalTm().tm_min); }},
        {"%ss%", [] { return TwoDigits(NowLocalTm().tm_sec); }},
        {"%bpp%", [] { return std::to_string(State().OutputBpp); }},
        {"%width%", [] { return std::to_string(State().FinalWidth); }},
        {"%height%", [] { return std::to_string(State().FinalHeight); }},
        {"%rnd%", [] { return FiveCharacters(State().RandomNumber); }},
        {"%n%", [] { return FiveCharacters(State().SequenceNumber); }},
    };
    return rows;
}

std::string OutputFolderWithSubfolder() {
    std::string folder = State().OutputFolder;
    if (Settings().KeepSubfolders) folder += State().RelativeSubfolder;
    return folder;
}

}  // namespace

std::string ReplaceMaskToken(const std::string& text, const std::string& token) {
    for (const TokenRow& row : Tokens())
        if (EqualsNoCase(row.token, token)) return ReplaceAllNoCase(text, row.token, row.value());
    return text;
}

std::string ExpandFilenameMask() {
    std::string mask = ToLower(Settings().FilenameMask);
    if (mask.empty()) mask = "%filename%.%ext%";
    for (const TokenRow& row : Tokens())
        if (mask.find(row.token) != std::string::npos) mask = ReplaceMaskToken(mask, row.token);
    return mask;
}

std::string ExpandWatermarkText(const std::string& text) {
    size_t percents = 0;
    for (char c : text) percents += c == '%';
    if (percents <= 1) return text;
    std::string lower = ToLower(text);
    std::string working = text;
    for (const TokenRow& row : Tokens())
        if (lower.find(row.token) != std::string::npos) working = ReplaceMaskToken(working, row.token);
    return working;
}

std::string OutputFilePath() { return OutputFolderWithSubfolder() + ExpandFilenameMask(); }

std::string TemporaryFilePath() {
    return OutputFolderWithSubfolder() + RandomLetterName("vantor", "") + "." +
           State().OutputExtension;
}

std::string RandomLetterName(const std::string& prefix, const std::string& suffix) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz";
    std::string letters;
    for (char digit : std::to_string(NowLocalSeconds()))
        if (digit >= '0' && digit <= '9') letters += kLetters[digit - '0'];
    for (int i = 0; i < 5; ++i) letters += kLetters[RandomInt(0, 25)];
    return prefix + letters + suffix;
}

std::string RelativeSubfolderOf(const std::string& path, const std::string& baseFolder) {
    if (path.empty() || baseFolder.empty()) return {};
    size_t slash = path.find_last_of("/\\");
    std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    if (folder.find(baseFolder) == std::string::npos) return {};
    return ReplaceAll(folder, baseFolder, "");
}

std::string FileNameWithoutExtension(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!name.empty() && name[0] == '"') name.erase(0, 1);
    size_t quote = name.find('"');
    if (quote != std::string::npos) name.erase(quote);
    for (size_t i = name.size(); i-- > 0;) {
        char c = name[i];
        if (c == ' ' || c == '/' || c == '\\') break;
        if (c == '.') return i == 0 ? name : name.substr(0, i);
    }
    return name;
}

std::string ExtensionOf(const std::string& path) {
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos) return {};
    size_t stop = path.find_last_of("/\\ ");
    if (stop != std::string::npos && stop > dot) return {};
    return path.substr(dot + 1);
}

void ResetNameCounters() {
    State().SequenceNumber = 1;
    State().RandomNumber = RandomInt(1, 99999);
}

void AdvanceNameCounters() {
    State().RandomNumber = RandomInt(1, 99999);
    State().SequenceNumber += 1;
}

}  // namespace vantor

#include "platform/text.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

namespace vantor {
namespace {

// A C.UTF-8 locale object so case mapping does not depend on the process locale.
locale_t Utf8Locale() {
    static locale_t loc = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
        if (!l) l = newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
        return l;
    }();
    return loc;
}

// Decodes one UTF-8 sequence at text[i]; invalid bytes come back as themselves.
char32_t DecodeAt(std::string_view text, size_t& i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (c < 0x80 || c < 0xC0 || i + extra >= text.size()) {
        ++i;
        return c;
    }
    char32_t cp = c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        unsigned char cc = static_cast<unsigned char>(text[i + k]);
        if ((cc & 0xC0) != 0x80) {
            ++i;
            return c;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    i += extra + 1;
    return cp;
}

void Encode(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

template <typename Map>
std::string MapCase(std::string_view text, Map map) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(map(c));
            ++i;
            continue;
        }
        size_t start = i;
        char32_t cp = DecodeAt(text, i);
        if (i == start + 1 && cp == c) {
            out += static_cast<char>(c);  // stray byte: keep as is
            continue;
        }
        Encode(static_cast<char32_t>(map(static_cast<wint_t>(cp))), out);
    }
    return out;
}

}  // namespace

std::string ToUpper(std::string_view text) {
    return MapCase(text, [](wint_t c) { return towupper_l(c, Utf8Locale()); });
}

std::string ToLower(std::string_view text) {
    return MapCase(text, [](wint_t c) { return towlower_l(c, Utf8Locale()); });
}

std::string ToTitle(std::string_view text) {
    if (text.empty()) return {};
    size_t i = 0;
    DecodeAt(text, i);
    return ToUpper(text.substr(0, i)) + ToLower(text.substr(i));
}

std::string TrimLeft(std::string_view text, std::string_view chars) {
    size_t b = text.find_first_not_of(chars);
    return b == std::string_view::npos ? std::string() : std::string(text.substr(b));
}

std::string TrimRight(std::string_view text, std::string_view chars) {
    size_t e = text.find_last_not_of(chars);
    return e == std::string_view::npos ? std::string() : std::string(text.substr(0, e + 1));
}

std::string Trim(std::string_view text, std::string_view chars) {
    return TrimRight(TrimLeft(text, chars), chars);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool EqualsNoCase(std::string_view a, std::string_view b) { return ToUpper(a) == ToUpper(b); }

size_t FindNoCase(std::string_view text, std::string_view needle, size_t from) {
    // Case mapping can change byte lengths only outside ASCII; map both sides
    // and search there, which is exact whenever lengths are preserved.
    std::string t = ToUpper(text);
    std::string n = ToUpper(needle);
    if (t.size() != text.size()) {
        // Fall back to a per-position comparison on the original bytes.
        for (size_t i = from; i + needle.size() <= text.size(); ++i)
            if (EqualsNoCase(text.substr(i, needle.size()), needle)) return i;
        return std::string_view::npos;
    }
    return t.find(n, from);
}

bool ContainsNoCase(std::string_view text, std::string_view needle) {
    return FindNoCase(text, needle) != std::string_view::npos;
}

std::string ReplaceAllNoCase(std::string_view text, std::string_view needle,
                             std::string_view replacement) {
    if (needle.empty()) return std::string(text);
    // Map the text's case once; per-position comparison only when mapping
    // changed its byte length.
    const std::string upperText = ToUpper(text);
    const std::string upperNeedle = ToUpper(needle);
    const bool sameLength = upperText.size() == text.size() && upperNeedle.size() == needle.size();
    std::string out;
    size_t pos = 0;
    while (true) {
        size_t hit = sameLength ? upperText.find(upperNeedle, pos) : FindNoCase(text, needle, pos);
        if (hit == std::string_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(replacement);
        pos = hit + needle.size();
    }
    out.append(text.substr(pos));
    return out;
}

std::string ReplaceAll(std::string_view text, std::string_view needle,
                       std::string_view replacement) {
    if (needle.empty()) return std::string(text);
    std::string out;
    size_t pos = 0;
    while (true) {
        size_t hit = text.find(needle, pos);
        if (hit == std::string_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(replacement);
        pos = hit + needle.size();
    }
    out.append(text.substr(pos));
    return out;
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        size_t hit = text.find(separator, start);
        if (hit == std::string_view::npos) {
            parts.emplace_back(text.substr(start));
            return parts;
        }
        parts.emplace_back(text.substr(start, hit - start));
        start = hit + 1;
    }
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) Encode(c, out);
    return out;
}

long long LeadingInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (value < (1LL << 40)) value = value * 10 + (text[i] - '0');
        ++i;
    }
    return negative ? -value : value;
}

}  // namespace vantor

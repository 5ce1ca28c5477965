#pragma once
// Product identity, the icon slot tables and the exit sequence.
#include <string>
#include <utility>
#include <vector>

namespace vantor {

constexpr int kVersionNumber = 220;
constexpr const char* kProductName = "Tarnwell PSD to DDS";
constexpr const char* kMakerWord = "Tarnwell";
constexpr const char* kShortName = "vantor";
// The maker's addresses live under the reserved .example domain.
constexpr const char* kWebAddress = "https://www.tarnwell.example/vantor/";
constexpr const char* kNoticeLine = "Copyright \xC2\xA9 2019-2026 Tarnwell Software";

// 220 -> "2.2", 221 -> "2.2.1".
std::string VersionText(int version);
// "Tarnwell PSD to DDS 2.2"
std::string ProductTitle();

using IconTable = std::vector<std::pair<const char*, int>>;
const IconTable& ButtonIconIds();
const IconTable& MenuIconIds();
const IconTable& ToolbarIconIds();

// Every way out of the process: releases the instance lock and ends with 0.
[[noreturn]] void ExitSequence();

}  // namespace vantor

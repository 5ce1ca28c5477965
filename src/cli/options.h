#pragma once
// Command-line options and profile files: one table of options that both the
// parameter loop and the profile reader walk. The parser stores what it is
// given; range checks belong to the run that validates the job.
#include <cstdint>
#include <string>
#include <vector>

namespace vantor {

// The two switches that live only for one run.
struct CommandLineFlags {
    bool quiet = false;
    bool pause = false;
};

// Upper-cased name of parameter `index`: the whole parameter for "-x", the
// part before the first "=" for "--name=value", empty for anything else.
std::string OptionName(const std::vector<std::string>& parameters, size_t index);
// For "--name=value" the text after the first "="; otherwise the whole
// trimmed parameter; empty past the last parameter.
std::string OptionValue(const std::vector<std::string>& parameters, size_t index);

// Applies every option in order to the settings, the conversion state and
// `flags`. Returns the error text ("Incorrect number of parameters" or
// "Invalid profile file"), empty when all went well; the loop stops at the
// first error and what was applied before it stays applied.
[[nodiscard]] std::string ParseCommandLine(const std::vector<std::string>& parameters,
                                           CommandLineFlags& flags);

// Applies the group "CLI" of a profile file. False when the path is empty or
// the file cannot be read; a file without that group sets nothing.
[[nodiscard]] bool ReadCommandLineProfile(const std::string& path);

// The integer and decimal forms the options accept: "$" hexadecimal and "%"
// binary after an optional sign; reading stops at the first other character.
int32_t OptionInteger(const std::string& text);
float OptionDecimal(const std::string& text);

}  // namespace vantor

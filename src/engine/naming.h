#pragma once
// Output naming: the filename mask with its eighteen tokens, the temporary
// name beside the output, and the name counters. Pure string work.
#include <string>

namespace vantor {

std::string ExpandFilenameMask();
std::string ReplaceMaskToken(const std::string& text, const std::string& token);
std::string ExpandWatermarkText(const std::string& text);
std::string OutputFilePath();
std::string TemporaryFilePath();
std::string RandomLetterName(const std::string& prefix, const std::string& suffix);
std::string RelativeSubfolderOf(const std::string& path, const std::string& baseFolder);
std::string FileNameWithoutExtension(const std::string& path);
// The text after the last "." that follows the last "/", "\" or space.
std::string ExtensionOf(const std::string& path);
void ResetNameCounters();
void AdvanceNameCounters();

}  // namespace vantor

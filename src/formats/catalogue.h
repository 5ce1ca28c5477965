#pragma once
// The catalogue of image formats known by extension: input extensions with
// their descriptions, output formats with their descriptions and bit depths,
// and the two short lists that narrow it to what this product converts.
#include <string>
#include <vector>

namespace vantor {

// Ordered lists of the formats this product reads and writes.
const std::vector<std::string>& InputFormatList();   // {"psd"}
const std::vector<std::string>& OutputFormatList();  // {"dds"}

struct InputFormatEntry {
    std::string extension;
    std::string mainExtension;
    std::string description;
};
struct OutputFormatEntry {
    std::string extension;
    std::string description;
    std::string depths;  // comma-separated bit depths in rising order
};

// Both catalogues in insertion order (filled on first use, never changed).
const std::vector<InputFormatEntry>& InputCatalogue();
const std::vector<OutputFormatEntry>& OutputCatalogue();
// Lookups give an empty entry for an unknown extension.
InputFormatEntry FindInputFormat(const std::string& extension);
OutputFormatEntry FindOutputFormat(const std::string& extension);

// Rebuilds the accepted input extensions from InputFormatList.
void BuildInputExtensions();
const std::vector<std::string>& AcceptedInputExtensions();
// Exact, case-sensitive: callers pass the lower-cased extension of a path.
bool IsAcceptedExtension(const std::string& extension);
// The file dialog filter ("desc|patterns|..."); the caller passes the
// localized "All Supported Files" and "All Files" texts.
std::string InputFileFilter(const std::string& allSupportedText, const std::string& allFilesText);
// Depth list text of an output format; empty for an unknown one.
std::string OutputDepths(const std::string& extension);

}  // namespace vantor

#pragma once
// Per-job values shared by both faces, the batch worker and the engine, the
// input list, and the progress values the worker publishes.
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace vantor {

struct ConversionState {
    std::string ProgramFolder;  // executable's folder, trailing "/"
    std::string CurrentInput;
    std::string InputFolder;    // input path exactly as passed with -i
    std::string RelativeSubfolder;
    std::string OutputPath;
    std::string TemporaryPath;
    std::string OutputFolder;   // trailing "/" once validated
    int32_t RandomNumber = 1;
    int32_t SequenceNumber = 1;
    std::string InputExtension;
    int32_t SourceBpp = 0;
    std::string OutputExtension;
    int32_t OutputBpp = 0;
    bool AutoOutputBpp = false;
    bool CommandLineInput = false;
    std::string CommandLineMode;  // "DEBUG", "T" or empty; ResetJob keeps it
    int32_t FinalWidth = 0;
    int32_t FinalHeight = 0;
    int32_t OptionsStartPage = 0;
    int32_t InterfaceRefresh = 0;
};

ConversionState& State();

// Input path -> its relative subfolder. Holds at most one entry here.
struct InputEntry {
    int32_t number = 1;
    std::string RelativeSubfolder;
};
using InputListType = std::map<std::string, InputEntry>;
InputListType& InputList();

// Progress values: written by the worker under ProgressLock.
struct ProgressValues {
    std::mutex ProgressLock;
    int32_t ProgressIndex = 0;
    std::string ProgressFile;
    int32_t ConvertedCount = 0;
    std::atomic<bool> KeepRunning{true};
};
ProgressValues& Progress();

// Before a worker starts: nothing converted yet, KeepRunning on.
void ResetProgress();

// Test support: every process-wide record back to how it starts.
void ResetStateForTests();

}  // namespace vantor

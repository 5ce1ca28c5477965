#include "engine/worker.h"

#include "core/settings.h"
#include "core/state.h"
#include "engine/naming.h"
#include "engine/pipeline.h"
#include "platform/console.h"
#include "platform/files.h"

namespace vantor {

int BatchWorker(void*) {
    ConversionState& state = State();
    ProgressValues& progress = Progress();
    const bool debug = state.CommandLineInput && state.CommandLineMode == "DEBUG";
    int32_t n = 0;
    int32_t converted = 0;
    for (const auto& [path, entry] : InputList()) {
        if (!progress.KeepRunning) break;
        ++n;
        state.CurrentInput = path;
        state.RelativeSubfolder = entry.RelativeSubfolder;
        {
            std::lock_guard<std::mutex> lock(progress.ProgressLock);
            progress.ProgressIndex = n;
            progress.ProgressFile = state.CurrentInput;
        }
        if (debug) ConsoleWriteLine("Processing: " + state.CurrentInput);
        const bool ok = ConvertCurrentFile();
        if (debug) {
            ConsoleWriteLine("Saving As: " + state.OutputPath);
            ConsoleWriteLine(ok ? "OK" : "Not OK");
        }
        if (!ok) continue;
        ++converted;
        AdvanceNameCounters();
        switch (Settings().FileTimestamp) {
            case 1:
                SetFileTimeLocal(state.OutputPath, FileTimeLocal(state.CurrentInput));
                break;
            case 2:
                SetFileTimeLocal(state.OutputPath, Settings().CustomTimestamp);
                break;
            default:
                break;
        }
    }
    std::lock_guard<std::mutex> lock(progress.ProgressLock);
    progress.ConvertedCount = converted;
    return 0;
}

}  // namespace vantor

#pragma once
// The checks of a command-line job, in the order of the debug settings
// report: each report line names a value, and the check of that value runs
// right after it, so in debug mode the offending value sits just above its
// error line. The checks also fill the job values they settle (CurrentInput,
// the absolute OutputFolder, the input and output extensions).
#include <functional>
#include <string>

namespace vantor {

using LineSink = std::function<void(const std::string&)>;

struct JobCheckOutcome {
    bool passed = false;
    // The text watermark's font was loaded by its check; the caller releases
    // it once the batch is over, or at once when the job did not pass.
    bool watermarkFontLoaded = false;
};

// Walks the report rows: prints the lines whose condition holds when `debug`
// is on, runs every check whose condition holds, and at the first failing
// check prints its "Error: ..." line (whatever `debug` says) and stops.
[[nodiscard]] JobCheckOutcome CheckJobWithReport(bool debug, const LineSink& print);

}  // namespace vantor

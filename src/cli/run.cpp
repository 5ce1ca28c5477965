#include "cli/run.h"

#include <system_error>
#include <thread>

#include "cli/options.h"
#include "cli/report.h"
#include "core/product.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/strings.h"
#include "engine/input_selection.h"
#include "engine/job.h"
#include "engine/naming.h"
#include "engine/watermark.h"
#include "engine/worker.h"
#include "formats/catalogue.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/random.h"
#include "platform/text.h"

namespace vantor {
namespace {

// %s1% is the program's name, %s2% an input extension. The examples keep the
// paths users of the other platform know from the documentation.
const char* const kHelpLines[] = {
    "",
    "Usage: %s1% -i <filename> [options]",
    "",
    "  %s1% -i example.%s2%",
    "  %s1% -i c:\\tmp\\example.%s2%",
    "  %s1% -i c:\\tmp\\example.%s2% -o d:\\converted",
    "  %s1% -i c:\\tmp\\example.%s2% -o d:\\converted --jpg-quality=95",
    "",
    "Options:",
    "",
    "  -h, -?, --help            Display this help and exit",
    "  -i FILE, --input=FILE     Set input file",
    "  -o PATH, --output=PATH    Set output folder",
    "  -c STR, --conversion=STR  Set output extension, STR = (jpg | bmp | ...)",
    "",
    "Advanced options:",
    "",
    "  --width=NUM               Set output image width",
    "  --height=NUM              Set output image height",
    "  --filename-mask=STR       Define output filename format",
    "  --flip-horizontal         Flip output image horizontally",
    "  --flip-vertical           Flip output image vertically",
    "  --brightness=NUM          Set output image brightness, NUM = -100..100",
    "  --contrast=NUM            Set output image contrast, NUM = -100..100",
    "  --gamma=NUM               Set output image gamma, NUM = 0.01..9.99",
    "  --invert                  Invert output image",
    "  --greyscale               Greyscale output image",
    "  --profile=FILE            Set configuration file with required settings",
    "    ...                     Refer documentation for all available options",
    "",
    "Other options:",
    "",
    "  -q, --quiet               Don't print status messages to stdout",
    "  -d, --debug               Print debug information to stdout",
    "  -p, --pause               Pause at exit",
    "  -v, --version             Display version information and exit",
};

void PrintHelp() {
    const std::string program = FileNameWithoutExtension(FileNamePart(ExecutablePath()));
    const auto& formats = InputFormatList();
    const std::string format =
        formats[static_cast<size_t>(RandomInt(0, static_cast<int32_t>(formats.size()) - 1))];
    for (const char* line : kHelpLines) ConsoleWriteLine(FormatText(line, program, format));
}

void PrintBanner() {
    ConsoleWriteLine(ProductTitle());
    ConsoleWriteLine(ReplaceAll(kNoticeLine, "\xC2\xA9", "(c)"));  // consoles may lack the sign
    ConsoleWriteLine(kWebAddress);
    ConsoleWriteLine("");
}

// Releases the text watermark's font on every way out of the run.
class WatermarkFontHolder {
public:
    explicit WatermarkFontHolder(bool loaded) : mLoaded(loaded) {}
    ~WatermarkFontHolder() {
        if (mLoaded) ReleaseWatermarkFont();
    }
    WatermarkFontHolder(const WatermarkFontHolder&) = delete;
    WatermarkFontHolder& operator=(const WatermarkFontHolder&) = delete;

private:
    bool mLoaded;
};

// Runs the worker on its own thread and waits for it; the number converted.
int32_t RunBatch() {
    ResetProgress();
    ProgressValues& progress = Progress();
    try {
        std::thread worker(BatchWorker, nullptr);
        worker.join();
    } catch (const std::system_error&) {
        return 0;  // no thread, nothing converted
    }
    std::lock_guard<std::mutex> lock(progress.ProgressLock);
    return progress.ConvertedCount;
}

void RunCommandLineConversion(bool quiet) {
    auto status = [quiet](const std::string& line) {
        if (!quiet) ConsoleWriteLine(line);
    };
    const bool debug = State().CommandLineMode == "DEBUG";

    status(LookupText("General", "Preparing"));
    const JobCheckOutcome checked = CheckJobWithReport(debug, ConsoleWriteLine);
    WatermarkFontHolder font(checked.watermarkFontLoaded);
    if (!checked.passed) return;

    ConversionState& state = State();
    state.OutputBpp = Settings().DdsBpp;
    state.AutoOutputBpp = state.OutputBpp == 0;

    status(LookupText("General", "Importing"));
    int32_t added = 0;
    const std::string extension = ToLower(ExtensionOf(state.CurrentInput));
    // List files would name many inputs; this product takes one picture.
    if (extension != "txt" && extension != "lst") added = AddInputFile(state.CurrentInput) ? 1 : 0;
    {
        std::lock_guard<std::mutex> lock(Progress().ProgressLock);
        Progress().ConvertedCount = added;
    }
    status(FormatText(LookupText("Msg", "Import complete"), std::to_string(added)));
    if (added == 0) {
        ConsoleWriteLine(LookupText("Msg", "Conversion is not complete"));
        ConsoleWriteLine(LookupText("Msg", "Empty input files"));
        return;
    }
    const int32_t total = added;

    status(LookupText("General", "Converting"));
    const int32_t converted = RunBatch();
    if (converted == 0) {
        ConsoleWriteLine(LookupText("Msg", "Conversion is not complete"));
        return;
    }
    status(LookupText("Msg", "Conversion complete"));
    status(FormatText(LookupText("Msg", "Files converted"), std::to_string(converted),
                      std::to_string(total)));
}

}  // namespace

bool RunCommandLine(const std::vector<std::string>& parameters) {
    if (parameters.empty()) return true;

    InputCatalogue();  // the format tables, filled on first use
    OutputCatalogue();
    ResetJob();
    ResetSettings(true);
    LoadStringTable("");

    // Commands that count only as the first parameter. "-U" and "-T" belong
    // to the desktop face and are skipped like unknown options until it exists.
    const std::string first = OptionName(parameters, 0);
    if (first == "-V" || first == "--VERSION") {
        ConsoleOpen(ProductTitle());
        ConsoleWriteLine(VersionText(kVersionNumber));
        ConsoleRelease();
        return false;
    }
    if (first == "-H" || first == "-?" || first == "--HELP") {
        ConsoleOpen(ProductTitle());
        PrintHelp();
        ConsoleRelease();
        return false;
    }

    CommandLineFlags flags;
    const std::string error = ParseCommandLine(parameters, flags);
    if (!error.empty()) {
        ConsoleOpen(ProductTitle());
        ConsoleWriteLine("Error: " + error);
        if (flags.pause) ConsoleWaitKey();
        ConsoleRelease();
        return false;
    }
    if (!State().CommandLineInput) return true;  // nothing to convert: the window face

    ConsoleOpen(ProductTitle());
    if (!flags.quiet) PrintBanner();
    RunCommandLineConversion(flags.quiet);
    if (flags.pause) {
        ConsoleWriteLine("Press any key to exit.");
        ConsoleWaitKey();
    }
    ConsoleRelease();
    return false;
}

}  // namespace vantor

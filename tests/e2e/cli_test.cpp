// The console face as a user meets it: the real executable, its exact
// console texts, its files and its exit code.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "test_support.h"

namespace vantor {
namespace {

using Lines = std::vector<std::string>;
using test::ReadFile;
using test::RunResult;
using test::RunVantor;
using test::TempDir;
using test::WriteFile;

const Lines kBanner = {"Tarnwell PSD to DDS 2.2", "Copyright (c) 2019-2026 Tarnwell Software",
                       "https://www.tarnwell.example/vantor/", " "};

const Lines kHelp = {
    " ",
    "Usage: vantor -i <filename> [options]",
    " ",
    "  vantor -i example.psd",
    "  vantor -i c:\\tmp\\example.psd",
    "  vantor -i c:\\tmp\\example.psd -o d:\\converted",
    "  vantor -i c:\\tmp\\example.psd -o d:\\converted --jpg-quality=95",
    " ",
    "Options:",
    " ",
    "  -h, -?, --help            Display this help and exit",
    "  -i FILE, --input=FILE     Set input file",
    "  -o PATH, --output=PATH    Set output folder",
    "  -c STR, --conversion=STR  Set output extension, STR = (jpg | bmp | ...)",
    " ",
    "Advanced options:",
    " ",
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
    " ",
    "Other options:",
    " ",
    "  -q, --quiet               Don't print status messages to stdout",
    "  -d, --debug               Print debug information to stdout",
    "  -p, --pause               Pause at exit",
    "  -v, --version             Display version information and exit",
};

const char* kSample = "rgb8-1layer-101x55.psd";

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::string Replace(std::string text, const std::string& home) {
    for (size_t at; (at = text.find("{home}")) != std::string::npos;) text.replace(at, 6, home);
    return text;
}

Lines Replace(const Lines& lines, const std::string& home) {
    Lines out;
    for (const std::string& line : lines) out.push_back(Replace(line, home));
    return out;
}

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// A home with the sample picture as pic.psd, an output folder out/ and a
// picture FreeImage cannot load as bad.psd.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(mHome.file("pic.psd"), ReadFile(test::FixturePath(kSample)));
        WriteFile(mHome.file("bad.psd"), ReadFile(test::FixturePath("broken-signature.psd")));
        WriteFile(mHome.file("empty.psd"), "");
        WriteFile(mHome.file("list.txt"), "pic.psd\n");
        mkdir(mHome.file("out").c_str(), 0755);
        mkdir(mHome.file("runtime").c_str(), 0700);  // RunVantor makes it too; Command() does not
    }

    RunResult Run(const std::vector<std::string>& args, const std::string& input = {}) {
        std::vector<std::string> expanded;
        for (const std::string& a : args) expanded.push_back(Replace(a, mHome.path()));
        RunResult run = RunVantor(expanded, mHome.path(), input);
        EXPECT_EQ(run.exitCode, 0) << run.out;
        return run;
    }

    // The same environment as RunVantor, for runs that need a shell around them.
    std::string Command(const std::string& args) const {
        return "env XDG_RUNTIME_DIR=" + Quote(mHome.path() + "runtime") +
               " XDG_CONFIG_HOME=" + Quote(mHome.path() + "config") +
               " HOME=" + Quote(mHome.path()) + " " + Quote(VANTOR_EXE) + " " + args;
    }

    std::string Home() const { return mHome.path(); }

    TempDir mHome;
};

// --- commands of the first parameter ---

struct CommandCase {
    const char* title;
    std::vector<std::string> args;
    bool help;  // else the version
};
void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.title;
}

class CliCommandTest : public CliTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CliCommandTest, PrintsAndEndsWithoutConverting) {
    RunResult run = Run(GetParam().args);
    EXPECT_EQ(run.lines, GetParam().help ? kHelp : Lines{"2.2"});
    EXPECT_FALSE(Exists(Home() + "out/pic.dds"));
}

INSTANTIATE_TEST_SUITE_P(
    FirstParameter, CliCommandTest,
    ::testing::Values(
        CommandCase{"ShortHelp", {"-h"}, true}, CommandCase{"QuestionMark", {"-?"}, true},
        CommandCase{
            "LongHelpWithInput", {"--HELP", "-i", "{home}pic.psd", "-o", "{home}out"}, true},
        CommandCase{"ShortVersion", {"-v"}, false},
        CommandCase{"LongVersion", {"--version"}, false},
        CommandCase{"VersionWithInput", {"-V", "-i", "{home}pic.psd", "-o", "{home}out"}, false}));

// --- errors ---

struct ErrorCase {
    const char* title;
    std::vector<std::string> args;
    const char* error;
    bool afterBanner;  // validation errors come after the banner and "Preparing..."
};
void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.title;
}

class CliErrorTest : public CliTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(CliErrorTest, PrintsOneErrorLineAndConvertsNothing) {
    const ErrorCase& c = GetParam();
    RunResult run = Run(c.args);
    Lines expected = c.afterBanner ? Join({kBanner, {"Preparing..."}}) : Lines{};
    expected.push_back(c.error);
    EXPECT_EQ(run.lines, expected);
    EXPECT_FALSE(Exists(Home() + "out/pic.dds"));
    EXPECT_FALSE(Exists(Home() + "pic.dds"));

    // Quiet keeps the error line and drops everything else.
    std::vector<std::string> quiet = c.args;
    quiet.insert(quiet.begin(), "-q");
    EXPECT_EQ(Run(quiet).lines, Lines{c.error});
}

INSTANTIATE_TEST_SUITE_P(
    Messages, CliErrorTest,
    ::testing::Values(
        ErrorCase{
            "InputLast", {"-o", "{home}out", "-i"}, "Error: Incorrect number of parameters", false},
        ErrorCase{"InputThenOutputOption",
                  {"-i", "-o", "{home}out"},
                  "Error: Incorrect number of parameters",
                  false},
        ErrorCase{"WidthAsTwoParameters",
                  {"-i", "{home}pic.psd", "--width", "100"},
                  "Error: Incorrect number of parameters",
                  false},
        ErrorCase{"ProfileMissing",
                  {"-i", "{home}pic.psd", "--profile={home}none.ini"},
                  "Error: Invalid profile file",
                  false},
        ErrorCase{"InputMissing", {"-i", "{home}nothing.psd"}, "Error: Invalid input file", true},
        ErrorCase{"InputWithoutExtension", {"-i", "{home}out"}, "Error: Invalid input file", true},
        ErrorCase{"InputEmpty", {"-i", "{home}empty.psd"}, "Error: Invalid input file", true},
        ErrorCase{"OutputWithTwoDots",
                  {"-i", "{home}pic.psd", "-o", "../out"},
                  "Error: Incorrect output folder",
                  true},
        ErrorCase{"OutputMissing",
                  {"-i", "{home}pic.psd", "-o", "{home}missing"},
                  "Error: Invalid output folder",
                  true},
        ErrorCase{"ConversionInCapitals",
                  {"-i", "{home}pic.psd", "-c", "DDS"},
                  "Error: Invalid conversion type",
                  true},
        ErrorCase{"DdsBpp24",
                  {"-i", "{home}pic.psd", "--dds-bpp=24"},
                  "Error: Invalid dds-bpp value",
                  true},
        ErrorCase{"WidthZero",
                  {"-i", "{home}pic.psd", "--width=0", "--height=5"},
                  "Error: Invalid width value",
                  true},
        ErrorCase{"WidthOnly",
                  {"-i", "{home}pic.psd", "--width=100"},
                  "Error: Invalid height value",
                  true},
        ErrorCase{"Brightness101",
                  {"-i", "{home}pic.psd", "--brightness=101"},
                  "Error: Invalid brightness value",
                  true},
        ErrorCase{"Contrast",
                  {"-i", "{home}pic.psd", "--contrast=-101"},
                  "Error: Invalid contrast value",
                  true},
        ErrorCase{
            "Gamma10", {"-i", "{home}pic.psd", "--gamma=10"}, "Error: Invalid gamma value", true},
        ErrorCase{"WatermarkFont",
                  {"-i", "{home}pic.psd", "--wm-text=Hi", "--wm-font-size=0"},
                  "Error: Invalid watermark font",
                  true},
        ErrorCase{"WatermarkImage",
                  {"-i", "{home}pic.psd", "--wm-image={home}none.png"},
                  "Error: Invalid watermark image",
                  true}));

TEST_F(CliTest, DebugReportStopsAtTheFailingValue) {
    RunResult run = Run({"-d", "-i", "{home}pic.psd", "-o", "{home}out", "--width=100"});
    EXPECT_EQ(run.lines, Replace(Join({kBanner,
                                       {"Preparing...", "Input: {home}pic.psd", "Output: {home}out",
                                        "Conversion: dds", "DDS BPP: 0", "Width: 100 pixels",
                                        "Height: 0 pixels", "Error: Invalid height value"}}),
                                 Home()));
}

// --- conversions ---

const Lines kSuccess = {
    "Preparing...",  "Importing...",        "Import complete, new files added: 1",
    "Converting...", "Conversion complete", "Files converted: 1 of 1"};

struct SuccessCase {
    const char* title;
    std::vector<std::string> args;
    const char* output;
};
void PrintTo(const SuccessCase& c, std::ostream* os) {
    *os << c.title;
}

class CliConversionTest : public CliTest, public ::testing::WithParamInterface<SuccessCase> {};

TEST_P(CliConversionTest, ConvertsAndSumsUp) {
    RunResult run = Run(GetParam().args);
    EXPECT_EQ(run.lines, Join({kBanner, kSuccess}));
    const std::string output = Replace(GetParam().output, Home());
    ASSERT_TRUE(Exists(output)) << run.out;
    EXPECT_EQ(ReadFile(output).substr(0, 4), "DDS ");
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CliConversionTest,
    ::testing::Values(
        SuccessCase{
            "ShortOptions", {"-i", "{home}pic.psd", "-o", "{home}out"}, "{home}out/pic.dds"},
        SuccessCase{"LongOptionsAndConversion",
                    {"--input={home}pic.psd", "--output={home}out/", "--conversion=dds"},
                    "{home}out/pic.dds"},
        SuccessCase{
            "NoOutputGoesBesideTheInput", {"-i", "{home}pic.psd", "-c", "dds"}, "{home}pic.dds"},
        SuccessCase{"VersionNotFirstIsIgnored",
                    {"-i", "{home}pic.psd", "-o", "{home}out", "-v"},
                    "{home}out/pic.dds"},
        SuccessCase{"DdsBpp32",
                    {"-i", "{home}pic.psd", "-o", "{home}out", "--dds-bpp=32"},
                    "{home}out/pic.dds"},
        SuccessCase{"GammaLowest",
                    {"-i", "{home}pic.psd", "-o", "{home}out", "--gamma=0.01"},
                    "{home}out/pic.dds"}));

TEST_F(CliTest, DebugRunPrintsTheWholeReportAndTheWorkerLines) {
    RunResult run = Run({"-i", "{home}pic.psd", "-o", "{home}out", "--debug"});
    EXPECT_EQ(run.lines, Replace(Join({kBanner,
                                       {"Preparing...",
                                        "Input: {home}pic.psd",
                                        "Output: {home}out",
                                        "Conversion: dds",
                                        "DDS BPP: 0",
                                        "Flip Horizontal: 0",
                                        "Flip Vertical: 0",
                                        "Greyscale: 0",
                                        "Frame: none",
                                        "Watermark: none",
                                        "Filename Mask: %filename%.%ext%",
                                        "File Timestamp: current",
                                        "Keep Subfolders: 1",
                                        "Importing...",
                                        "Import complete, new files added: 1",
                                        "Converting...",
                                        "Processing: {home}pic.psd",
                                        "Saving As: {home}out/pic.dds",
                                        "OK",
                                        "Conversion complete",
                                        "Files converted: 1 of 1"}}),
                                 Home()));
}

TEST_F(CliTest, QuietSuccessPrintsNothing) {
    RunResult run = Run({"-q", "-i", "{home}pic.psd", "-o", "{home}out"});
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(Exists(Home() + "out/pic.dds"));
}

TEST_F(CliTest, PictureThatCannotBeLoadedStopsTheConversion) {
    RunResult run = Run({"-i", "{home}bad.psd", "-o", "{home}out"});
    EXPECT_EQ(run.lines,
              Join({kBanner,
                    {"Preparing...", "Importing...", "Import complete, new files added: 1",
                     "Converting...", "Conversion stopped"}}));
    EXPECT_FALSE(Exists(Home() + "out/bad.dds"));

    EXPECT_EQ(Run({"--quiet", "-i", "{home}bad.psd", "-o", "{home}out"}).lines,
              Lines{"Conversion stopped"});

    run = Run({"-d", "-i", "{home}bad.psd", "-o", "{home}out"});
    ASSERT_GE(run.lines.size(), 4u);
    const Lines tail(run.lines.end() - 4, run.lines.end());
    EXPECT_EQ(tail[0], "Processing: " + Home() + "bad.psd");
    EXPECT_EQ(tail[1].rfind("Saving As: ", 0), 0u) << tail[1];
    EXPECT_EQ(tail[2], "Not OK");
    EXPECT_EQ(tail[3], "Conversion stopped");
}

TEST_F(CliTest, ListFileImportsNothing) {
    const Lines stopped = {"Conversion stopped",
                           "No input file(s) found. Please, add valid file(s) and try again!"};
    EXPECT_EQ(Run({"-i", "{home}list.txt", "-o", "{home}out"}).lines,
              Join({kBanner,
                    {"Preparing...", "Importing...", "Import complete, new files added: 0"},
                    stopped}));
    EXPECT_EQ(Run({"-q", "-i", "{home}list.txt", "-o", "{home}out"}).lines, stopped);
}

// --- folders ---

TEST_F(CliTest, RelativeOutputFolderIsBelowTheProgramsFolder) {
    const std::string name = "e2e-cli-out-" + std::to_string(getpid());
    const std::string folder =
        std::filesystem::path(VANTOR_EXE).parent_path().string() + "/" + name + "/";
    std::filesystem::create_directory(folder);
    RunResult run = Run({"-q", "-i", "{home}pic.psd", "-o", name});
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(Exists(folder + "pic.dds"));
    run = Run({"-q", "-i", "{home}pic.psd", "-o", "./" + name, "--filename-mask=dot.%ext%"});
    EXPECT_TRUE(Exists(folder + "dot.dds")) << run.out;
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

TEST_F(CliTest, RelativeInputWithoutOutputFolderWritesBesideTheInput) {
    RunResult run = test::RunShell("cd " + Quote(Home()) + " && " + Command("-q -i pic.psd"));
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(Exists(Home() + "pic.dds"));
}

// --- pause, second instance, window face ---

TEST_F(CliTest, PauseWaitsForOneKeyAfterThePrompt) {
    RunResult run = Run({"-p", "-i", "{home}pic.psd", "-o", "{home}out"}, "x");
    EXPECT_EQ(run.lines, Join({kBanner, kSuccess, {"Press any key to exit."}}));

    // The key is read from standard input: exactly one byte of it.
    const std::string args = "-q -i " + Quote(Home() + "pic.psd") + " -o " + Quote(Home() + "out");
    run = test::RunShell("printf ab | { " + Command("-p " + args) + "; cat; }");
    EXPECT_EQ(run.lines, (Lines{"Press any key to exit.", "b"}));
    run = test::RunShell("printf ab | { " + Command(args) + "; cat; }");
    EXPECT_EQ(run.lines, Lines{"ab"});
}

TEST_F(CliTest, PauseAfterAnOptionErrorWaitsWithoutPrompt) {
    RunResult run = test::RunShell("printf ab | { " + Command("-p -i") + "; cat; }");
    EXPECT_EQ(run.lines, (Lines{"Error: Incorrect number of parameters", "b"}));
}

TEST_F(CliTest, SecondInstanceEndsAtOnceSilently) {
    const std::string runtime = Home() + "runtime";
    const int fd = open((runtime + "/Tarnwell PSD to DDS 2.2.lock").c_str(),
                        O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-i", "{home}pic.psd", "-o", "{home}out"},
          std::vector<std::string>{"-v"}, std::vector<std::string>{}}) {
        RunResult run = Run(args);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(Exists(Home() + "out/pic.dds"));

    close(fd);  // the first instance ends; the next start works
    EXPECT_EQ(Run({"-q", "-i", "{home}pic.psd", "-o", "{home}out"}).out, "");
    EXPECT_TRUE(Exists(Home() + "out/pic.dds"));
}

TEST_F(CliTest, ParametersWithoutInputStartTheWindowFace) {
    const Lines window = Run({}).lines;
    EXPECT_EQ(Run({"-o", "{home}out", "--width=5"}).lines, window);
    // The uninstall and screenshot commands come with the desktop face; until
    // then they are skipped like any unknown option.
    EXPECT_EQ(Run({"-U"}).lines, window);
    EXPECT_EQ(Run({"-T", "{home}"}).lines, window);
}

}  // namespace
}  // namespace vantor

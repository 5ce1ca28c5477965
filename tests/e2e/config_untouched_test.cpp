// A command-line run starts from the built-in defaults and must leave the
// desktop face's config.ini exactly as it found it, whatever the run does.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <ostream>

#include "test_support.h"

namespace vantor {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// RunVantor points XDG_CONFIG_HOME at <home>config.
std::string ConfigFolder(const TempDir& home) {
    return home.path() + "config/Tarnwell/vantor/";
}

struct Paths {
    std::string input;
    std::string output;
    std::string config;
};

struct RunCase {
    const char* name;
    std::function<std::vector<std::string>(const Paths&)> args;
};
void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.name;
}

class ConfigUntouchedTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(ConfigUntouchedTest, CommandLineRunLeavesConfigAsItWas) {
    TempDir home;
    const std::string folder = ConfigFolder(home);
    ASSERT_EQ(test::RunShell("mkdir -p '" + folder + "' '" + home.path() + "out'").exitCode, 0);
    Paths paths{home.file("picture.psd"), home.file("out"), folder + "config.ini"};
    WriteFile(paths.input, ReadFile(test::FixturePath("rgb8-1layer-101x55.psd")));

    // A file the defaults would never produce, with an old modification time.
    const std::string original = ReadFile(test::TestDataPath("config/custom.ini"));
    ASSERT_FALSE(original.empty());
    WriteFile(paths.config, original);
    const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, paths.config.c_str(), old, 0), 0);

    test::RunResult run = test::RunVantor(GetParam().args(paths), home.path());
    EXPECT_EQ(run.exitCode, 0) << run.out;

    EXPECT_EQ(ReadFile(paths.config), original);
    struct stat st {};
    ASSERT_EQ(stat(paths.config.c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, 1000000000) << "config.ini was rewritten";
    std::vector<std::string> names;
    for (const auto& line : test::RunShell("ls -A '" + folder + "'").lines) names.push_back(line);
    EXPECT_EQ(names, std::vector<std::string>{"config.ini"});
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ConfigUntouchedTest,
    ::testing::Values(
        RunCase{"Conversion",
                [](const Paths& p) {
                    return std::vector<std::string>{"-i", p.input, "-o", p.output};
                }},
        RunCase{"ConversionWithProfileNamingConfig",
                [](const Paths& p) {
                    return std::vector<std::string>{"-i", p.input, "-o", p.output,
                                                    "--profile=" + p.config};
                }},
        RunCase{
            "OptionError",
            [](const Paths& p) {
                return std::vector<std::string>{"-i", p.input, "-o", p.output, "--brightness=500"};
            }},
        RunCase{"MissingInput",
                [](const Paths& p) {
                    return std::vector<std::string>{"-i", p.input + ".missing", "-o", p.output};
                }},
        RunCase{"Version", [](const Paths&) { return std::vector<std::string>{"-v"}; }},
        RunCase{"Help", [](const Paths&) { return std::vector<std::string>{"--help"}; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConfigUntouchedTest, CommandLineRunCreatesNoConfig) {
    TempDir home;
    WriteFile(home.file("picture.psd"), ReadFile(test::FixturePath("rgb8-1layer-101x55.psd")));
    ASSERT_EQ(test::RunShell("mkdir -p '" + home.path() + "out'").exitCode, 0);
    test::RunResult run =
        test::RunVantor({"-i", home.file("picture.psd"), "-o", home.file("out")}, home.path());
    EXPECT_EQ(run.exitCode, 0) << run.out;
    struct stat st {};
    EXPECT_NE(stat((ConfigFolder(home) + "config.ini").c_str(), &st), 0);
}

}  // namespace
}  // namespace vantor

#include "core/config.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <optional>
#include <ostream>

#include "core/settings.h"
#include "platform/files.h"
#include "platform/screen.h"
#include "test_support.h"

namespace vantor {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// The clock is the one thing a hand-written file cannot hold: saves of a
// fresh reset pin the two "now" dates to these.
constexpr int32_t kUpdateDate = 1700000000;
constexpr int32_t kCustomTimestamp = 1600000000;
constexpr const char* kBom = "\xEF\xBB\xBF";

std::string Golden(const std::string& name) {
    return ReadFile(test::TestDataPath("config/" + name));
}

std::vector<std::string> SortedNames(const std::string& folder) {
    std::vector<std::string> names = ListFolder(folder);
    std::sort(names.begin(), names.end());
    return names;
}

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A known screen, so the centred defaults are fixed: (1920-510)/2, (1080-260)/2.
        SetScreenSizeProvider([] { return std::optional<ScreenSize>(ScreenSize{1920, 1080}); });
        ASSERT_TRUE(MakeFolder(Folder()));
        Settings().ConfigPath = Path();
        ResetSettings(false);
    }
    void TearDown() override {
        SetScreenSizeProvider(nullptr);
        Settings().ConfigPath.clear();
        ResetSettings(false);
    }

    std::string Folder() const { return mDir.path() + "vantor/"; }
    std::string Path() const { return Folder() + "config.ini"; }
    void ResetPinned() {
        ResetSettings(false);
        Settings().UpdateDate = kUpdateDate;
        Settings().CustomTimestamp = kCustomTimestamp;
    }
    std::string SaveAndRead() {
        EXPECT_TRUE(SaveConfig());
        return ReadFile(Path());
    }

    TempDir mDir;
};

// ---- the layout

TEST_F(ConfigTest, SaveAfterResetIsTheHandWrittenLayout) {
    ResetPinned();
    EXPECT_EQ(SaveAndRead(), Golden("defaults.ini"));
}

struct RoundTripCase {
    const char* file;
    std::function<void(const ConversionSettings&)> check;
};
void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.file;
}

class ConfigRoundTripTest : public ConfigTest,
                            public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(ConfigRoundTripTest, LoadThenSaveGivesTheSameBytes) {
    const std::string original = Golden(GetParam().file);
    ASSERT_FALSE(original.empty());
    WriteFile(Path(), original);
    LoadConfig();
    GetParam().check(Settings());
    EXPECT_EQ(SaveAndRead(), original);
}

INSTANTIATE_TEST_SUITE_P(
    Goldens, ConfigRoundTripTest,
    ::testing::Values(RoundTripCase{"defaults.ini",
                                    [](const ConversionSettings& s) {
                                        EXPECT_EQ(s.UpdateDate, kUpdateDate);
                                        EXPECT_EQ(s.CustomTimestamp, kCustomTimestamp);
                                        EXPECT_EQ(s.WindowX, 705);
                                        EXPECT_EQ(s.ConfigVersion, 17);
                                    }},
                      // Keys that share a name in two groups must land in their own fields.
                      RoundTripCase{
                          "custom.ini",
                          [](const ConversionSettings& s) {
                              EXPECT_EQ(s.SaveWindowPosition, 0);
                              EXPECT_EQ(s.WindowX, 100);  // not written, so the plain default
                              EXPECT_EQ(s.UpdateDate, -5);
                              EXPECT_EQ(s.UiTheme,
                                        "F\xC3\xBC\xC3\x9F"
                                        "e & \xC3\x86r\xC3\xB8");
                              EXPECT_EQ(s.DdsBpp, 32);
                              EXPECT_EQ(s.ImageRotation, -90);
                              EXPECT_EQ(s.WmImageRotation, 0);
                              EXPECT_EQ(s.WmImage, "/home/u/wm 1.png");
                              EXPECT_EQ(s.WmText, "a = b; %filename[u]% \xC3\xBCn\xC3\xAF");
                              EXPECT_EQ(s.ImageBrightness, -100);
                              EXPECT_TRUE(std::isinf(s.ImageGamma) && s.ImageGamma > 0);
                              EXPECT_EQ(s.WmFontStyle, -1);
                              EXPECT_EQ(s.OutFoldersNumber, -56);
                              EXPECT_EQ(s.RecentOutFolders, "/a/out/\t/b/out 2/");
                              EXPECT_EQ(s.KeepAspectRatio, 0);
                          }}),
    [](const auto& info) {
        std::string name = info.param.file;
        return name.substr(0, name.find('.'));
    });

TEST_F(ConfigTest, KeysNeverWrittenAreReadAndThenDropped) {
    WriteFile(Path(), Golden("hand_added.ini"));
    LoadConfig();
    const ConversionSettings& s = Settings();
    EXPECT_EQ(s.HidePasswords, 1);
    EXPECT_EQ(s.ShowSinglePassword, 0);
    EXPECT_EQ(s.ShowPasswordList, 0);
    EXPECT_EQ(s.ShowCharacterSet, 0);
    EXPECT_EQ(s.ShowAdvancedOptions, 0);
    EXPECT_EQ(s.TxtFields, "user,notes");
    EXPECT_EQ(s.CsvDelimiter, ";");
    // Format keys of formats this product does not list are read all the same.
    EXPECT_EQ(s.PngBpp, 24);
    EXPECT_EQ(s.JpgQuality, 80);
    EXPECT_EQ(s.RawLoadAs, 1);  // the file is current: no upgrade
    EXPECT_EQ(s.TiffFrameLoading, 3);
    EXPECT_EQ(SaveAndRead(), Golden("defaults.ini"));
}

// ---- reading: the edge cases of old, hand-edited and missing files

struct LoadCase {
    const char* name;
    const char* file;  // nullptr: no file at all
    std::function<void(const ConversionSettings&)> check;
};
void PrintTo(const LoadCase& c, std::ostream* os) {
    *os << c.name;
}

class ConfigLoadTest : public ConfigTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(ConfigLoadTest, LoadsAsTheRulesSay) {
    if (GetParam().file) WriteFile(Path(), GetParam().file);
    // Values a load must replace, so that a load doing nothing shows.
    ConversionSettings& s = Settings();
    s.ConfigVersion = -1;
    s.Language = "zz";
    s.WindowX = s.WindowY = s.WindowWidth = s.WindowHeight = -1;
    s.UpdateDate = s.CustomTimestamp = 0;
    s.KeepAspectRatio = 0;
    s.RawLoadAs = -1;
    s.FilenameMask = s.WmText = s.WmFont = s.CsvDelimiter = "junk";
    s.InputFormat = s.OutputFormat = "";
    LoadConfig();
    GetParam().check(Settings());
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, ConfigLoadTest,
    ::testing::Values(
        LoadCase{"MissingCfgAppendsExtToMask", "[Advanced]\r\nFilename Mask = %filename%\r\n",
                 [](const ConversionSettings& s) {
                     EXPECT_EQ(s.ConfigVersion, 0);
                     EXPECT_EQ(s.FilenameMask, "%filename%.%ext%");
                 }},
        LoadCase{
            "MissingCfgKeepsMaskWithExt", "[Advanced]\r\nFilename Mask = %ext%_%filename%\r\n",
            [](const ConversionSettings& s) { EXPECT_EQ(s.FilenameMask, "%ext%_%filename%"); }},
        LoadCase{"CurrentLayoutKeepsMask",
                 "[General]\r\nCFG = 17\r\n[Advanced]\r\nFilename Mask = %filename%\r\n",
                 [](const ConversionSettings& s) { EXPECT_EQ(s.FilenameMask, "%filename%"); }},
        LoadCase{"MissingCfgShiftsRawLoadAs", "[Input]\r\nRAW Load As = 1\r\n",
                 [](const ConversionSettings& s) { EXPECT_EQ(s.RawLoadAs, 3); }},
        LoadCase{"MissingCfgLeavesRawLoadAsZero", "[Input]\r\nRAW Load As = 0\r\n",
                 [](const ConversionSettings& s) { EXPECT_EQ(s.RawLoadAs, 0); }},
        LoadCase{"Layout13ShiftsRawLoadAs",
                 "[General]\r\nCFG = 13\r\n[Input]\r\nRAW Load As = 1\r\n",
                 [](const ConversionSettings& s) { EXPECT_EQ(s.RawLoadAs, 3); }},
        LoadCase{"Layout14KeepsRawLoadAs",
                 "[General]\r\nCFG = 14\r\n[Input]\r\nRAW Load As = 1\r\n",
                 [](const ConversionSettings& s) { EXPECT_EQ(s.RawLoadAs, 1); }},
        LoadCase{"DelimiterTabInCapitals", "[File]\r\nCsvDelimiter = TAB\r\n",
                 [](const ConversionSettings& s) { EXPECT_EQ(s.CsvDelimiter, "\t"); }},
        LoadCase{"DelimiterSpace", "[File]\r\nCsvDelimiter = Space\r\n",
                 [](const ConversionSettings& s) { EXPECT_EQ(s.CsvDelimiter, " "); }},
        LoadCase{"DelimiterCrLf", "[File]\r\nCsvDelimiter = crlf\r\n",
                 [](const ConversionSettings& s) { EXPECT_EQ(s.CsvDelimiter, "\r\n"); }},
        LoadCase{"DelimiterEmptyValueIsEmpty", "[File]\r\nCsvDelimiter =\r\n",
                 [](const ConversionSettings& s) { EXPECT_EQ(s.CsvDelimiter, ""); }},
        LoadCase{"DelimiterMissingIsComma", "[File]\r\nTxtFields = a\r\n",
                 [](const ConversionSettings& s) { EXPECT_EQ(s.CsvDelimiter, ","); }},
        LoadCase{"EightBitFieldKeepsLowBits", "[Advanced]\r\nOut Folders Number = 300\r\n",
                 [](const ConversionSettings& s) { EXPECT_EQ(s.OutFoldersNumber, 44); }},
        LoadCase{
            "NamesInOtherLetterCases",
            "[general]\r\nlanguage = de\r\n[WINDOW]\r\nwIDTH = 640\r\n[output]\r\ndds bpp = 32\r\n",
            [](const ConversionSettings& s) {
                EXPECT_EQ(s.Language, "de");
                EXPECT_EQ(s.WindowWidth, 640);
                EXPECT_EQ(s.DdsBpp, 32);
            }},
        LoadCase{"FirstGroupAndFirstKeyWin",
                 "[General]\r\nLanguage = fr\r\nLanguage = it\r\n[General]\r\nLanguage = es\r\n",
                 [](const ConversionSettings& s) { EXPECT_EQ(s.Language, "fr"); }},
        LoadCase{"KeysOnlyInTheirOwnGroup", "[Window]\r\nLanguage = de\r\nCFG = 17\r\n",
                 [](const ConversionSettings& s) {
                     EXPECT_EQ(s.Language, "en");
                     EXPECT_EQ(s.ConfigVersion, 0);
                 }},
        LoadCase{"NoFileGivesDefaultsWithCentredWindow", nullptr,
                 [](const ConversionSettings& s) {
                     EXPECT_EQ(s.WindowX, 705);
                     EXPECT_EQ(s.WindowY, 410);
                     EXPECT_EQ(s.WindowWidth, 510);
                     EXPECT_EQ(s.ConfigVersion, 17);
                     EXPECT_EQ(s.KeepAspectRatio, 1);
                     EXPECT_EQ(s.CsvDelimiter, ",");
                     EXPECT_GT(s.UpdateDate, 0);
                 }},
        LoadCase{"MissingXAndYGive100", "[Window]\r\nWidth = 800\r\n",
                 [](const ConversionSettings& s) {
                     EXPECT_EQ(s.WindowX, 100);
                     EXPECT_EQ(s.WindowY, 100);
                     EXPECT_EQ(s.WindowWidth, 800);
                     EXPECT_EQ(s.WindowHeight, 260);
                 }},
        LoadCase{"MissingDatesAreNow", "[General]\r\nCFG = 17\r\n",
                 [](const ConversionSettings& s) {
                     EXPECT_GT(s.UpdateDate, kUpdateDate);
                     EXPECT_GT(s.CustomTimestamp, kUpdateDate);
                     EXPECT_EQ(s.InputFormat, "psd");
                     EXPECT_EQ(s.OutputFormat, "dds");
                 }},
        LoadCase{"NoByteOrderMarkIsLatin1", "[Watermark]\r\nText = \xA9 Caf\xE9\r\n",
                 [](const ConversionSettings& s) { EXPECT_EQ(s.WmText, "\xC2\xA9 Caf\xC3\xA9"); }},
        LoadCase{"ByteOrderMarkIsUtf8",
                 "\xEF\xBB\xBF\r\n[Watermark]\r\nText = \xC2\xA9 Caf\xC3\xA9\r\n",
                 [](const ConversionSettings& s) { EXPECT_EQ(s.WmText, "\xC2\xA9 Caf\xC3\xA9"); }},
        LoadCase{"PresentEmptyTextIsEmpty", "[Watermark]\r\nFont =\r\n",
                 [](const ConversionSettings& s) { EXPECT_EQ(s.WmFont, ""); }},
        LoadCase{"BlanksAroundValuesGo", " \t[Frame]\r\n\tSolid Left Color \t=  \tABCDEF \t\r\n",
                 [](const ConversionSettings& s) { EXPECT_EQ(s.SolidLeftColor, "ABCDEF"); }},
        LoadCase{"IntegersReadTheLeadingNumber",
                 "[Frame]\r\nSolid Left = 12px\r\nSolid Right = wide\r\nSolid Top = -7\r\n",
                 [](const ConversionSettings& s) {
                     EXPECT_EQ(s.SolidLeft, 12);
                     EXPECT_EQ(s.SolidRight, 0);
                     EXPECT_EQ(s.SolidTop, -7);
                 }},
        LoadCase{"GammaSpecialValuesInAnyCase", "[Adjustment]\r\nImage Gamma = -INFINITY\r\n",
                 [](const ConversionSettings& s) {
                     EXPECT_TRUE(std::isinf(s.ImageGamma) && s.ImageGamma < 0);
                 }},
        LoadCase{"GammaNaN", "[Adjustment]\r\nImage Gamma = nan\r\n",
                 [](const ConversionSettings& s) { EXPECT_TRUE(std::isnan(s.ImageGamma)); }},
        LoadCase{"GammaDecimal", "[Adjustment]\r\nImage Gamma = 2.5\r\n",
                 [](const ConversionSettings& s) { EXPECT_FLOAT_EQ(s.ImageGamma, 2.5f); }},
        LoadCase{"GarbageKeepsDefaults", "\x01\x02garbage\xFF\r\n[[[\r\n=\r\n;[General]\r\n",
                 [](const ConversionSettings& s) {
                     EXPECT_EQ(s.Language, "en");
                     EXPECT_EQ(s.ConfigVersion, 0);
                     EXPECT_EQ(s.WindowX, 100);
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigTest, SomethingOtherThanAFileGivesDefaultsWithoutWaiting) {
    // A pipe in its place would block a plain read for ever.
    ASSERT_EQ(mkfifo(Path().c_str(), 0600), 0);
    Settings().Language = "xx";
    LoadConfig();
    EXPECT_EQ(Settings().Language, "en");
    EXPECT_EQ(Settings().WindowX, 705);
}

// ---- writing: how values are spelled

struct SaveCase {
    const char* name;
    std::function<void(ConversionSettings&)> change;
    const char* expected;  // found in the saved text
};
void PrintTo(const SaveCase& c, std::ostream* os) {
    *os << c.name;
}

class ConfigSaveTest : public ConfigTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(ConfigSaveTest, WritesTheValueAsTheLayoutSays) {
    ResetPinned();
    GetParam().change(Settings());
    std::string text = SaveAndRead();
    EXPECT_TRUE(text.starts_with(std::string(kBom) + "\r\n[General]\r\nCFG = 17\r\n"));
    EXPECT_NE(text.find(GetParam().expected), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ConfigSaveTest,
    ::testing::Values(
        SaveCase{"GammaSixDecimals", [](ConversionSettings& s) { s.ImageGamma = 2.5f; },
                 "\r\nImage Gamma = 2.500000\r\n"},
        SaveCase{"GammaSmallest", [](ConversionSettings& s) { s.ImageGamma = 0.01f; },
                 "\r\nImage Gamma = 0.010000\r\n"},
        SaveCase{"GammaLargest", [](ConversionSettings& s) { s.ImageGamma = 9.99f; },
                 "\r\nImage Gamma = 9.990000\r\n"},
        SaveCase{
            "GammaPlusInfinity",
            [](ConversionSettings& s) { s.ImageGamma = std::numeric_limits<float>::infinity(); },
            "\r\nImage Gamma = +Infinity\r\n"},
        SaveCase{
            "GammaMinusInfinity",
            [](ConversionSettings& s) { s.ImageGamma = -std::numeric_limits<float>::infinity(); },
            "\r\nImage Gamma = -Infinity\r\n"},
        SaveCase{
            "GammaNaN",
            [](ConversionSettings& s) { s.ImageGamma = std::numeric_limits<float>::quiet_NaN(); },
            "\r\nImage Gamma = NaN\r\n"},
        SaveCase{"NegativeInteger", [](ConversionSettings& s) { s.ImageContrast = -40; },
                 "\r\nImage Contrast = -40\r\n"},
        SaveCase{"EightBitIsSigned", [](ConversionSettings& s) { s.OutFoldersNumber = -56; },
                 "\r\nOut Folders Number = -56\r\n"},
        SaveCase{"CfgAlways17", [](ConversionSettings& s) { s.ConfigVersion = 3; },
                 "\r\nCFG = 17\r\n"},
        SaveCase{"WindowKeysOnlyWithSaveWindowPosition",
                 [](ConversionSettings& s) { s.SaveWindowPosition = 0; },
                 "\r\n; \r\n[Window]\r\n; \r\n[Interface]\r\n"},
        SaveCase{"OnlyListedFormatsGetKeys", [](ConversionSettings& s) { s.PngBpp = 24; },
                 "\r\n[Output]\r\nFormat = dds\r\nDDS BPP = 0\r\n; \r\n[Transform]\r\n"},
        SaveCase{"LineBreaksCannotSplitALine",
                 [](ConversionSettings& s) { s.WmText = "one\r\n[Advanced]\nFilename Mask = x"; },
                 "\r\nText = one[Advanced]Filename Mask = x\r\nFonts = "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigTest, TextWithLineBreaksCannotOverrideOtherSettings) {
    // A folder name may hold a line break; the next start must not read the
    // rest of it as keys of its own.
    Settings().RecentOutFolders =
        "/tmp/odd\n[General]\nLanguage = xx\n[Advanced]\nFilename Mask = x";
    Settings().WmText = "line\r\nFont = Evil";
    ASSERT_TRUE(SaveConfig());
    LoadConfig();
    EXPECT_EQ(Settings().Language, "en");
    EXPECT_EQ(Settings().FilenameMask, "%filename%.%ext%");
    EXPECT_EQ(Settings().WmFont, "Arial");
    EXPECT_EQ(Settings().WmText, "lineFont = Evil");
}

TEST_F(ConfigTest, NumbersIgnoreTheLocaleTheWindowAdopts) {
    // The toolkit switches the process to the user's locale; a comma decimal
    // separator must not leak into the file nor cut gamma on reading.
    TempDir locales;
    test::RunShell("localedef -i de_DE -f UTF-8 '" + locales.path() +
                   "de_DE.UTF-8' >/dev/null 2>&1");
    const char* oldLocpath = std::getenv("LOCPATH");
    std::string saved = oldLocpath ? oldLocpath : "";
    setenv("LOCPATH", locales.path().c_str(), 1);
    bool switched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 2.5);
    if (switched && std::string(probe) == "2,5") {
        Settings().ImageGamma = 2.5f;
        std::string text = SaveAndRead();
        EXPECT_NE(text.find("\r\nImage Gamma = 2.500000\r\n"), std::string::npos);
        LoadConfig();
        EXPECT_FLOAT_EQ(Settings().ImageGamma, 2.5f);
    }
    std::setlocale(LC_NUMERIC, "C");
    if (oldLocpath)
        setenv("LOCPATH", saved.c_str(), 1);
    else
        unsetenv("LOCPATH");
    if (!switched || std::string(probe) != "2,5") GTEST_SKIP() << "no comma-decimal locale here";
}

// ---- failure safety: the previous file survives every failed save

// Runs a save in a child process, so that dropped privileges and a file-size
// limit stay there. Exit 0: the save reported failure; 1: it claimed success;
// 2: the child could not set itself up.
int SaveInChild(bool dropPrivileges, rlim_t fileSizeLimit) {
    pid_t pid = fork();
    if (pid == 0) {
        if (dropPrivileges && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        if (fileSizeLimit != RLIM_INFINITY) {
            signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = fileSizeLimit;
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(2);
        }
        _exit(SaveConfig() ? 1 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 3;
}

enum class Failure { ReadOnlyFolder, WriteFails, ReadOnlyFile, FolderInTheWay };

struct FailureCase {
    const char* name;
    Failure failure;
};
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class ConfigFailureTest : public ConfigTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ConfigFailureTest, PreviousFileStaysAndNoTemporaryIsLeft) {
    const std::string old = Golden("custom.ini");
    ResetPinned();  // differs from the file on disk in many keys
    int result = 3;
    switch (GetParam().failure) {
        case Failure::ReadOnlyFolder:
            WriteFile(Path(), old);
            if (geteuid() == 0) {
                // Root ignores permissions: the child saves as "nobody" then.
                ASSERT_EQ(chown(Folder().c_str(), 65534, 65534), 0);
                ASSERT_EQ(chown(Path().c_str(), 65534, 65534), 0);
                ASSERT_EQ(chmod(mDir.path().c_str(), 0711), 0);
            }
            ASSERT_EQ(chmod(Folder().c_str(), 0555), 0);
            result = SaveInChild(true, RLIM_INFINITY);
            break;
        case Failure::WriteFails:
            WriteFile(Path(), old);
            result = SaveInChild(false, 100);  // fails part-way through the text
            break;
        case Failure::ReadOnlyFile:
            WriteFile(Path(), old);
            ASSERT_EQ(chmod(Path().c_str(), 0444), 0);
            result = SaveConfig() ? 1 : 0;
            break;
        case Failure::FolderInTheWay:
            ASSERT_TRUE(MakeFolder(Path()));
            WriteFile(Path() + "/keep.txt", old);
            result = SaveConfig() ? 1 : 0;
            break;
    }
    if (result == 2) GTEST_SKIP() << "cannot set up the failure here";
    EXPECT_EQ(result, 0) << "the save must report the failure";
    chmod(Folder().c_str(), 0755);
    if (GetParam().failure == Failure::FolderInTheWay) {
        EXPECT_TRUE(FolderExists(Path()));
        EXPECT_EQ(ReadFile(Path() + "/keep.txt"), old);
    } else {
        EXPECT_EQ(ReadFile(Path()), old);
    }
    EXPECT_EQ(SortedNames(Folder()), std::vector<std::string>{"config.ini"});
}

INSTANTIATE_TEST_SUITE_P(Failures, ConfigFailureTest,
                         ::testing::Values(FailureCase{"ReadOnlyFolder", Failure::ReadOnlyFolder},
                                           FailureCase{"WriteFails", Failure::WriteFails},
                                           FailureCase{"ReadOnlyFile", Failure::ReadOnlyFile},
                                           FailureCase{"FolderInTheWay", Failure::FolderInTheWay}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigTest, MissingFolderIsCreatedBySave) {
    Settings().ConfigPath = mDir.path() + "gone/Tarnwell/vantor/config.ini";
    ResetPinned();
    ASSERT_TRUE(SaveConfig());
    EXPECT_EQ(ReadFile(Settings().ConfigPath), Golden("defaults.ini"));
}

TEST_F(ConfigTest, SaveReplacesTheFileBehindALinkAndKeepsItsPermissions) {
    // Users keep config.ini in a synced folder and link to it.
    ASSERT_TRUE(MakeFolder(mDir.path() + "synced"));
    const std::string real = mDir.path() + "synced/config.ini";
    WriteFile(real, Golden("custom.ini"));
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(symlink(real.c_str(), Path().c_str()), 0);
    ResetPinned();
    ASSERT_TRUE(SaveConfig());

    struct stat link {};
    ASSERT_EQ(lstat(Path().c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    EXPECT_EQ(ReadFile(real), Golden("defaults.ini"));
    struct stat file {};
    ASSERT_EQ(stat(real.c_str(), &file), 0);
    EXPECT_EQ(file.st_mode & 07777, 0640u);
    EXPECT_EQ(SortedNames(mDir.path() + "synced"), std::vector<std::string>{"config.ini"});
}

TEST_F(ConfigTest, SaveNeverReplacesALinkToSomethingElseThanAFile) {
    // Linking config.ini to a device or pipe is how users stop it being kept.
    const std::string pipe = mDir.path() + "pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ASSERT_EQ(symlink(pipe.c_str(), Path().c_str()), 0);
    EXPECT_FALSE(SaveConfig());
    struct stat st {};
    ASSERT_EQ(stat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(SortedNames(Folder()), std::vector<std::string>{"config.ini"});
    EXPECT_EQ(SortedNames(mDir.path()), (std::vector<std::string>{"pipe", "vantor"}));
}

// ---- shutdown: history, then save

struct ShutdownCase {
    int8_t history;
    const char* expected;
};
void PrintTo(const ShutdownCase& c, std::ostream* os) {
    *os << "history " << int(c.history);
}

class ConfigShutdownTest : public ConfigTest, public ::testing::WithParamInterface<ShutdownCase> {};

TEST_P(ConfigShutdownTest, HistoryIsKeptOnlyWhenAskedFor) {
    Settings().OutFoldersHistory = GetParam().history;
    Settings().RecentOutFolders = "/a/\t/b/";
    ASSERT_TRUE(SaveConfigAtShutdown());
    std::string text = ReadFile(Path());
    EXPECT_NE(text.find(GetParam().expected), std::string::npos) << text;
    LoadConfig();
    EXPECT_EQ("\r\nRecent Out Folders = " + Settings().RecentOutFolders + "\r\n",
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    History, ConfigShutdownTest,
    ::testing::Values(ShutdownCase{0, "\r\nRecent Out Folders = \r\n"},
                      ShutdownCase{1, "\r\nRecent Out Folders = /a/\t/b/\r\n"}),
    [](const auto& info) { return info.param.history ? std::string("On") : std::string("Off"); });

// ---- where the file lives

struct FolderCase {
    const char* name;
    const char* xdg;  // nullptr: unset; "{T}" stands for the temporary folder
    const char* home;
    const char* expected;
};
void PrintTo(const FolderCase& c, std::ostream* os) {
    *os << c.name;
}

class PerUserFolderTest : public ::testing::TestWithParam<FolderCase> {
protected:
    void SetUp() override {
        for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
            const char* value = std::getenv(name);
            mSaved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : mSaved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        Settings().ConfigPath.clear();
    }
    std::string Fill(const char* text) const {
        std::string t = text;
        size_t at = t.find("{T}");
        return at == std::string::npos ? t : t.replace(at, 3, mDir.path());
    }

    TempDir mDir;
    std::vector<std::pair<std::string, std::optional<std::string>>> mSaved;
};

TEST_P(PerUserFolderTest, BuildsAndCreatesTheConfigFolder) {
    const FolderCase& c = GetParam();
    if (c.xdg)
        setenv("XDG_CONFIG_HOME", Fill(c.xdg).c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", Fill(c.home).c_str(), 1);

    const std::string expected = Fill(c.expected);
    EXPECT_EQ(MakeConfigPath(), expected + "config.ini");
    EXPECT_EQ(Settings().ConfigPath, expected + "config.ini");
    EXPECT_TRUE(FolderExists(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Environment, PerUserFolderTest,
    ::testing::Values(
        FolderCase{"XdgConfigHome", "{T}xdg", "{T}home", "{T}xdg/Tarnwell/vantor/"},
        FolderCase{"XdgWithSlashAndSpaces", " {T}xdg/ ", "{T}home", "{T}xdg/Tarnwell/vantor/"},
        FolderCase{"HomeWhenXdgUnset", nullptr, "{T}home", "{T}home/.config/Tarnwell/vantor/"},
        FolderCase{"HomeWhenXdgEmpty", "", "{T}home/", "{T}home/.config/Tarnwell/vantor/"},
        FolderCase{"HomeWhenXdgRelative", "relative/cfg", "{T}home",
                   "{T}home/.config/Tarnwell/vantor/"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vantor

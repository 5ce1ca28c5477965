#include "engine/pipeline.h"

#include <IL/il.h>
#include <IL/ilu.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/settings.h"
#include "core/state.h"
#include "engine/job.h"
#include "engine/worker.h"
#include "platform/files.h"
#include "test_support.h"

namespace vantor {
namespace {

using test::FixturePath;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class DevilEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ilInit();
        iluInit();
    }
};
const auto* const kDevil = ::testing::AddGlobalTestEnvironment(new DevilEnvironment);

class PipelineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings(true);
        ResetStateForTests();
        ResetJob();
        State().OutputFolder = out.path();
        State().OutputExtension = "dds";
        State().AutoOutputBpp = true;  // as both faces start a job with DdsBpp 0
    }
    bool Convert(const std::string& input) {
        State().CurrentInput = input;
        return ConvertCurrentFile();
    }
    // Files in the output folder other than the expected outputs.
    std::vector<std::string> Leftovers(const std::vector<std::string>& expected) {
        std::vector<std::string> extra;
        for (const std::string& name : ListFolder(out.path())) {
            bool known = false;
            for (const std::string& e : expected) known |= name == e;
            if (!known) extra.push_back(name);
        }
        return extra;
    }
    TempDir out;
};

struct FixtureCase {
    const char* file;
    int sourceBpp;  // as FreeImage loads it; 0 when the file must be refused
};

class PipelineFixtureTest : public PipelineTest, public ::testing::WithParamInterface<FixtureCase> {};

TEST_P(PipelineFixtureTest, ConvertsOrRefusesCleanly) {
    const FixtureCase& c = GetParam();
    const bool ok = Convert(FixturePath(c.file));
    EXPECT_EQ(ok, c.sourceBpp != 0);
    EXPECT_EQ(State().SourceBpp, c.sourceBpp);
    const std::string expectedName = State().OutputPath.empty() ? "" : FileNamePart(State().OutputPath);
    if (ok) {
        EXPECT_GT(QueryPath(State().OutputPath).size, 128);
        EXPECT_EQ(Leftovers({expectedName}), std::vector<std::string>{});
    } else {
        EXPECT_EQ(ListFolder(out.path()), std::vector<std::string>{});  // no output, no temporary
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, PipelineFixtureTest,
    ::testing::Values(FixtureCase{"rgb8-1layer-101x55.psd", 24}, FixtureCase{"gray16-raw-64x64.psd", 16},
                      FixtureCase{"gray32-raw-64x64.psd", 32}, FixtureCase{"rgb16-raw-5x5.psd", 48},
                      FixtureCase{"rgb32-alpha-100x150.psd", 128}, FixtureCase{"bitmap1-raw-63x63.psd", 1},
                      FixtureCase{"indexed8-raw-64x64.psd", 8}, FixtureCase{"rgb8-compat-64x64.psb", 32},
                      FixtureCase{"rgb8-nomerged-1x1.psd", 24}, FixtureCase{"broken-truncated-100x100.psd", 0},
                      FixtureCase{"broken-depth0.psd", 0}, FixtureCase{"broken-channels48879.psd", 0},
                      FixtureCase{"broken-signature.psd", 0}, FixtureCase{"broken-empty.psd", 0}),
    [](const auto& info) {
        std::string name = info.param.file;
        for (char& ch : name)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

// Files that once crashed the decoder: damaged metadata no longer reaches it,
// so the pixels still convert; damaged pixel data is refused.
TEST_F(PipelineTest, SurvivesTheRegressionFiles) {
    EXPECT_TRUE(Convert(test::TestDataPath("psd/crash-exif-resource.psd")));
    EXPECT_FALSE(Convert(test::TestDataPath("psd/crash-rle-row-overrun.psd")));
}

TEST_F(PipelineTest, RecordsTheFinishedSizeAndNamesTheOutput) {
    Settings().FilenameMask = "%filename%_%width%x%height%.%ext%";
    ASSERT_TRUE(Convert(FixturePath("rgb8-1layer-101x55.psd")));
    EXPECT_EQ(State().FinalWidth, 101);
    EXPECT_EQ(State().FinalHeight, 55);
    EXPECT_EQ(State().OutputPath, out.file("rgb8-1layer-101x55_101x55.dds"));
}

TEST_F(PipelineTest, AFailedConversionKeepsTheExistingOutput) {
    WriteFile(out.file("broken-truncated-100x100.dds"), "precious bytes");
    WriteFile(out.file("rgb8-1layer-101x55.dds"), "");  // output exists; the input is fine
    EXPECT_FALSE(Convert(FixturePath("broken-truncated-100x100.psd")));
    EXPECT_EQ(ReadFile(out.file("broken-truncated-100x100.dds")), "precious bytes");

    // The save itself fails: the output path is taken by a folder.
    MakeFolder(out.file("rgb8-compat-64x64.dds"));
    EXPECT_FALSE(Convert(FixturePath("rgb8-compat-64x64.psb")));
    EXPECT_TRUE(FolderExists(out.file("rgb8-compat-64x64.dds")));
    EXPECT_EQ(Leftovers({"broken-truncated-100x100.dds", "rgb8-1layer-101x55.dds",
                         "rgb8-compat-64x64.dds"}),
              std::vector<std::string>{});
}

TEST_F(PipelineTest, AReadOnlyOutputIsReplaced) {
    const std::string target = out.file("rgb8-1layer-101x55.dds");
    WriteFile(target, "old");
    chmod(target.c_str(), 0444);
    ASSERT_TRUE(Convert(FixturePath("rgb8-1layer-101x55.psd")));
    EXPECT_NE(ReadFile(target), "old");
    EXPECT_EQ(ReadFile(target).substr(0, 4), "DDS ");
}

TEST_F(PipelineTest, AMissingSubfolderFailsTheFile) {
    State().RelativeSubfolder = "not-there/";
    EXPECT_FALSE(Convert(FixturePath("rgb8-1layer-101x55.psd")));
    EXPECT_EQ(ListFolder(out.path()), std::vector<std::string>{});
}

class WorkerTest : public PipelineTest {
protected:
    void Run() {
        Progress().KeepRunning = true;
        BatchWorker(nullptr);
    }
};

TEST_F(WorkerTest, EmptyListOrStoppedWorkerConvertsNothing) {
    Run();
    EXPECT_EQ(Progress().ConvertedCount, 0);
    InputList()[FixturePath("rgb8-1layer-101x55.psd")] = {};
    Progress().KeepRunning = false;
    BatchWorker(nullptr);
    EXPECT_EQ(Progress().ConvertedCount, 0);
    EXPECT_EQ(ListFolder(out.path()), std::vector<std::string>{});
}

TEST_F(WorkerTest, CountersAdvanceOnlyAfterASuccess) {
    Settings().FilenameMask = "%n%.%ext%";
    InputList()[FixturePath("broken-empty.psd")] = {};
    InputList()[FixturePath("rgb8-1layer-101x55.psd")] = {};
    InputList()[FixturePath("rgb8-nomerged-1x1.psd")] = {};
    Run();
    EXPECT_EQ(Progress().ConvertedCount, 2);
    EXPECT_EQ(Progress().ProgressIndex, 3);
    EXPECT_EQ(State().SequenceNumber, 3);
    EXPECT_TRUE(FileExists(out.file("00001.dds")));
    EXPECT_TRUE(FileExists(out.file("00002.dds")));
}

TEST_F(WorkerTest, OutputTakesTheInputOrACustomTime) {
    TempDir in;
    const std::string input = in.file("a.psd");
    WriteFile(input, ReadFile(FixturePath("rgb8-1layer-101x55.psd")));
    ASSERT_TRUE(SetFileTimeLocal(input, 1500000000));
    InputList()[input] = {};

    Settings().FileTimestamp = 1;  // ORIGINAL
    Run();
    EXPECT_EQ(FileTimeLocal(out.file("a.dds")), 1500000000);

    Settings().FileTimestamp = 2;  // CUSTOM
    Settings().CustomTimestamp = 1234567890;
    Run();
    EXPECT_EQ(FileTimeLocal(out.file("a.dds")), 1234567890);

    Settings().FileTimestamp = 0;  // CURRENT
    Run();
    EXPECT_GT(FileTimeLocal(out.file("a.dds")), 1600000000);
}

}  // namespace
}  // namespace vantor

#pragma once
// Shared helpers of the test suites: temporary folders, fixtures, and
// running the vantor executable in an environment of its own.
#include <map>
#include <string>
#include <vector>

#include "engine/image.h"

namespace vantor::test {

// A fresh folder under the system's temporary folder, removed on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return mPath; }  // ends with "/"
    std::string file(const std::string& name) const { return mPath + name; }

private:
    std::string mPath;
};

std::string FixturePath(const std::string& name);   // ../shared/fixtures/psd/<name>
std::string TestDataPath(const std::string& name);  // tests/data/<name>
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

struct RunResult {
    int exitCode = -1;
    std::string out;                 // standard output
    std::vector<std::string> lines;  // standard output split into lines
};

// Runs the vantor executable with its own XDG_RUNTIME_DIR and XDG_CONFIG_HOME
// (made inside `home`), standard input from /dev/null unless `input` is given.
RunResult RunVantor(const std::vector<std::string>& args, const std::string& home,
                    const std::string& input = {});
// Runs any command line through /bin/sh and captures standard output.
RunResult RunShell(const std::string& command);

// The independent DDS readers. ProbeDds runs Pillow through dds_probe.py and
// returns its "key value" lines (width, height, mips, fourcc, chain); with a
// png path it also writes level 0 there.
std::map<std::string, std::string> ProbeDds(const std::string& dds, const std::string& png = {});
// One field of nvddsinfo's report ("Width", "Mipmap count", "FourCC").
std::string NvddsinfoField(const std::string& dds, const std::string& field);
// Level 0 as Pillow decodes it, as 32-bit pixels; empty when it fails.
FiImage DecodeLevelZero(const std::string& dds, const std::string& png);

}  // namespace vantor::test

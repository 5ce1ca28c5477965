#pragma once
// Shared helpers of the test suites: temporary folders, fixtures, and
// running the vantor executable in an environment of its own.
#include <string>
#include <vector>

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

}  // namespace vantor::test

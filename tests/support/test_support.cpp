#include "test_support.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vantor::test {

TempDir::TempDir() {
    std::string base = std::filesystem::temp_directory_path().string() + "/vantor-test-XXXXXX";
    std::vector<char> buf(base.begin(), base.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()) == nullptr) std::abort();
    mPath = std::string(buf.data()) + "/";
}

TempDir::~TempDir() {
    std::error_code ec;
    // Make everything writable again so read-only test files go too.
    for (auto& entry : std::filesystem::recursive_directory_iterator(mPath, ec))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::permissions(mPath, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(mPath, ec);
}

std::string FixturePath(const std::string& name) { return std::string(VANTOR_FIXTURES) + "/" + name; }
std::string TestDataPath(const std::string& name) { return std::string(VANTOR_TESTDATA) + "/" + name; }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

namespace {
std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') q += "'\\''";
        else q += c;
    }
    return q + "'";
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}
}  // namespace

RunResult RunShell(const std::string& command) {
    RunResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) result.out.append(buf, n);
    int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.lines = SplitLines(result.out);
    return result;
}

RunResult RunVantor(const std::vector<std::string>& args, const std::string& home,
                    const std::string& input) {
    std::string runtime = home + "runtime";
    std::string config = home + "config";
    mkdir(runtime.c_str(), 0700);
    mkdir(config.c_str(), 0700);
    std::string cmd = "env XDG_RUNTIME_DIR=" + ShellQuote(runtime) +
                      " XDG_CONFIG_HOME=" + ShellQuote(config) + " HOME=" + ShellQuote(home) +
                      " QT_QPA_PLATFORM=offscreen " + ShellQuote(VANTOR_EXE);
    for (const std::string& a : args) cmd += " " + ShellQuote(a);
    if (input.empty()) {
        cmd += " </dev/null";
    } else {
        std::string in = home + "stdin.txt";
        WriteFile(in, input);
        cmd += " <" + ShellQuote(in);
    }
    return RunShell(cmd);
}

std::map<std::string, std::string> ProbeDds(const std::string& dds, const std::string& png) {
    std::string cmd = "/usr/bin/python3 " + ShellQuote(std::string(VANTOR_SOURCE_DIR) +
                                                      "/tests/support/dds_probe.py") +
                      " " + ShellQuote(dds);
    if (!png.empty()) cmd += " --png " + ShellQuote(png);
    std::map<std::string, std::string> values;
    for (const std::string& line : RunShell(cmd + " 2>&1").lines) {
        size_t space = line.find(' ');
        if (space != std::string::npos) values[line.substr(0, space)] = line.substr(space + 1);
    }
    return values;
}

std::string NvddsinfoField(const std::string& dds, const std::string& field) {
    for (std::string line : RunShell("nvddsinfo " + ShellQuote(dds) + " 2>&1").lines) {
        line.erase(0, line.find_first_not_of('\t'));
        if (line.rfind(field + ": ", 0) == 0) return line.substr(field.size() + 2);
    }
    return {};
}

FiImage DecodeLevelZero(const std::string& dds, const std::string& png) {
    ProbeDds(dds, png);
    FiImage image(FreeImage_Load(FIF_PNG, png.c_str(), 0));
    if (!image) return image;
    return FiImage(FreeImage_ConvertTo32Bits(image.get()));
}

}  // namespace vantor::test

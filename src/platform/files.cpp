#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/clock.h"

namespace vantor {

PathInfo QueryPath(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) return {};
    if (S_ISDIR(st.st_mode)) return {PathInfo::Folder, 0};
    return {PathInfo::File, static_cast<int64_t>(st.st_size)};
}

bool FileExists(const std::string& path) { return QueryPath(path).kind == PathInfo::File; }
bool FolderExists(const std::string& path) { return QueryPath(path).kind == PathInfo::Folder; }

bool DeleteFileForced(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) chmod(path.c_str(), st.st_mode | S_IWUSR);
    return unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool MoveFileReplacing(const std::string& from, const std::string& to) {
    return rename(from.c_str(), to.c_str()) == 0;
}

bool MakeFolder(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return mkdir(p.c_str(), 0777) == 0 || FolderExists(p);
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return names;
    while (dirent* e = readdir(dir)) {
        std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
    }
    closedir(dir);
    return names;
}

int32_t FileTimeLocal(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return 0;
    return UtcToLocalSeconds(st.st_mtim.tv_sec);
}

bool SetFileTimeLocal(const std::string& path, int32_t localSeconds) {
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;  // access time stays
    times[1].tv_sec = LocalSecondsToUtc(localSeconds);
    times[1].tv_nsec = 0;
    return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

std::string ReadWholeFile(const std::string& path, bool* ok) {
    std::ifstream in(path, std::ios::binary);
    if (ok) *ok = static_cast<bool>(in);
    if (!in) return {};
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string FolderPart(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNamePart(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithTrailingSlash(const std::string& folder) {
    if (folder.empty() || folder.back() == '/') return folder;
    return folder + "/";
}

std::string ExecutablePath() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    return std::string(buf, static_cast<size_t>(n));
}

std::string ExecutableFolder() { return FolderPart(ExecutablePath()); }

uint64_t PhysicalMemoryBytes() {
    long pages = sysconf(_SC_PHYS_PAGES);
    long size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || size <= 0) return 0;
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(size);
}

}  // namespace vantor

#include "platform/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/files.h"

namespace vantor {
namespace {

// Owns one file descriptor; closes it on every way out.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : mFd(fd) {}
    ~UniqueFd() {
        if (mFd >= 0) ::close(mFd);
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    int get() const { return mFd; }
    // Closes now and reports whether the kernel accepted the last writes.
    [[nodiscard]] bool Close() {
        int fd = mFd;
        mFd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int mFd;
};

// Removes the temporary file unless the rename has consumed it.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile() {
        if (!mPath.empty()) ::unlink(mPath.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    void Set(std::string path) { mPath = std::move(path); }
    const std::string& path() const { return mPath; }
    void Release() { mPath.clear(); }

private:
    std::string mPath;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// The file a path finally names: links are followed so that replacing the
// file leaves a user's link (for example into a synced folder) in place.
bool ResolveTarget(const std::string& path, std::string& target) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        target = path;
        return true;
    }
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return false;  // dangling link
    target = resolved;
    return true;
}

// A new, empty file beside the target, created exclusively so that nothing
// else's file is ever truncated. Hidden, and named after the target.
int CreateTemporary(const std::string& target, TemporaryFile& temporary) {
    static std::atomic<unsigned> counter{0};
    std::string folder = FolderPart(target);
    std::string base = folder + "." + FileNamePart(target) + "." + std::to_string(::getpid()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = base + std::to_string(counter++) + ".tmp";
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            temporary.Set(name);
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

void SyncFolder(const std::string& target) {
    std::string folder = FolderPart(target);
    UniqueFd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());  // best effort: the rename is done either way
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::string target;
    if (path.empty() || !ResolveTarget(path, target)) return false;

    struct stat old {};
    bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode)) return false;
        // A file the user made read-only stays as it is, even for root.
        if (::access(target.c_str(), W_OK) != 0 || (old.st_mode & 0222) == 0) return false;
    }

    TemporaryFile temporary;
    UniqueFd fd(CreateTemporary(target, temporary));
    if (fd.get() < 0) return false;
    if (exists && ::fchmod(fd.get(), old.st_mode & 07777) != 0) return false;
    if (!WriteAll(fd.get(), bytes)) return false;
    if (::fsync(fd.get()) != 0) return false;
    if (!fd.Close()) return false;
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) return false;
    temporary.Release();
    SyncFolder(target);
    return true;
}

bool MakeFolderPath(const std::string& folder) {
    if (folder.empty()) return false;
    if (FolderExists(folder)) return true;
    // Each level from the top down; a level that exists already is fine.
    for (size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        std::string level = folder.substr(0, slash);
        if (QueryPath(level).kind == PathInfo::Missing) MakeFolder(level);
    }
    MakeFolder(folder);
    return FolderExists(folder);
}

}  // namespace vantor

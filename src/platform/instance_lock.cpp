#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace vantor {
namespace {
int gLockFd = -1;
}

std::string InstanceLockPath(const std::string& title) {
    // A runtime folder that does not exist (a stale variable in a script)
    // must not make every start look like a second instance.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (runtime && *runtime && stat(runtime, &st) == 0 && S_ISDIR(st.st_mode)) {
        std::string dir = runtime;
        if (dir.back() != '/') dir += '/';
        return dir + title + ".lock";
    }
    return "/tmp/" + title + "-" + std::to_string(getuid()) + ".lock";
}

bool ClaimInstanceLock(const std::string& title) {
    if (gLockFd >= 0) return true;
    int fd = open(InstanceLockPath(title).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    gLockFd = fd;
    return true;
}

void ReleaseInstanceLock() {
    if (gLockFd < 0) return;
    flock(gLockFd, LOCK_UN);
    close(gLockFd);
    gLockFd = -1;
}

}  // namespace vantor

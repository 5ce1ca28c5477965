#pragma once
// File-system services: POSIX underneath, folders written with a trailing "/".
#include <cstdint>
#include <string>
#include <vector>

namespace vantor {

// What a size query reports: a missing path, a folder, or a file and its size.
struct PathInfo {
    enum Kind { Missing, Folder, File } kind = Missing;
    int64_t size = 0;
};
PathInfo QueryPath(const std::string& path);
bool FileExists(const std::string& path);    // a file (not a folder), any size
bool FolderExists(const std::string& path);

// Deletes a file, making it writable first; true when it is gone.
bool DeleteFileForced(const std::string& path);
// rename(2): atomic within one file system; an existing target is replaced.
[[nodiscard]] bool MoveFileReplacing(const std::string& from, const std::string& to);
bool MakeFolder(const std::string& path);
std::vector<std::string> ListFolder(const std::string& folder);

// Last-write time as whole seconds of the local wall clock (see clock.h).
int32_t FileTimeLocal(const std::string& path);  // 0 when it cannot be read
bool SetFileTimeLocal(const std::string& path, int32_t localSeconds);

std::string ReadWholeFile(const std::string& path, bool* ok = nullptr);

// Folder part of a path including its last separator ("/a/b.psd" -> "/a/").
std::string FolderPart(const std::string& path);
std::string FileNamePart(const std::string& path);
std::string WithTrailingSlash(const std::string& folder);
// Folder of the running executable, with a trailing "/".
std::string ExecutableFolder();
std::string ExecutablePath();

// Total physical memory in bytes (0 when unknown).
uint64_t PhysicalMemoryBytes();

}  // namespace vantor

#pragma once
// Single-instance guard: an exclusive flock on a file named after the product
// title, held until the process ends (the kernel drops it even after a crash).
#include <string>

namespace vantor {

// True when this process now holds the lock; false when another one does.
[[nodiscard]] bool ClaimInstanceLock(const std::string& title);
void ReleaseInstanceLock();
// Where the lock file lives for this title (for tests and diagnostics).
std::string InstanceLockPath(const std::string& title);

}  // namespace vantor

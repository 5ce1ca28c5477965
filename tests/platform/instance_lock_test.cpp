#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "test_support.h"

namespace vantor {
namespace {

// Whether a separate process could take the lock right now (util-linux flock).
bool OtherProcessCanClaim(const std::string& title) {
    return test::RunShell("flock -n -E 7 '" + InstanceLockPath(title) + "' true").exitCode == 0;
}

TEST(InstanceLockTest, HeldUntilReleasedAndScopedByRuntimeFolder) {
    test::TempDir runtime;
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    const std::string title = "Lock Test 1.0";
    EXPECT_EQ(InstanceLockPath(title), runtime.path() + title + ".lock");
    EXPECT_TRUE(OtherProcessCanClaim(title));
    ASSERT_TRUE(ClaimInstanceLock(title));
    EXPECT_FALSE(OtherProcessCanClaim(title));

    test::TempDir elsewhere;  // another runtime folder is another session
    setenv("XDG_RUNTIME_DIR", elsewhere.path().c_str(), 1);
    EXPECT_TRUE(OtherProcessCanClaim(title));
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);

    ReleaseInstanceLock();
    EXPECT_TRUE(OtherProcessCanClaim(title));
}

TEST(InstanceLockTest, FallsBackToTmpWithTheUserId) {
    const std::string fallback = "/tmp/T-" + std::to_string(getuid()) + ".lock";
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(InstanceLockPath("T"), fallback);
    setenv("XDG_RUNTIME_DIR", "/nonexistent/runtime", 1);
    EXPECT_EQ(InstanceLockPath("T"), fallback);
}

}  // namespace
}  // namespace vantor

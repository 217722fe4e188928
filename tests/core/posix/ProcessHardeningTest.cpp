// A process that has turned core dumps off stays that way.

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/ProcessHardening.h"

namespace {

TEST(ProcessHardening, NoCoreFileAndNotDumpable) {
    // In a child, so that the test program itself keeps its settings.
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const struct rlimit plenty { RLIM_INFINITY, RLIM_INFINITY };
        ::setrlimit(RLIMIT_CORE, &plenty);  // as after "ulimit -c unlimited"
        core::KeepSecretsOutOfCoreDumps();
        struct rlimit core {};
        const bool noCore = ::getrlimit(RLIMIT_CORE, &core) == 0 && core.rlim_cur == 0 &&
                            core.rlim_max == 0 && ::setrlimit(RLIMIT_CORE, &plenty) != 0;
        const bool dumpable = ::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0) != 0;
        ::_exit((noCore ? 0 : 1) | (dumpable ? 2 : 0));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status) & 1, 0) << "the core size limit should be 0 for good";
    EXPECT_EQ(WEXITSTATUS(status) & 2, 0) << "the process should not be dumpable";
}

}  // namespace

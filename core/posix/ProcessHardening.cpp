#include "core/ProcessHardening.h"

#include <sys/prctl.h>
#include <sys/resource.h>

namespace core {

void KeepSecretsOutOfCoreDumps() {
    // Both soft and hard limit, so that nothing later can raise it again.
    const struct rlimit none { 0, 0 };
    ::setrlimit(RLIMIT_CORE, &none);
    // A core handler that is a pipe ignores the limit; a process that is not
    // dumpable is not handed to it at all.
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

}  // namespace core

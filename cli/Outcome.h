#pragma once

#include <string>

#include "core/ExitStatus.h"

namespace cli {

// How one operation ended: an exit status and, unless it completed, the
// sentence that says why.
struct Outcome {
    int status = kCompleted;
    std::string message;
};

// The status that tells a script most about a run of several operations:
// a usage error above a failure, a failure above a wrong password, a wrong
// password above an original that could not be wiped, and that above success.
int WorstStatus(int a, int b);

}  // namespace cli

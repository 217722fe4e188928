#pragma once

namespace core {

// The exit statuses of both programs, for scripts.
enum ExitStatus : int {
    kCompleted = 0,      // every operation completed (or the window was closed)
    kFailed = 1,         // declined, cancelled, mismatched or failed
    kUsage = 2,          // the command line could not be used
    kNotWiped = 3,       // encrypted, but an original could not be wiped
    kWrongPassword = 4,  // wrong password, or not a valid container
};

}  // namespace core

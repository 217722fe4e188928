#include "fileio/ThreadSignals.h"

namespace fileio {

// Windows delivers Ctrl-C and the like on a thread of their own, never on
// one of the program's: there is nothing to block.
TerminationSignalsBlocked::TerminationSignalsBlocked() : saved_{} {}

TerminationSignalsBlocked::~TerminationSignalsBlocked() = default;

}  // namespace fileio

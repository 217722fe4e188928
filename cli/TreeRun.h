#pragma once

#include "cli/CliFrontEnd.h"
#include "cli/Options.h"

namespace cli {

// encrypt -r / decrypt -r: every regular file below the folders named (and
// the files named), each written beside its source, one password for all,
// one progress bar for the set. Each skip and failure is named on standard
// error, then the summary line ("312 encrypted, 3 skipped, 1 failed"). An
// interrupt ends the set before its next chunk: the file being worked on is
// left as it was, and the summary tells where it stopped (status 1).
// --dry-run lists the files and their outputs on standard output instead.
// Returns the worst exit status.
int RunTree(const Options& options, CliFrontEnd& frontEnd);

}  // namespace cli

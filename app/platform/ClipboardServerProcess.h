#pragma once

#include <QString>

namespace app {

// What the clipboard server asks of the operating system, one file per
// platform.
namespace clipboardserver::process {

// Leaves the folder the server was started in, so that it keeps nothing busy.
void LeaveWorkingFolder();

// The UTF-8 text on standard input, up to its end.
QString ReadStandardInput();

// Tells the waiting parent that it may end, then lets go of standard output
// so that nobody waits for this process's output.
void ReportReady();

}  // namespace clipboardserver::process

}  // namespace app

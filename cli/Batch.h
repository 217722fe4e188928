#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "cli/FileJob.h"
#include "core/flows/FrontEnd.h"

namespace cli {

// Tells what became of one job on the given front end and returns its exit
// status.
using JobReport =
    std::function<int(core::flows::FrontEnd&, const FileJob&, const core::flows::Outcome&)>;

// Runs the jobs on `threads` threads at once, each file with its share of
// the threads for its own work. Each job's messages are held back and
// written in the order of the jobs, as soon as the jobs before it are done,
// so standard error reads as if the files had been worked on one after
// another. One progress bar shows the whole (when `progress`). Returns the
// worst status.
int RunBatch(const std::vector<FileJob>& jobs, std::size_t threads, bool progress,
             const std::u16string& password, const JobReport& report);

}  // namespace cli

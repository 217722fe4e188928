#pragma once

#include <optional>
#include <string>

#include "core/flows/FrontEnd.h"
#include "fileio/FileIdentity.h"

namespace cli {

// One input of the encrypt or decrypt command and where its result goes.
struct FileJob {
    std::string input;   // a file, or "-" for standard input
    std::string output;  // a file, or "-" for standard output
    bool encrypt = true;
    // Base64 text instead of the raw container; for decryption without it,
    // input that starts like Base64 text is read as such.
    bool armor = false;
    bool force = false;  // an existing output may be replaced
    bool wipe = false;   // wipe the input after its encryption was checked
    // A file of a folder's walk: the file the input must still be when opened.
    std::optional<fileio::FileIdentity> identity;
};

// What can be known about the job before the password is asked for: names,
// the input's kind, an existing output, binary data for a terminal.
// Nothing when the job can run.
std::optional<core::flows::Outcome> Check(const FileJob& job);

// Runs the job with password. Nothing reaches the output unless the whole
// operation succeeded: a container is checked before any plain data is
// written, and a file output is replaced only once it is complete.
core::flows::Outcome Run(const FileJob& job, core::flows::FrontEnd& frontEnd,
                         const std::u16string& password);

}  // namespace cli

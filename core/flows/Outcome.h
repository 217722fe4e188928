#pragma once

#include <optional>
#include <string>

#include "cipher/FileError.h"
#include "core/ExitStatus.h"
#include "core/Messages.h"

namespace core {

struct WipeResult;

namespace flows {

// How an action ended, in the terms every front end shares.
enum class Ending {
    Completed,      // the work was done
    Declined,       // nothing was done, and nothing is said (no source, no password, a No)
    Failed,         // nothing (more) was done; the message says why
    WrongPassword,  // the password does not open the data, or the data is no encrypted data
    NotWiped,       // encrypted, but the original could not be wiped
    Usage,          // the request itself cannot be carried out as given
};

// What one flow returns: how it ended and what the user is to read.
struct Outcome {
    Ending ending = Ending::Completed;
    std::optional<messages::Message> message;
    // The file failure behind the outcome, for a front end that adds advice
    // of its own (the command-line tool's --force).
    cipher::FileFailure failure = cipher::FileFailure::None;
};

Outcome Completed();
Outcome Declined();
Outcome Failed(messages::Message message);
Outcome WrongPassword(messages::Message message);

// True when the name leads to something that is neither a regular file nor
// a folder: a device, a pipe or a socket.
bool IsOtherThanFile(const std::u16string& name);

// A failed file operation: a wrong password, data that cannot be an
// encrypted file (its length tells) or one too large to be one end as a
// wrong password;
// everything else as a failure.
Outcome FileFailed(const cipher::FileError& error);

// A wipe that was asked for: completed, or not wiped with the reason.
Outcome WipeEnded(const WipeResult& result, const std::string& source);

// What a program makes of an outcome: its exit status and the message, if
// any, to show.
struct Conclusion {
    ExitStatus status = kCompleted;
    std::optional<messages::Message> message;
};
Conclusion Conclude(const Outcome& outcome);

// The status that tells a script most about a run of several operations: a
// usage error above a failure, a failure above a wrong password, a wrong
// password above an original that could not be wiped, and that above success.
int WorstStatus(int a, int b);

}  // namespace flows

}  // namespace core

#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/flows/FileFlow.h"

namespace core {

// Several files in one go, each written beside its source under the usual
// name: the files named and every regular file below the folders named, one
// password for all, one progress for the whole set and a summary at the end.
namespace flows {

// One file of a set. Names are the system's bytes (UTF-8).
struct SetFile {
    std::string source;
    std::string destination;
    std::uint64_t bytes = 0;
    std::uint64_t device = 0;  // the source's identity when the folder was read
    std::uint64_t inode = 0;
};

// Something the set leaves out, and why.
struct SetProblem {
    messages::Message message;
    bool failed = false;    // a failure rather than a skip by rule
    bool existing = false;  // skipped because the output is there already
};

struct FileSet {
    FileDirection direction = FileDirection::Encrypt;
    std::vector<SetFile> files;
    std::vector<SetProblem> problems;
};

// The set for `names` (files and folders; a folder is walked without
// following links, hidden names included). Encrypting takes every regular
// file but those whose name ends in ".enc"; decrypting takes those that end
// in ".enc". Links, devices, pipes and sockets are skipped; so is a file
// whose output exists, unless it may be replaced. A name that is not UTF-8
// and a folder that cannot be read are failures.
FileSet PlanSet(const std::vector<std::string>& names, FileDirection direction, bool overwrite);

// A name for the user's eyes: bytes that are not UTF-8 are shown as \xNN.
std::string ShownName(const std::string& name);

// How a set went: the counts, the worst status, where it stopped.
class SetTally {
public:
    explicit SetTally(const FileSet& set);

    // One file's outcome; its message, if any, joins the problems (a
    // completed file's wipe report included).
    void Add(const SetFile& file, const Outcome& outcome);
    void Skip(SetProblem problem);
    // An outcome that changes no count (a wipe after the set): its status and message.
    void Note(const Outcome& outcome);
    // The set was stopped at this file: status 1.
    void StoppedAt(const std::string& source);

    bool Stopped() const { return stoppedAt_.has_value(); }
    std::size_t Done() const { return done_; }
    int Status() const { return status_; }
    // "312 encrypted, 3 skipped, 1 failed", and where it stopped.
    messages::Message Summary() const;
    // What a dry run would do: "312 to encrypt, 3 skipped".
    messages::Message Preview() const;
    // The problems added since the last call.
    std::vector<SetProblem> TakeNewProblems();
    const std::vector<SetProblem>& Problems() const { return problems_; }

private:
    void Count(const SetProblem& problem);

    FileDirection direction_;
    std::size_t files_ = 0, done_ = 0, skipped_ = 0, failed_ = 0;
    int status_ = 0;
    std::optional<std::string> stoppedAt_;
    std::vector<SetProblem> problems_;
    std::size_t reported_ = 0;
};

// The front end for the files of a set: everything goes to `inner`, except
// that the busy state is the set's (held by the caller around the whole
// set) and progress is the set's bytes done of its bytes in all.
class SetFrontEnd final : public FrontEnd, private cipher::ProgressSink {
public:
    SetFrontEnd(FrontEnd& inner, std::uint64_t totalBytes);

    // The next file, of this many bytes; the one before counts as done.
    void BeginFile(std::uint64_t bytes);

    PasswordAnswer AskPassword(const PasswordQuestion& question,
                               std::u16string& password) override {
        return inner_.AskPassword(question, password);
    }
    bool AskYesNo(const messages::Message& question, DefaultAnswer preselected) override {
        return inner_.AskYesNo(question, preselected);
    }
    void Inform(const messages::Message& message) override { inner_.Inform(message); }
    cipher::ProgressSink& Progress() override { return *this; }
    void BeginBusy() override {}
    void EndBusy() override {}
    StopRequest TakeStopRequest() override { return inner_.TakeStopRequest(); }

private:
    void Progress(std::int32_t& Percent) override;
    void SetStatusText(const std::u16string&) override {}
    void PumpEvents() override { inner_.Progress().PumpEvents(); }

    FrontEnd& inner_;
    std::uint64_t total_;
    std::uint64_t done_ = 0;
    std::uint64_t current_ = 0;
    std::int32_t shown_ = -1;
};

// Runs `one` on each file of the set in turn through a SetFrontEnd, in the
// busy state, and adds the outcomes to the tally. A file replaced since the
// folder was read is skipped; a stopped file ends the set there. With
// `reportEach` every problem is told to the front end as it happens.
using SetFileRun = std::function<Outcome(const SetFile& file, FrontEnd& frontEnd)>;
void RunSetFiles(FrontEnd& frontEnd, const FileSet& set, SetTally& tally, bool reportEach,
                 const SetFileRun& one);

// The window's dialogue for a set: the password obtained once (and
// confirmed when encrypting), every file encrypted or decrypted, then one
// "Wipe the N originals?" for all that were encrypted, and a summary box
// that names what was skipped or failed. A decryption empties `password`
// at the end. Returns the exit status.
int RunSet(FrontEnd& frontEnd, const FileSet& set, const PasswordPlan& plan,
           std::u16string& password, WipePlan wipe);

// The summary with the problems listed, for one box.
messages::Message SummaryWithProblems(const SetTally& tally);

}  // namespace flows

}  // namespace core

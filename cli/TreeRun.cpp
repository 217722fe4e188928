#include "cli/TreeRun.h"

#include "cipher/SecureZero.h"
#include "cli/Descriptors.h"
#include "cli/FileJob.h"
#include "core/ExitStatus.h"
#include "core/TerminationCleanup.h"
#include "core/flows/FileSet.h"
#include "core/flows/PasswordStep.h"

namespace cli {

namespace {

void Tell(CliFrontEnd& frontEnd, const flows::SetProblem& problem) {
    frontEnd.SetSubject({});
    std::string text = messages::Render(problem.message);
    if (problem.existing) text += std::string(" ") + messages::kUseForce;
    frontEnd.Inform({"%1", {text}});
}

void Print(int fd, const std::string& text) {
    [[maybe_unused]] std::error_code ec = WriteAll(fd, text.data(), text.size());
}

// The interrupt stops the set, not the program, while the files are worked on.
class InterruptStopsSet {
public:
    InterruptStopsSet() { StopOnInterrupt(true); }
    ~InterruptStopsSet() { StopOnInterrupt(false); }
    InterruptStopsSet(const InterruptStopsSet&) = delete;
    InterruptStopsSet& operator=(const InterruptStopsSet&) = delete;
};

}  // namespace

int RunTree(const Options& options, CliFrontEnd& frontEnd) {
    const bool encrypt = options.command == Command::Encrypt;
    const flows::FileSet set = flows::PlanSet(
        options.files, encrypt ? flows::FileDirection::Encrypt : flows::FileDirection::Decrypt,
        options.force);
    flows::SetTally tally(set);
    for (const flows::SetProblem& problem : tally.TakeNewProblems()) Tell(frontEnd, problem);
    if (options.dryRun) {
        for (const flows::SetFile& file : set.files) {
            Print(kStandardOutput, flows::ShownName(file.source) + " -> " +
                                       flows::ShownName(file.destination) + "\n");
        }
        Print(kStandardOutput, messages::Render(tally.Preview()) + "\n");
        return tally.Status();
    }
    if (!set.files.empty()) {
        std::u16string password;
        const cipher::WipedOnExit wipePassword(password);
        const bool terminal = options.password.from == PasswordFrom::Terminal;
        frontEnd.SetSubject({});
        if (std::optional<flows::Outcome> none =
                flows::ObtainPassword(frontEnd, {true, encrypt && terminal}, password)) {
            return flows::WorstStatus(tally.Status(), flows::Finish(frontEnd, *none));
        }
        const InterruptStopsSet interruptStops;
        // Each message names its file; the bar has no label of its own.
        flows::RunSetFiles(frontEnd, set, tally, true,
                           [&](const flows::SetFile& file, flows::FrontEnd& each) {
                               const FileJob job{file.source,   file.destination, encrypt,
                                                 options.armor, options.force,    options.wipe};
                               return Run(job, each, password);
                           });
    }
    // --quiet keeps it for a run that did not go through.
    if (!options.quiet || tally.Status() != kCompleted) {
        Print(kStandardError, messages::Render(tally.Summary()) + "\n");
    }
    return tally.Status();
}

}  // namespace cli

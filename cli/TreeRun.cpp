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

void Tell(CliFrontEnd& frontEnd, const core::flows::SetProblem& problem) {
    frontEnd.SetSubject({});
    std::string text = core::messages::Render(problem.message);
    if (problem.existing) text += std::string(" ") + core::messages::kUseForce;
    frontEnd.Inform({"%1", {text}});
}

void Print(int fd, const std::string& text) {
    [[maybe_unused]] std::error_code ec = WriteAll(fd, text.data(), text.size());
}

// The interrupt stops the set, not the program, while the files are worked on.
class InterruptStopsSet {
public:
    InterruptStopsSet() { core::StopOnInterrupt(true); }
    ~InterruptStopsSet() { core::StopOnInterrupt(false); }
    InterruptStopsSet(const InterruptStopsSet&) = delete;
    InterruptStopsSet& operator=(const InterruptStopsSet&) = delete;
};

}  // namespace

int RunTree(const Options& options, CliFrontEnd& frontEnd) {
    const bool encrypt = options.command == Command::Encrypt;
    const core::flows::FileSet set = core::flows::PlanSet(
        options.files,
        encrypt ? core::flows::FileDirection::Encrypt : core::flows::FileDirection::Decrypt,
        options.force);
    core::flows::SetTally tally(set);
    for (const core::flows::SetProblem& problem : tally.TakeNewProblems()) Tell(frontEnd, problem);
    if (options.dryRun) {
        for (const core::flows::SetFile& file : set.files) {
            Print(kStandardOutput, core::flows::ShownName(file.source) + " -> " +
                                       core::flows::ShownName(file.destination) + "\n");
        }
        Print(kStandardOutput, core::messages::Render(tally.Preview()) + "\n");
        return tally.Status();
    }
    if (!set.files.empty()) {
        std::u16string password;
        const cipher::WipedOnExit wipePassword(password);
        const bool terminal = options.password.from == PasswordFrom::Terminal;
        frontEnd.SetSubject({});
        if (std::optional<core::flows::Outcome> none =
                core::flows::ObtainPassword(frontEnd, {true, encrypt && terminal}, password)) {
            return core::flows::WorstStatus(tally.Status(), core::flows::Finish(frontEnd, *none));
        }
        const InterruptStopsSet interruptStops;
        // Each message names its file; the bar has no label of its own.
        core::flows::RunSetFiles(
            frontEnd, set, tally, true,
            [&](const core::flows::SetFile& file, core::flows::FrontEnd& each) {
                const FileJob job{
                    file.source,  file.destination,           encrypt, options.armor, options.force,
                    options.wipe, {{file.device, file.inode}}};
                return Run(job, each, password);
            });
    }
    // --quiet keeps it for a run that did not go through.
    if (!options.quiet || tally.Status() != core::kCompleted) {
        Print(kStandardError, core::messages::Render(tally.Summary()) + "\n");
    }
    return tally.Status();
}

}  // namespace cli

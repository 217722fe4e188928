#include "cli/Program.h"

#include <algorithm>
#include <exception>
#include <new>
#include <string>

#include "cipher/ChunkWorkers.h"
#include "cipher/SecureZero.h"
#include "cli/Batch.h"
#include "cli/CliFrontEnd.h"
#include "cli/Descriptors.h"
#include "cli/FileJob.h"
#include "cli/Options.h"
#include "cli/OutputName.h"
#include "cli/TextJob.h"
#include "cli/TreeRun.h"
#include "cli/Usage.h"
#include "core/Messages.h"
#include "core/flows/PasswordStep.h"

namespace cli {

namespace {

void Print(int fd, const std::string& text) {
    [[maybe_unused]] std::error_code ec = WriteAll(fd, text.data(), text.size());
}

std::string Subject(const std::string& file) {
    return file == "-" ? "standard input" : file;
}

// A password kept for the length of the run, wiped at its end.
struct Password {
    ~Password() { cipher::Wipe(text); }
    std::u16string text;
};

// Tells what went wrong with one file, with the advice that fits the tool,
// and returns the file's exit status.
int Report(core::flows::FrontEnd& frontEnd, const core::flows::Outcome& outcome) {
    core::flows::Outcome shown = outcome;
    if (outcome.failure == cipher::FileFailure::DestinationExists && outcome.message) {
        shown.message = core::messages::Message{
            "%1 %2", {core::messages::Render(*outcome.message), core::messages::kUseForce}};
    }
    return core::flows::Finish(frontEnd, shown);
}

int Report(CliFrontEnd& frontEnd, const std::string& input, const core::flows::Outcome& outcome) {
    frontEnd.SetSubject(Subject(input));
    return Report(static_cast<core::flows::FrontEnd&>(frontEnd), outcome);
}

// The password, once for the run: asked on the terminal twice for
// encryption, read once from any other source.
std::optional<core::flows::Outcome> ObtainPassword(const Options& options, CliFrontEnd& frontEnd,
                                                   std::u16string& password) {
    const bool encrypt =
        options.command == Command::Encrypt || options.command == Command::EncryptText;
    const bool terminal = options.password.from == PasswordFrom::Terminal;
    frontEnd.SetSubject({});
    return core::flows::ObtainPassword(frontEnd, {true, encrypt && terminal}, password);
}

int RunFiles(const Options& options, CliFrontEnd& frontEnd, bool progress) {
    const bool encrypt = options.command == Command::Encrypt;
    int status = core::kCompleted;
    std::vector<FileJob> jobs;
    // Everything that can be known about the files is checked before the
    // password is asked for.
    for (const std::string& input : options.files) {
        const std::optional<std::string> output =
            options.output ? options.output : DefaultOutputFor(input, encrypt);
        std::optional<core::flows::Outcome> refused;
        FileJob job{input,         output.value_or(""), encrypt,     options.armor,
                    options.force, options.wipe,        std::nullopt};
        if (!output) {
            refused = core::flows::Failed(core::messages::Plain(core::messages::kNoOutputName));
        } else {
            refused = Check(job);
        }
        if (refused) {
            status = core::flows::WorstStatus(status, Report(frontEnd, input, *refused));
        } else {
            jobs.push_back(std::move(job));
        }
    }
    if (jobs.empty()) return status;
    Password password;
    if (std::optional<core::flows::Outcome> none =
            ObtainPassword(options, frontEnd, password.text)) {
        return core::flows::WorstStatus(status, core::flows::Finish(frontEnd, *none));
    }
    // Each file is its own chain: several are worked on at once.
    const std::size_t threads = std::min(cipher::WorkerThreads(), jobs.size());
    if (threads > 1) {
        auto report = [](core::flows::FrontEnd& held, const FileJob&,
                         const core::flows::Outcome& outcome) { return Report(held, outcome); };
        return core::flows::WorstStatus(status,
                                        RunBatch(jobs, threads, progress, password.text, report));
    }
    for (const FileJob& job : jobs) {
        frontEnd.SetSubject(Subject(job.input));
        const core::flows::Outcome outcome = Run(job, frontEnd, password.text);
        status = core::flows::WorstStatus(status, Report(frontEnd, job.input, outcome));
    }
    return status;
}

int RunText(const Options& options, CliFrontEnd& frontEnd) {
    Password password;
    if (std::optional<core::flows::Outcome> none =
            ObtainPassword(options, frontEnd, password.text)) {
        return core::flows::Finish(frontEnd, *none);
    }
    const TextJob job{options.command == Command::EncryptText, options.text, !options.quiet};
    return core::flows::Finish(frontEnd, Run(job, frontEnd, password.text));
}

int RunChecked(const std::vector<std::string>& arguments) {
    const ParsedOptions parsed = ParseOptions(arguments);
    const Options& options = parsed.options;
    if (!parsed.error.empty()) {
        Complain("", parsed.error);
        Print(kStandardError, "Try 'quillbox-cli --help' for more information.\n");
        return core::kUsage;
    }
    if (options.help) {
        Print(kStandardOutput, HelpText());
        return core::kCompleted;
    }
    if (options.version) {
        Print(kStandardOutput, VersionText());
        return core::kCompleted;
    }
    IgnoreBrokenPipes();
    WidenPipes();
    if (options.threads > 0) cipher::SetWorkerThreads(options.threads);
    const bool progress = !options.quiet && IsTerminal(kStandardError);
    CliFrontEnd frontEnd(options.password, progress);
    // A set taken with -r is worked on one file at a time (the threads then
    // share the work inside each file).
    if (options.recursive) return RunTree(options, frontEnd);
    return IsFileCommand(options.command) ? RunFiles(options, frontEnd, progress)
                                          : RunText(options, frontEnd);
}

}  // namespace

int RunProgram(const std::vector<std::string>& arguments) {
    // Whatever fails unexpectedly (memory running out, a thread that cannot
    // start) ends in a message and status 1, after the buffers that held the
    // password or plain text were wiped on the way out.
    try {
        return RunChecked(arguments);
    } catch (const std::bad_alloc&) {
        Complain("", core::messages::Render(core::messages::Plain(core::messages::kOutOfMemory)));
    } catch (const std::exception& error) {
        Complain("", core::messages::ForUnexpected(error.what()));
    }
    return core::kFailed;
}

}  // namespace cli

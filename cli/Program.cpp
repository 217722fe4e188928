#include "cli/Program.h"

#include <exception>
#include <new>
#include <string>

#include "cipher/SecureZero.h"
#include "cli/Descriptors.h"
#include "cli/FileJob.h"
#include "cli/Options.h"
#include "cli/OutputName.h"
#include "cli/PasswordSource.h"
#include "cli/TextJob.h"
#include "cli/Usage.h"
#include "core/Messages.h"

namespace cli {

namespace {

constexpr const char* kProgram = "quillbox-cli: ";

void Print(int fd, const std::string& text) {
    [[maybe_unused]] std::error_code ec = WriteAll(fd, text.data(), text.size());
}

void Complain(const std::string& subject, const std::string& message) {
    Print(kStandardError, kProgram + (subject.empty() ? "" : subject + ": ") + message + "\n");
}

std::string Subject(const std::string& file) {
    return file == "-" ? "standard input" : file;
}

// A password kept for the length of the run, wiped at its end.
struct Password {
    ~Password() { cipher::Wipe(text); }
    std::u16string text;
};

int RunFiles(const Options& options, const std::u16string& password) {
    int status = kCompleted;
    const bool encrypt = options.command == Command::Encrypt;
    for (const std::string& input : options.files) {
        const std::optional<std::string> output =
            options.output ? options.output : DefaultOutputFor(input, encrypt);
        Outcome outcome;
        if (!output) {
            outcome = {kFailed, "No output name can be made from this name; give one with -o."};
        } else {
            const FileJob job{input,
                              *output,
                              encrypt,
                              options.armor,
                              options.force,
                              options.wipe,
                              !options.quiet && IsTerminal(kStandardError)};
            outcome = Run(job, password);
        }
        if (outcome.status != kCompleted) Complain(Subject(input), outcome.message);
        status = WorstStatus(status, outcome.status);
    }
    return status;
}

int RunText(const Options& options, const std::u16string& password) {
    const TextJob job{options.command == Command::EncryptText, options.text, !options.quiet};
    const Outcome outcome = Run(job, password);
    if (outcome.status != kCompleted) Complain("", outcome.message);
    return outcome.status;
}

}  // namespace

namespace {

int RunChecked(const std::vector<std::string>& arguments) {
    const ParsedOptions parsed = ParseOptions(arguments);
    const Options& options = parsed.options;
    if (!parsed.error.empty()) {
        Complain("", parsed.error);
        Print(kStandardError, "Try 'quillbox-cli --help' for more information.\n");
        return kUsage;
    }
    if (options.help) {
        Print(kStandardOutput, HelpText());
        return kCompleted;
    }
    if (options.version) {
        Print(kStandardOutput, VersionText());
        return kCompleted;
    }
    IgnoreBrokenPipes();
    const bool encrypt =
        options.command == Command::Encrypt || options.command == Command::EncryptText;
    Password password;
    const PasswordResult result = ReadPassword(options.password, encrypt, password.text);
    if (result.status != kCompleted) {
        Complain("", result.message);
        return result.status;
    }
    return IsFileCommand(options.command) ? RunFiles(options, password.text)
                                          : RunText(options, password.text);
}

}  // namespace

int RunProgram(const std::vector<std::string>& arguments) {
    // Whatever fails unexpectedly (memory running out, a thread that cannot
    // start) ends in a message and status 1, after the buffers that held the
    // password or plain text were wiped on the way out.
    try {
        return RunChecked(arguments);
    } catch (const std::bad_alloc&) {
        Complain("", "there was not enough memory to finish; nothing more was done.");
    } catch (const std::exception& error) {
        Complain("", messages::ForUnexpected(error.what()));
    }
    return kFailed;
}

}  // namespace cli

#include "cli/FileJob.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "cipher/Armor.h"
#include "cipher/ByteStreams.h"
#include "cipher/ContainerLimits.h"
#include "cipher/SecureZero.h"
#include "cipher/clsBlowfish.h"
#include "cli/Descriptors.h"
#include "cli/Spools.h"
#include "core/Utf8.h"
#include "core/flows/FileFlow.h"
#include "fileio/FileStore.h"

namespace cli {

namespace {

using core::flows::Outcome;

std::string Quoted(const std::string& name) {
    std::string quoted;
    quoted.reserve(name.size() + 2);
    return quoted.append(1, '"').append(name).append(1, '"');
}

// The input as messages name it.
std::string Shown(const FileJob& job) {
    return job.input == "-" ? "Standard input" : Quoted(job.input);
}

Outcome Failed(const char* text, std::string argument) {
    return core::flows::Failed({text, {std::move(argument)}});
}

// Both ends are files: the engine's own file operations do the work.
std::optional<core::flows::FileRequest> FileRequestFor(const FileJob& job) {
    const std::optional<std::u16string> input = core::DecodeUtf8(job.input);
    const std::optional<std::u16string> output = core::DecodeUtf8(job.output);
    if (!input || !output) return std::nullopt;
    core::flows::FileRequest request;
    request.direction =
        job.encrypt ? core::flows::FileDirection::Encrypt : core::flows::FileDirection::Decrypt;
    request.source = *input;
    request.destination = *output;
    request.overwrite = job.force;
    request.base64 = job.armor;
    request.sameFileAllowed = false;
    request.wipe = job.wipe ? core::flows::WipePlan::Always : core::flows::WipePlan::Never;
    request.sourceIdentity = job.identity;
    return request;
}

// Decryption reads Base64 text without -a when the input starts like it.
// This peeks at the start of an input file; the file is opened again for
// the work, and one swapped in between merely fails to decrypt.
bool IsArmoredFile(const FileJob& job) {
    if (job.encrypt || job.armor) return job.armor;
    std::error_code ec;
    const std::filesystem::path path =
        fileio::ToPath(core::DecodeUtf8(job.input).value_or(u""), ec);
    fileio::SourceFile input;
    if (ec || input.Open(path)) return false;
    std::uint8_t head[cipher::kArmorProbe];
    const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(input.Size(), sizeof head));
    return !input.ReadExactly(head, size) && cipher::LooksLikeBase64(head, size);
}

bool IsStream(const FileJob& job) {
    return job.input == "-" || job.output == "-";
}

// One end is a stream: what can be known before the data is read.
std::optional<Outcome> CheckStream(const FileJob& job) {
    if (job.output != "-") {
        const std::optional<std::u16string> output = core::DecodeUtf8(job.output);
        if (!output)
            return core::flows::Failed(core::messages::Plain(core::messages::kNameNotUtf8));
        if (!job.force && fileio::IsRegularFile(*output)) {
            return core::flows::FileFailed({cipher::FileFailure::DestinationExists, *output, {}});
        }
    } else if (job.encrypt && !job.armor && IsTerminal(kStandardOutput)) {
        return core::flows::Failed(core::messages::Plain(core::messages::kNotToTerminal));
    }
    if (job.input == "-") return std::nullopt;
    const std::optional<std::u16string> input = core::DecodeUtf8(job.input);
    if (!input) return core::flows::Failed(core::messages::Plain(core::messages::kNameNotUtf8));
    core::flows::FileRequest request;
    request.direction =
        job.encrypt ? core::flows::FileDirection::Encrypt : core::flows::FileDirection::Decrypt;
    request.source = *input;
    return core::flows::CheckSource(request);
}

// Standard output as the engine's sink.
class OutputSink final : public cipher::ByteSink {
public:
    std::error_code Write(const std::uint8_t* data, std::size_t size) override {
        return WriteAll(kStandardOutput, data, size);
    }
};

// Standard input redirected from a regular file: read in place, after the
// bytes already taken from its start.
class InputFileSource final : public cipher::ByteSource {
public:
    InputFileSource(std::uint64_t size, std::vector<std::uint8_t> head)
        : size_(size + head.size()), head_(std::move(head)) {}
    std::uint64_t Size() const override { return size_; }
    std::error_code Read(std::uint8_t* data, std::size_t size) override {
        const std::size_t n = std::min(size, head_.size() - at_);
        std::copy_n(head_.data() + at_, n, data);
        at_ += n;
        return n == size ? std::error_code() : fileio::ReadFull(kStandardInput, data + n, size - n);
    }

private:
    std::uint64_t size_;
    std::vector<std::uint8_t> head_;
    std::size_t at_ = 0;
};

// The first bytes of standard input, up to what armor detection looks at.
std::error_code ReadHead(std::vector<std::uint8_t>& head) {
    head.resize(cipher::kArmorProbe);
    std::size_t filled = 0;
    for (std::size_t count = 1; count > 0 && filled < head.size(); filled += count) {
        if (std::error_code ec = fileio::ReadSome(kStandardInput, head.data() + filled,
                                                  head.size() - filled, count)) {
            return ec;
        }
    }
    head.resize(filled);
    return {};
}

Outcome InputFailure(const FileJob& job, std::error_code ec) {
    if (ec == std::errc::file_too_large && job.encrypt) {
        return Failed(core::messages::kInputTooLargeToEncrypt, Shown(job));
    }
    if (ec == std::errc::file_too_large) {
        return core::flows::WrongPassword({core::messages::kInputTooLargeToDecrypt, {Shown(job)}});
    }
    if (ec == std::errc::invalid_argument) {
        return core::flows::WrongPassword(core::messages::Plain(core::messages::kNoBase64Data));
    }
    if (job.input == "-") return Failed(core::messages::kStandardInputUnreadable, ec.message());
    return core::flows::FileFailed(
        {cipher::FileFailure::SourceUnreadable, *core::DecodeUtf8(job.input), ec});
}

// Standard input as a stream, after the bytes already taken from it.
class InputStream final : public cipher::ByteStream {
public:
    explicit InputStream(cli::ReadSome read) : read_(std::move(read)) {}
    std::error_code ReadSome(std::uint8_t* data, std::size_t size, std::size_t& count) override {
        return read_(data, size, count);
    }

private:
    cli::ReadSome read_;
};

// The input as a source of known length. Standard input from a pipe, and
// Base64 text to decrypt, go through a spool first, so that the whole input
// has been read and checked before anything is written. Decryption without
// -a reads Base64 text when the input starts like it (job.armor is set).
// A raw container piped in to be deciphered into a named file needs no
// spool (`piped` is set instead): the file appears only once the container
// has proved whole.
Outcome OpenInput(FileJob& job, fileio::SourceFile& file,
                  std::unique_ptr<cipher::ByteSource>& source,
                  std::unique_ptr<cipher::ByteStream>& piped) {
    const bool detect = !job.encrypt && !job.armor;
    std::error_code ec;
    ReadSome read;
    if (job.input != "-") {
        const std::filesystem::path path = fileio::ToPath(*core::DecodeUtf8(job.input), ec);
        if (!ec) ec = file.Open(path);
        if (ec) return InputFailure(job, ec);
        if (detect) {
            std::uint8_t head[cipher::kArmorProbe];
            const auto size =
                static_cast<std::size_t>(std::min<std::uint64_t>(file.Size(), sizeof head));
            ec = file.ReadExactly(head, size);
            if (!ec) ec = file.Rewind();
            if (ec) return InputFailure(job, ec);
            job.armor = cipher::LooksLikeBase64(head, size);
        }
        if (job.encrypt || !job.armor) {
            source = std::make_unique<cipher::FileSource>(file);
            return core::flows::Completed();
        }
        read = [&file, left = file.Size()](std::uint8_t* data, std::size_t size,
                                           std::size_t& count) mutable {
            count = static_cast<std::size_t>(std::min<std::uint64_t>(size, left));
            left -= count;
            return file.ReadExactly(data, count);
        };
    } else {
        std::vector<std::uint8_t> head;
        if (detect) {
            if ((ec = ReadHead(head))) return InputFailure(job, ec);
            job.armor = cipher::LooksLikeBase64(head.data(), head.size());
        }
        if (const auto size = fileio::RemainingInRegularFile(kStandardInput);
            size && (job.encrypt || !job.armor)) {
            source = std::make_unique<InputFileSource>(*size, std::move(head));
            return core::flows::Completed();
        }
        read = [head = std::move(head), at = std::size_t{0}](std::uint8_t* data, std::size_t size,
                                                             std::size_t& count) mutable {
            if (at < head.size()) {
                count = std::min(size, head.size() - at);
                std::copy_n(head.data() + at, count, data);
                at += count;
                return std::error_code();
            }
            return fileio::ReadSome(kStandardInput, data, size, count);
        };
    }
    if (!job.encrypt && !job.armor && job.output != "-") {
        piped = std::make_unique<InputStream>(std::move(read));
        return core::flows::Completed();
    }
    if (job.encrypt) {
        auto sealed = std::make_unique<SealedSpool>();
        ec = sealed->Fill(read, cipher::container::kMaxData);
        source = std::move(sealed);
    } else {
        auto spool = std::make_unique<CiphertextSpool>();
        ec = spool->Fill(read, job.armor,
                         job.armor ? cipher::container::kMaxBase64 : cipher::container::kMaxSize);
        source = std::move(spool);
    }
    return ec ? InputFailure(job, ec) : core::flows::Completed();
}

Outcome EngineFailure(const FileJob& job, const cipher::FileError& error) {
    switch (error.failure) {
        case cipher::FileFailure::WrongPassword:
            return core::flows::WrongPassword(
                core::messages::Plain(core::messages::kWrongPasswordForData));
        case cipher::FileFailure::SourceTooLarge:
            return InputFailure(job, std::make_error_code(std::errc::file_too_large));
        case cipher::FileFailure::SourceUnreadable:
            return InputFailure(job, error.code);
        case cipher::FileFailure::NotEncryptedFile:
            return core::flows::WrongPassword({core::messages::kInputNotEncrypted, {Shown(job)}});
        case cipher::FileFailure::SourceChanged:
            return core::flows::FileFailed(
                {error.failure, core::DecodeUtf8(job.input).value_or(u"-"), {}});
        case cipher::FileFailure::DestinationUnwritable:
            if (job.output == "-") {
                return Failed(core::messages::kStandardOutputUnwritable, error.code.message());
            }
            return core::flows::FileFailed(
                {error.failure, *core::DecodeUtf8(job.output), error.code});
        default:
            return core::flows::FileFailed(
                {error.failure, core::DecodeUtf8(job.output).value_or(u"-"), error.code});
    }
}

Outcome CreateOutput(const FileJob& job, fileio::PendingFile& file) {
    const std::u16string name = *core::DecodeUtf8(job.output);
    std::error_code ec;
    const std::filesystem::path path = fileio::ToPath(name, ec);
    fileio::Refusal refusal = fileio::Refusal::None;
    file.KeepExisting(!job.force);
    if (!ec) ec = file.Create(path, refusal);
    if (ec) return core::flows::FileFailed({cipher::FileFailure::DestinationUnwritable, name, ec});
    switch (refusal) {
        case fileio::Refusal::None:
            return core::flows::Completed();
        case fileio::Refusal::NotAFile:
            return core::flows::FileFailed({cipher::FileFailure::DestinationNotAFile, name, {}});
        case fileio::Refusal::ReadOnly:
            return core::flows::FileFailed({cipher::FileFailure::DestinationReadOnly, name, {}});
        case fileio::Refusal::UntrustedLink:
            return core::flows::FileFailed(
                {cipher::FileFailure::DestinationUntrustedLink, name, {}});
    }
    return core::flows::Completed();
}

// One end is a stream: the engine streams between a source of known length
// and the output, so memory stays flat whatever the size.
Outcome ThroughStreams(FileJob job, core::flows::FrontEnd& frontEnd,
                       const std::u16string& password) {
    if (std::optional<Outcome> refused = CheckStream(job)) return *refused;
    fileio::SourceFile file;
    std::unique_ptr<cipher::ByteSource> source;
    std::unique_ptr<cipher::ByteStream> piped;
    Outcome outcome = OpenInput(job, file, source, piped);
    if (outcome.ending != core::flows::Ending::Completed) return outcome;
    fileio::PendingFile pending;
    OutputSink standardOutput;
    cipher::PendingFileSink pendingSink(pending);
    if (job.output != "-") {
        outcome = CreateOutput(job, pending);
        if (outcome.ending != core::flows::Ending::Completed) return outcome;
    }
    cipher::ByteSink& sink =
        job.output == "-" ? static_cast<cipher::ByteSink&>(standardOutput) : pendingSink;
    bool done = false;
    cipher::FileError error;
    {
        const core::flows::BusyScope busy(frontEnd);
        clsBlowfish cipher(&frontEnd.Progress());
        if (job.encrypt) {
            done = cipher.EncryptStream(*source, sink, password, job.armor);
        } else {
            done = piped ? cipher.DecryptPiped(*piped, sink, password)
                         : cipher.DecryptStream(*source, sink, password);
        }
        error = cipher.LastError();
    }
    if (!done) return EngineFailure(job, error);
    if (job.output == "-") return core::flows::Completed();
    const std::error_code ec = pending.Commit();
    if (ec == std::errc::file_exists && !job.force) {
        return core::flows::FileFailed(
            {cipher::FileFailure::DestinationExists, *core::DecodeUtf8(job.output), {}});
    }
    if (ec) {
        return core::flows::FileFailed(
            {cipher::FileFailure::DestinationUnwritable, *core::DecodeUtf8(job.output), ec});
    }
    return core::flows::Completed();
}

}  // namespace

std::optional<Outcome> Check(const FileJob& job) {
    if (IsStream(job)) return CheckStream(job);
    const std::optional<core::flows::FileRequest> request = FileRequestFor(job);
    if (!request) return core::flows::Failed(core::messages::Plain(core::messages::kNameNotUtf8));
    return core::flows::CheckNames(*request);
}

Outcome Run(const FileJob& job, core::flows::FrontEnd& frontEnd, const std::u16string& password) {
    if (IsStream(job)) return ThroughStreams(job, frontEnd, password);
    std::optional<core::flows::FileRequest> request = FileRequestFor(job);
    if (!request) return core::flows::Failed(core::messages::Plain(core::messages::kNameNotUtf8));
    request->base64 = IsArmoredFile(job);
    std::u16string key = password;
    const cipher::WipedOnExit wipeKey(key);
    const core::flows::PasswordPlan known{false, false};
    return job.encrypt ? core::flows::EncryptFile(frontEnd, *request, known, key)
                       : core::flows::DecryptFile(frontEnd, *request, known, key);
}

}  // namespace cli

#include "cli/FileJob.h"

#include <filesystem>

#include "cipher/CipherErrors.h"
#include "cipher/CodePage.h"
#include "cipher/SecureZero.h"
#include "cipher/clsBlowfish.h"
#include "cli/Descriptors.h"
#include "cli/ProgressBar.h"
#include "core/Messages.h"
#include "core/SourceWipe.h"
#include "core/Utf8.h"
#include "fileio/FileStore.h"

namespace cli {

namespace {

using ByteArray = clsBlowfish::ByteArray;

// The most data one container can hold, and the longest input that can be a
// container, raw or as Base64 text in lines of 76 characters.
constexpr std::uint64_t kMaxData = 2147483628;
constexpr std::uint64_t kMaxContainer = 0x7FFFFFFF;
constexpr std::uint64_t kMaxBase64 = (kMaxContainer + 2) / 3 * 4 / 76 * 78 + 78;
constexpr std::size_t kContainerOverhead = 19;

constexpr const char* kUnicodeName = "The file name is not valid UTF-8.";
constexpr const char* kNotContainer = "Wrong password, or the data is not a valid encrypted file.";

std::string Quoted(const std::string& name) {
    std::string quoted;
    quoted.reserve(name.size() + 2);
    return quoted.append(1, '"').append(name).append(1, '"');
}

std::string Shown(const std::string& name, const char* stream) {
    return name == "-" ? stream : Quoted(name);
}

bool IsExisting(const std::u16string& name) {
    std::error_code ec;
    const std::filesystem::path path = filestore::ToPath(name, ec);
    return !ec && std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

Outcome FromFileError(const FileError& error) {
    switch (error.failure) {
        case FileFailure::WrongPassword:
        case FileFailure::InvalidBase64:
            return {kWrongPassword, messages::ForFile(error)};
        case FileFailure::SourceTooLarge:
            // Too large to be a container is one more way of not being one.
            return {error.operation == FileOperation::Decrypt ? kWrongPassword : kFailed,
                    messages::ForFile(error)};
        case FileFailure::DestinationExists:
            return {kFailed, messages::ForFile(error) + " Use --force to replace it."};
        case FileFailure::SourceMissing:
            if (IsExisting(error.path)) {
                return {kFailed, Quoted(messages::Utf8(error.path)) + " is not a regular file."};
            }
            return {kFailed, messages::ForFile(error)};
        default:
            return {kFailed, messages::ForFile(error)};
    }
}

// Both ends are files: the engine's own file operations do the work.
Outcome FileToFile(const FileJob& job, const std::u16string& password) {
    const std::optional<std::u16string> input = DecodeUtf8(job.input);
    const std::optional<std::u16string> output = DecodeUtf8(job.output);
    if (!input || !output) return {kFailed, kUnicodeName};
    if (filestore::IsRegularFile(*output) && MaybeSameFile(*input, *output)) {
        return {kFailed, "The input and the output are the same file."};
    }
    ProgressBar bar(job.input, job.progress);
    clsBlowfish cipher(&bar);
    std::u16string in = *input, out = *output, key = password;
    const bool done = job.encrypt ? cipher.EncryptFile(in, out, job.force, key, job.armor)
                                  : cipher.DecryptFile(in, out, job.force, key, job.armor);
    cipher::Wipe(key);
    bar.Finish();
    if (!done) return FromFileError(cipher.LastError());
    if (!job.wipe) return {};
    ProgressBar check(job.input, job.progress);
    const WipeResult wiped = WipeSource(*input, *output, password, &check);
    if (auto message = messages::ForWipe(wiped, job.input)) return {kNotWiped, *message};
    return {};
}

Outcome ReadInput(const FileJob& job, ByteArray& bytes) {
    const std::uint64_t limit = job.encrypt ? kMaxData : job.armor ? kMaxBase64 : kMaxContainer;
    const std::size_t spare = job.encrypt ? kContainerOverhead : 0;
    std::error_code ec;
    if (job.input == "-") {
        ec = ReadAll(kStandardInput, bytes, spare, limit);
    } else if (const auto name = DecodeUtf8(job.input)) {
        const std::filesystem::path path = filestore::ToPath(*name, ec);
        if (!ec) ec = filestore::ReadWholeFile(path, bytes, spare, limit);
    } else {
        return {kFailed, kUnicodeName};
    }
    const std::string shown = Shown(job.input, "Standard input");
    if (ec == std::errc::file_too_large && job.encrypt) {
        return {kFailed, shown +
                             " is too large to encrypt (at most 2147483628 bytes fit in an "
                             "encrypted file)."};
    }
    if (ec == std::errc::file_too_large) {
        return {kWrongPassword, shown + " is too large to be an encrypted file."};
    }
    if (ec)
        return {kFailed,
                "Could not read " + Shown(job.input, "standard input") + ": " + ec.message() + "."};
    return {};
}

Outcome Transform(const FileJob& job, const std::u16string& password, ByteArray& bytes,
                  clsBlowfish& cipher) {
    if (job.encrypt) {
        try {
            cipher.EncryptByte(bytes, password);
        } catch (const ContainerTooLargeError&) {
            return {kFailed, "The data is too large to encrypt."};
        }
        if (job.armor) {
            const std::u16string text = cipher.EncodeArray64(bytes);
            // A container is never empty, so neither is its text, unless the encoder failed.
            if (text.empty()) {
                return {kFailed, messages::ForFile({FileFailure::Base64EncodingFailed,
                                                    DecodeUtf8(job.output).value_or(u"-"),
                                                    {}})};
            }
            bytes.assign(text.begin(), text.end());
        }
        return {};
    }
    if (job.armor) {
        try {
            bytes = cipher.DecodeArray64(codepage::BytesToText(bytes));
        } catch (const Base64Error&) {
            return {kWrongPassword, "The data holds no Base64 text."};
        }
    }
    if (!cipher.DecryptByte(bytes, password)) return {kWrongPassword, kNotContainer};
    return {};
}

Outcome WriteOutput(const FileJob& job, const ByteArray& bytes) {
    std::error_code ec;
    if (job.output == "-") {
        ec = WriteAll(kStandardOutput, bytes.data(), bytes.size());
        if (ec) return {kFailed, "Could not write to standard output: " + ec.message() + "."};
        return {};
    }
    const std::u16string name = *DecodeUtf8(job.output);
    const std::filesystem::path path = filestore::ToPath(name, ec);
    if (!ec) ec = filestore::WriteFileAtomically(path, bytes.data(), bytes.size(), !job.force);
    if (ec == std::errc::file_exists && !job.force) {
        return {kFailed, messages::ForFile({FileFailure::DestinationExists, name, {}}) +
                             " Use --force to replace it."};
    }
    if (ec) return {kFailed, messages::ForFile({FileFailure::DestinationUnwritable, name, ec})};
    return {};
}

// One end is a stream: the input is read whole and transformed in memory,
// so a container is checked before anything is written.
Outcome ThroughMemory(const FileJob& job, const std::u16string& password) {
    if (job.output != "-") {
        const std::optional<std::u16string> output = DecodeUtf8(job.output);
        if (!output) return {kFailed, kUnicodeName};
        if (!job.force && filestore::IsRegularFile(*output)) {
            return FromFileError({FileFailure::DestinationExists, *output, {}});
        }
    } else if (job.encrypt && !job.armor && IsTerminal(kStandardOutput)) {
        return {kFailed, "Encrypted data is not written to a terminal; use --armor or -o FILE."};
    }
    ByteArray bytes;
    Outcome outcome = ReadInput(job, bytes);
    if (outcome.status == kCompleted) {
        ProgressBar bar(job.input == "-" ? "standard input" : job.input, job.progress);
        clsBlowfish cipher(&bar);
        outcome = Transform(job, password, bytes, cipher);
        bar.Finish();
    }
    if (outcome.status == kCompleted) outcome = WriteOutput(job, bytes);
    cipher::Wipe(bytes);
    return outcome;
}

}  // namespace

Outcome Run(const FileJob& job, const std::u16string& password) {
    if (job.input != "-" && job.output != "-") return FileToFile(job, password);
    return ThroughMemory(job, password);
}

}  // namespace cli

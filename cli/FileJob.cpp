#include "cli/FileJob.h"

#include <algorithm>
#include <filesystem>

#include "cipher/Armor.h"
#include "cipher/CipherErrors.h"
#include "cipher/CodePage.h"
#include "cipher/ContainerLimits.h"
#include "cipher/SecureZero.h"
#include "cipher/clsBlowfish.h"
#include "cli/Descriptors.h"
#include "core/Utf8.h"
#include "core/flows/FileFlow.h"
#include "fileio/FileStore.h"

namespace cli {

namespace {

using ByteArray = clsBlowfish::ByteArray;
using flows::Outcome;

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
    return flows::Failed({text, {std::move(argument)}});
}

// Both ends are files: the engine's own file operations do the work.
std::optional<flows::FileRequest> FileRequestFor(const FileJob& job) {
    const std::optional<std::u16string> input = DecodeUtf8(job.input);
    const std::optional<std::u16string> output = DecodeUtf8(job.output);
    if (!input || !output) return std::nullopt;
    flows::FileRequest request;
    request.direction = job.encrypt ? flows::FileDirection::Encrypt : flows::FileDirection::Decrypt;
    request.source = *input;
    request.destination = *output;
    request.overwrite = job.force;
    request.base64 = job.armor;
    request.sameFileAllowed = false;
    request.wipe = job.wipe ? flows::WipePlan::Always : flows::WipePlan::Never;
    return request;
}

// Decryption reads Base64 text without -a when the input starts like it.
// This peeks at the start of an input file; the file is opened again for
// the work, and one swapped in between merely fails to decrypt.
bool IsArmoredFile(const FileJob& job) {
    if (job.encrypt || job.armor) return job.armor;
    std::error_code ec;
    const std::filesystem::path path = filestore::ToPath(DecodeUtf8(job.input).value_or(u""), ec);
    filestore::SourceFile input;
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
        const std::optional<std::u16string> output = DecodeUtf8(job.output);
        if (!output) return flows::Failed(messages::Plain(messages::kNameNotUtf8));
        if (!job.force && filestore::IsRegularFile(*output)) {
            return flows::FileFailed({FileFailure::DestinationExists, *output, {}});
        }
    } else if (job.encrypt && !job.armor && IsTerminal(kStandardOutput)) {
        return flows::Failed(messages::Plain(messages::kNotToTerminal));
    }
    if (job.input == "-") return std::nullopt;
    const std::optional<std::u16string> input = DecodeUtf8(job.input);
    if (!input) return flows::Failed(messages::Plain(messages::kNameNotUtf8));
    flows::FileRequest request;
    request.direction = job.encrypt ? flows::FileDirection::Encrypt : flows::FileDirection::Decrypt;
    request.source = *input;
    return flows::CheckSource(request);
}

Outcome ReadInput(const FileJob& job, ByteArray& bytes) {
    const std::uint64_t limit = job.encrypt ? container::kMaxData
                                : job.armor ? container::kMaxBase64
                                            : container::kMaxSize;
    const std::size_t spare = job.encrypt ? container::kOverhead : 0;
    std::error_code ec;
    if (job.input == "-") {
        ec = ReadAll(kStandardInput, bytes, spare, limit);
    } else if (const auto name = DecodeUtf8(job.input)) {
        const std::filesystem::path path = filestore::ToPath(*name, ec);
        if (!ec) ec = filestore::ReadWholeFile(path, bytes, spare, limit);
    } else {
        return flows::Failed(messages::Plain(messages::kNameNotUtf8));
    }
    const std::string shown = Shown(job);
    if (ec == std::errc::file_too_large && job.encrypt) {
        return Failed(messages::kInputTooLargeToEncrypt, shown);
    }
    if (ec == std::errc::file_too_large) {
        return flows::WrongPassword({messages::kInputTooLargeToDecrypt, {shown}});
    }
    if (ec && job.input == "-") return Failed(messages::kStandardInputUnreadable, ec.message());
    if (ec) {
        return flows::FileFailed({FileFailure::SourceUnreadable, *DecodeUtf8(job.input), ec});
    }
    return flows::Completed();
}

Outcome Transform(const FileJob& job, const std::u16string& password, ByteArray& bytes,
                  clsBlowfish& cipher) {
    if (job.encrypt) {
        try {
            cipher.EncryptByte(bytes, password);
        } catch (const ContainerTooLargeError&) {
            return flows::Failed(messages::Plain(messages::kDataTooLarge));
        }
        if (job.armor) {
            const std::u16string text = cipher.EncodeArray64(bytes);
            // A container is never empty, so neither is its text, unless the encoder failed.
            if (text.empty()) {
                return flows::FileFailed(
                    {FileFailure::Base64EncodingFailed, DecodeUtf8(job.output).value_or(u"-"), {}});
            }
            bytes.assign(text.begin(), text.end());
        }
        return flows::Completed();
    }
    if (job.armor) {
        try {
            bytes = cipher.DecodeArray64(codepage::BytesToText(bytes));
        } catch (const Base64Error&) {
            return flows::WrongPassword(messages::Plain(messages::kNoBase64Data));
        }
    }
    if (!container::IsContainerLength(bytes.size())) {
        return flows::WrongPassword({messages::kInputNotEncrypted, {Shown(job)}});
    }
    if (!cipher.DecryptByte(bytes, password)) {
        return flows::WrongPassword(messages::Plain(messages::kWrongPasswordForData));
    }
    return flows::Completed();
}

Outcome WriteOutput(const FileJob& job, const ByteArray& bytes) {
    std::error_code ec;
    if (job.output == "-") {
        ec = WriteAll(kStandardOutput, bytes.data(), bytes.size());
        if (ec) return Failed(messages::kStandardOutputUnwritable, ec.message());
        return flows::Completed();
    }
    const std::u16string name = *DecodeUtf8(job.output);
    const std::filesystem::path path = filestore::ToPath(name, ec);
    if (!ec) ec = filestore::WriteFileAtomically(path, bytes.data(), bytes.size(), !job.force);
    if (ec == std::errc::file_exists && !job.force) {
        return flows::FileFailed({FileFailure::DestinationExists, name, {}});
    }
    if (ec) return flows::FileFailed({FileFailure::DestinationUnwritable, name, ec});
    return flows::Completed();
}

// One end is a stream: the input is read whole and transformed in memory,
// so a container is checked before anything is written.
Outcome ThroughMemory(FileJob job, flows::FrontEnd& frontEnd, const std::u16string& password) {
    if (std::optional<Outcome> refused = CheckStream(job)) return *refused;
    ByteArray bytes;
    const cipher::WipedOnExit wipeBytes(bytes);
    // Without -a, data to decrypt may be as long as Base64 text, and its
    // first bytes tell which it is.
    const bool detect = !job.encrypt && !job.armor;
    job.armor = job.armor || detect;
    Outcome outcome = ReadInput(job, bytes);
    if (outcome.ending != flows::Ending::Completed) return outcome;
    if (detect) job.armor = cipher::LooksLikeBase64(bytes.data(), bytes.size());
    {
        const flows::BusyScope busy(frontEnd);
        clsBlowfish cipher(&frontEnd.Progress());
        outcome = Transform(job, password, bytes, cipher);
    }
    if (outcome.ending != flows::Ending::Completed) return outcome;
    return WriteOutput(job, bytes);
}

}  // namespace

std::optional<Outcome> Check(const FileJob& job) {
    if (IsStream(job)) return CheckStream(job);
    const std::optional<flows::FileRequest> request = FileRequestFor(job);
    if (!request) return flows::Failed(messages::Plain(messages::kNameNotUtf8));
    return flows::CheckNames(*request);
}

Outcome Run(const FileJob& job, flows::FrontEnd& frontEnd, const std::u16string& password) {
    if (IsStream(job)) return ThroughMemory(job, frontEnd, password);
    std::optional<flows::FileRequest> request = FileRequestFor(job);
    if (!request) return flows::Failed(messages::Plain(messages::kNameNotUtf8));
    request->base64 = IsArmoredFile(job);
    std::u16string key = password;
    const cipher::WipedOnExit wipeKey(key);
    const flows::PasswordPlan known{false, false};
    return job.encrypt ? flows::EncryptFile(frontEnd, *request, known, key)
                       : flows::DecryptFile(frontEnd, *request, known, key);
}

}  // namespace cli

#include "cli/TextJob.h"

#include "cipher/SecureZero.h"
#include "cli/Descriptors.h"
#include "core/Messages.h"
#include "core/Utf8.h"
#include "core/flows/TextFlow.h"

namespace cli {

namespace {

// Drops one line ending ("\n" or "\r\n") from the end.
void DropLineEnding(std::string& bytes) {
    if (bytes.empty() || bytes.back() != '\n') return;
    bytes.pop_back();
    if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
}

// Ciphertext of the largest container as Base64, with room for line breaks.
constexpr std::uint64_t kMaxTextBytes = 3000000000;

// Bytes held for a while and wiped when they go.
struct SecretBytes {
    ~SecretBytes() { cipher::Wipe(bytes); }
    std::string bytes;
};

flows::Outcome Failed(const char* text, std::string argument) {
    return flows::Failed({text, {std::move(argument)}});
}

flows::Outcome ReadText(const TextJob& job, std::string& bytes) {
    if (job.text) {
        bytes.reserve(job.text->size());
        bytes.assign(*job.text);
        return {};
    }
    if (job.hints && IsTerminal(kStandardInput)) {
        const char hint[] = "Type the text, then press Ctrl-D on a line of its own.\n";
        [[maybe_unused]] std::error_code ec = WriteAll(kStandardError, hint, sizeof hint - 1);
    }
    std::vector<std::uint8_t> raw;
    std::error_code ec = ReadAll(kStandardInput, raw, 0, kMaxTextBytes);
    if (!ec) {
        bytes.reserve(raw.size());
        bytes.assign(raw.begin(), raw.end());
    }
    cipher::Wipe(raw);
    if (ec == std::errc::file_too_large)
        return flows::Failed(messages::Plain(messages::kTextTooLong));
    if (ec) return Failed(messages::kStandardInputUnreadable, ec.message());
    DropLineEnding(bytes);
    return {};
}

}  // namespace

flows::Outcome Run(const TextJob& job, flows::FrontEnd& frontEnd, const std::u16string& password) {
    SecretBytes input;
    flows::Outcome outcome = ReadText(job, input.bytes);
    if (outcome.ending != flows::Ending::Completed) return outcome;
    std::optional<std::u16string> text = DecodeUtf8(input.bytes);
    if (!text) return flows::Failed(messages::Plain(messages::kTextNotUtf8));
    const cipher::WipedOnExit wipeText(*text);
    std::u16string result;
    const cipher::WipedOnExit wipeResult(result);
    std::u16string key = password;
    const flows::PasswordPlan known{false, false};
    const flows::TextDirection direction =
        job.encrypt ? flows::TextDirection::Encrypt : flows::TextDirection::Decrypt;
    outcome = flows::TransformText(frontEnd, direction, std::move(*text), known, key, result);
    if (outcome.ending != flows::Ending::Completed) return outcome;
    SecretBytes output;
    output.bytes = EncodeUtf8(result);
    const bool ended = !output.bytes.empty() && output.bytes.back() == '\n';
    std::error_code ec = WriteAll(kStandardOutput, output.bytes.data(), output.bytes.size());
    if (!ec && !ended) ec = WriteAll(kStandardOutput, "\n", 1);
    if (ec) return Failed(messages::kStandardOutputUnwritable, ec.message());
    return {};
}

}  // namespace cli

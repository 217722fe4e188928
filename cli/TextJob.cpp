#include "cli/TextJob.h"

#include "cipher/CipherErrors.h"
#include "cipher/CodePage.h"
#include "cipher/SecureZero.h"
#include "cipher/clsBlowfish.h"
#include "cli/Descriptors.h"
#include "core/Messages.h"
#include "core/Utf8.h"

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

Outcome ReadText(const TextJob& job, std::string& bytes) {
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
        // From a pointer: assigning from iterators builds a hidden copy.
        bytes.assign(reinterpret_cast<const char*>(raw.data()), raw.size());
    }
    cipher::Wipe(raw);
    if (ec == std::errc::file_too_large) return {kFailed, "The text is too long."};
    if (ec) return {kFailed, "Could not read standard input: " + ec.message() + "."};
    DropLineEnding(bytes);
    return {};
}

Outcome Transform(const TextJob& job, const std::u16string& password, std::u16string& text,
                  std::u16string& result) {
    clsBlowfish cipher;
    std::u16string key = password;
    Outcome outcome;
    try {
        result = job.encrypt ? cipher.EncryptString(text, key, true)
                             : cipher.DecryptString(text, key, true);
    } catch (const WrongPasswordError&) {
        outcome = {kWrongPassword, messages::kWrongPasswordForText};
    } catch (const Base64Error&) {
        outcome = {kWrongPassword, messages::kWrongPasswordForText};
    } catch (const ContainerTooLargeError&) {
        outcome = {kFailed, "The text is too long to encrypt."};
    } catch (const Base64EncodingError&) {
        outcome = {kFailed, "There was not enough memory to encode the encrypted text as Base64."};
    } catch (...) {
        cipher::Wipe(key);
        throw;
    }
    cipher::Wipe(key);
    return outcome;
}

}  // namespace

Outcome Run(const TextJob& job, const std::u16string& password) {
    SecretBytes input;
    if (Outcome read = ReadText(job, input.bytes); read.status != kCompleted) return read;
    std::optional<std::u16string> text = DecodeUtf8(input.bytes);
    if (!text) return {kFailed, "The text is not valid UTF-8."};
    std::optional<char32_t> bad;
    if (job.encrypt && (bad = codepage::FirstUnrepresentable(*text))) {
        cipher::Wipe(*text);
        return {kFailed, messages::ForUnrepresentable(*bad)};
    }
    std::u16string result;
    Outcome outcome = Transform(job, password, *text, result);
    cipher::Wipe(*text);
    if (outcome.status != kCompleted) return outcome;
    SecretBytes output;
    output.bytes = messages::Utf8(result);
    cipher::Wipe(result);
    const bool ended = !output.bytes.empty() && output.bytes.back() == '\n';
    std::error_code ec = WriteAll(kStandardOutput, output.bytes.data(), output.bytes.size());
    if (!ec && !ended) ec = WriteAll(kStandardOutput, "\n", 1);
    if (ec) {
        return {kFailed, "Could not write to standard output: " + ec.message() + "."};
    }
    return {};
}

}  // namespace cli

#include "cli/TextJob.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "cipher/ByteStreams.h"
#include "cipher/CodePage.h"
#include "cipher/ContainerLimits.h"
#include "cipher/SecureZero.h"
#include "cipher/clsBlowfish.h"
#include "cli/Descriptors.h"
#include "cli/Spools.h"
#include "core/Messages.h"
#include "core/Utf8.h"
#include "core/flows/TextFlow.h"

namespace cli {

namespace {

// Ciphertext of the largest container as Base64, with room for line breaks.
constexpr std::uint64_t kMaxTextBytes = 3000000000;

// Drops one line ending ("\n" or "\r\n") from the end.
void DropLineEnding(std::string& bytes) {
    if (bytes.empty() || bytes.back() != '\n') return;
    bytes.pop_back();
    if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
}

// Bytes held for a while and wiped when they go.
struct SecretBytes {
    ~SecretBytes() { cipher::Wipe(bytes); }
    std::string bytes;
};

core::flows::Outcome Failed(const char* text, std::string argument) {
    return core::flows::Failed({text, {std::move(argument)}});
}

// Texts up to this size are read whole; longer ones stream, kPiece at a time.
constexpr std::size_t kWholeTextBytes = 1 << 20;
constexpr std::size_t kPiece = 256 << 10;

// Reads until `bytes` holds `size` bytes or the input ends (`ended`).
std::error_code ReadUpTo(std::string& bytes, std::size_t size, bool& ended) {
    bytes.resize(size);
    std::size_t used = 0;
    ended = false;
    while (used < size) {
        std::size_t n = 0;
        if (std::error_code ec = fileio::ReadSome(
                kStandardInput, reinterpret_cast<std::uint8_t*>(bytes.data()) + used, size - used,
                n)) {
            return ec;
        }
        if (n == 0) {
            ended = true;
            break;
        }
        used += n;
    }
    bytes.resize(used);
    return {};
}

// Standard input, beginning with the bytes already read.
ReadSome InputAfter(const std::string& head) {
    return [&head, at = std::size_t{0}](std::uint8_t* data, std::size_t size,
                                        std::size_t& count) mutable {
        if (at < head.size()) {
            count = std::min(size, head.size() - at);
            std::memcpy(data, head.data() + at, count);
            at += count;
            return std::error_code();
        }
        return fileio::ReadSome(kStandardInput, data, size, count);
    };
}

// Text read from UTF-8 and handed on as code page bytes, with one line
// ending dropped from its very end.
class CodePageReader {
public:
    explicit CodePageReader(ReadSome read) : read_(std::move(read)) {}
    ~CodePageReader() {
        cipher::Wipe(raw_);
        cipher::Wipe(ready_);
    }

    std::error_code Read(std::uint8_t* data, std::size_t size, std::size_t& count) {
        while (at_ == ready_.size() && !ended_) {
            if (std::error_code ec = Refill()) return ec;
        }
        count = std::min(size, ready_.size() - at_);
        std::memcpy(data, ready_.data() + at_, count);
        at_ += count;
        return {};
    }
    std::optional<char32_t> Unrepresentable() const { return unrepresentable_; }

private:
    std::error_code Refill() {
        const std::size_t before = raw_.size();
        raw_.resize(before + kPiece);
        std::size_t n = 0;
        const std::error_code ec =
            read_(reinterpret_cast<std::uint8_t*>(raw_.data()) + before, kPiece, n);
        raw_.resize(before + n);
        if (ec) return ec;
        ended_ = n == 0;
        // A character cut at the end of the piece waits for the rest.
        std::size_t complete = raw_.size();
        for (std::size_t back = 1; back <= 3 && back <= raw_.size() && !ended_; ++back) {
            const auto lead = static_cast<unsigned char>(raw_[raw_.size() - back]);
            if ((lead & 0xC0) == 0x80) continue;
            const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            if (length > back) complete = raw_.size() - back;
            break;
        }
        std::optional<std::u16string> text =
            core::DecodeUtf8(std::string_view(raw_).substr(0, complete));
        raw_.erase(0, complete);
        if (!text || (ended_ && !raw_.empty())) {
            return std::make_error_code(std::errc::illegal_byte_sequence);
        }
        const cipher::WipedOnExit wipeText(*text);
        if ((unrepresentable_ = cipher::codepage::FirstUnrepresentable(*text))) {
            return std::make_error_code(std::errc::invalid_argument);
        }
        cipher::Wipe(ready_);
        ready_.assign(held_);
        cipher::codepage::ByteArray bytes = cipher::codepage::TextToBytes(*text);
        ready_.append(bytes.begin(), bytes.end());
        cipher::Wipe(bytes);
        // The last two bytes may be the line ending to drop.
        const std::size_t keep = ended_ ? 0 : std::min<std::size_t>(2, ready_.size());
        held_.assign(ready_, ready_.size() - keep, keep);
        ready_.resize(ready_.size() - keep);
        if (ended_) DropLineEnding(ready_);
        at_ = 0;
        return {};
    }

    ReadSome read_;
    std::string raw_, ready_, held_;
    std::size_t at_ = 0;
    bool ended_ = false;
    std::optional<char32_t> unrepresentable_;
};

// Standard output, the code page bytes of a decrypted text written as UTF-8.
class OutputSink final : public cipher::ByteSink {
public:
    explicit OutputSink(bool asText) : asText_(asText) {}
    std::error_code Write(const std::uint8_t* data, std::size_t size) override {
        if (size == 0) return {};
        last_ = data[size - 1];
        if (!asText_) return WriteAll(kStandardOutput, data, size);
        std::u16string text = cipher::codepage::BytesToText(data, size);
        std::string utf8 = core::EncodeUtf8(text);
        const std::error_code ec = WriteAll(kStandardOutput, utf8.data(), utf8.size());
        cipher::Wipe(text);
        cipher::Wipe(utf8);
        return ec;
    }
    // The line feed that ends the output, unless it ends with one.
    std::error_code End() {
        return last_ == '\n' ? std::error_code() : WriteAll(kStandardOutput, "\n", 1);
    }

private:
    bool asText_;
    std::uint8_t last_ = 0;
};

// A long text from standard input, streamed: spooled first (the ciphertext
// as it is, the plain text only enciphered), then transformed to standard
// output.
core::flows::Outcome Streamed(const TextJob& job, core::flows::FrontEnd& frontEnd,
                              const std::u16string& password, const std::string& head) {
    std::unique_ptr<cipher::ByteSource> source;
    std::error_code ec;
    std::optional<char32_t> unrepresentable;
    if (job.encrypt) {
        auto spool = std::make_unique<SealedSpool>();
        CodePageReader reader(InputAfter(head));
        ec = spool->Fill([&reader](std::uint8_t* data, std::size_t size,
                                   std::size_t& count) { return reader.Read(data, size, count); },
                         cipher::container::kMaxData);
        unrepresentable = reader.Unrepresentable();
        source = std::move(spool);
    } else {
        auto spool = std::make_unique<CiphertextSpool>();
        ec = spool->Fill(InputAfter(head), true, kMaxTextBytes);
        source = std::move(spool);
    }
    if (ec == std::errc::file_too_large) {
        return core::flows::Failed(core::messages::Plain(
            job.encrypt ? core::messages::kTextTooLongToEncrypt : core::messages::kTextTooLong));
    }
    if (ec == std::errc::illegal_byte_sequence) {
        return core::flows::Failed(core::messages::Plain(core::messages::kTextNotUtf8));
    }
    if (ec == std::errc::invalid_argument && unrepresentable) {
        return core::flows::Failed(core::messages::UnrepresentableMessage(*unrepresentable));
    }
    if (ec == std::errc::invalid_argument) {
        return core::flows::WrongPassword(
            core::messages::Plain(core::messages::kWrongPasswordForText));
    }
    if (ec) return Failed(core::messages::kStandardInputUnreadable, ec.message());
    OutputSink output(!job.encrypt);
    clsBlowfish cipher(&frontEnd.Progress());
    const bool done = job.encrypt ? cipher.EncryptStream(*source, output, password, true)
                                  : cipher.DecryptStream(*source, output, password);
    const cipher::FileError& error = cipher.LastError();
    // Text that is no container reads as a wrong password, as a short one does.
    if (!done && (error.failure == cipher::FileFailure::WrongPassword ||
                  error.failure == cipher::FileFailure::NotEncryptedFile)) {
        return core::flows::WrongPassword(
            core::messages::Plain(core::messages::kWrongPasswordForText));
    }
    if (!done && error.failure == cipher::FileFailure::SourceTooLarge) {
        return core::flows::Failed(core::messages::Plain(core::messages::kTextTooLongToEncrypt));
    }
    if (!done && error.failure == cipher::FileFailure::SourceUnreadable) {
        return Failed(core::messages::kStandardInputUnreadable, error.code.message());
    }
    if (!done && error.failure == cipher::FileFailure::DestinationUnwritable) {
        return Failed(core::messages::kStandardOutputUnwritable, error.code.message());
    }
    if (!done) return core::flows::FileFailed(error);
    if ((ec = output.End())) return Failed(core::messages::kStandardOutputUnwritable, ec.message());
    return {};
}

// The text of --text, or standard input when it ends within
// kWholeTextBytes; `head` keeps what was read of a longer one.
core::flows::Outcome ReadText(const TextJob& job, std::string& bytes, bool& whole) {
    whole = true;
    if (job.text) {
        bytes.reserve(job.text->size());
        bytes.assign(*job.text);
        return {};
    }
    if (job.hints && IsTerminal(kStandardInput)) {
        const char hint[] = "Type the text, then press Ctrl-D on a line of its own.\n";
        [[maybe_unused]] std::error_code ec = WriteAll(kStandardError, hint, sizeof hint - 1);
    }
    bool ended = false;
    bytes.reserve(kWholeTextBytes + 1);
    if (std::error_code ec = ReadUpTo(bytes, kWholeTextBytes + 1, ended)) {
        return Failed(core::messages::kStandardInputUnreadable, ec.message());
    }
    whole = ended;
    if (whole) DropLineEnding(bytes);
    return {};
}

}  // namespace

core::flows::Outcome Run(const TextJob& job, core::flows::FrontEnd& frontEnd,
                         const std::u16string& password) {
    SecretBytes input;
    bool whole = true;
    core::flows::Outcome outcome = ReadText(job, input.bytes, whole);
    if (outcome.ending != core::flows::Ending::Completed) return outcome;
    if (!whole) return Streamed(job, frontEnd, password, input.bytes);
    std::optional<std::u16string> text = core::DecodeUtf8(input.bytes);
    if (!text) return core::flows::Failed(core::messages::Plain(core::messages::kTextNotUtf8));
    const cipher::WipedOnExit wipeText(*text);
    std::u16string result;
    const cipher::WipedOnExit wipeResult(result);
    std::u16string key = password;
    const core::flows::PasswordPlan known{false, false};
    const core::flows::TextDirection direction =
        job.encrypt ? core::flows::TextDirection::Encrypt : core::flows::TextDirection::Decrypt;
    outcome = core::flows::TransformText(frontEnd, direction, std::move(*text), known, key, result);
    if (outcome.ending != core::flows::Ending::Completed) return outcome;
    SecretBytes output;
    output.bytes = core::EncodeUtf8(result);
    const bool ended = !output.bytes.empty() && output.bytes.back() == '\n';
    std::error_code ec = WriteAll(kStandardOutput, output.bytes.data(), output.bytes.size());
    if (!ec && !ended) ec = WriteAll(kStandardOutput, "\n", 1);
    if (ec) return Failed(core::messages::kStandardOutputUnwritable, ec.message());
    return {};
}

}  // namespace cli

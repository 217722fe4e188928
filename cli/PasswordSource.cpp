#include "cli/PasswordSource.h"

#include "cipher/CodePage.h"
#include "cipher/SecureZero.h"
#include "cli/Descriptors.h"
#include "cli/Environment.h"
#include "cli/Terminal.h"
#include "core/ExitStatus.h"
#include "core/Messages.h"
#include "core/Utf8.h"

namespace cli {

namespace {

// The longest password from any source, in UTF-8 bytes.
constexpr std::size_t kMaxPasswordBytes = 4096;

// A byte buffer for a password, wiped when it goes.
struct SecretBytes {
    SecretBytes() { bytes.reserve(kMaxPasswordBytes + 1); }
    ~SecretBytes() { cipher::Wipe(bytes); }
    SecretBytes(const SecretBytes&) = delete;
    SecretBytes& operator=(const SecretBytes&) = delete;
    std::string bytes;
};

PasswordResult Failure(int status, std::string message) {
    return {status, std::move(message)};
}

std::string ReasonOf(const std::error_code& ec) {
    return ec == std::errc::value_too_large ? "the password is too long" : ec.message();
}

PasswordResult FromTerminal(bool confirm, SecretBytes& secret) {
    std::string reason;
    TerminalAnswer answer = AskHidden("Password: ", secret.bytes, kMaxPasswordBytes, reason);
    if (answer == TerminalAnswer::NoTerminal) {
        return Failure(
            core::kUsage,
            std::string("No password: there is no terminal to ask on; use ") + PasswordOptions());
    }
    if (answer == TerminalAnswer::Failed || !confirm) {
        return answer == TerminalAnswer::Read
                   ? PasswordResult{}
                   : Failure(core::kFailed,
                             "Could not read the password from the terminal: " + reason);
    }
    SecretBytes again;
    answer = AskHidden("Re-enter password: ", again.bytes, kMaxPasswordBytes, reason);
    if (answer != TerminalAnswer::Read) {
        return Failure(core::kFailed, "Could not read the password from the terminal: " + reason);
    }
    if (again.bytes != secret.bytes)
        return Failure(core::kFailed, core::messages::kDifferentPasswords);
    return {};
}

PasswordResult FromDescriptor(int fd, SecretBytes& secret) {
    if (std::error_code ec = ReadLine(fd, secret.bytes, kMaxPasswordBytes)) {
        return Failure(core::kFailed, "Could not read the password from descriptor " +
                                          std::to_string(fd) + ": " + ReasonOf(ec));
    }
    return {};
}

PasswordResult FromFile(const std::string& path, SecretBytes& secret) {
    std::error_code ec;
    const int fd = OpenPasswordFile(path, ec);
    if (!ec) ec = ReadLine(fd, secret.bytes, kMaxPasswordBytes);
    CloseDescriptor(fd);
    if (ec)
        return Failure(core::kFailed,
                       "Could not read the password file " + path + ": " + ReasonOf(ec));
    return {};
}

PasswordResult FromEnvironment(const std::string& name, SecretBytes& secret) {
    if (!TakeVariable(name, secret.bytes)) {
        return Failure(core::kFailed, "The environment variable " + name + " is not set.");
    }
    // The same limit as for a line read from a file or descriptor.
    if (secret.bytes.size() > kMaxPasswordBytes) {
        return Failure(core::kFailed, "Could not read the password from the environment variable " +
                                          name + ": the password is too long");
    }
    return {};
}

PasswordResult Fetch(const PasswordOption& source, bool confirm, SecretBytes& secret) {
    switch (source.from) {
        case PasswordFrom::Descriptor:
            return FromDescriptor(source.descriptor, secret);
        case PasswordFrom::File:
            return FromFile(source.name, secret);
        case PasswordFrom::Environment:
            return FromEnvironment(source.name, secret);
        case PasswordFrom::Terminal:
            break;
    }
    return FromTerminal(confirm, secret);
}

}  // namespace

PasswordResult ReadPassword(const PasswordOption& source, bool confirm, std::u16string& password) {
    cipher::Wipe(password);
    SecretBytes secret;
    PasswordResult result = Fetch(source, confirm, secret);
    if (result.status != core::kCompleted) return result;
    // A line read from a file or descriptor may end in CR LF.
    if (source.from != PasswordFrom::Environment && !secret.bytes.empty() &&
        secret.bytes.back() == '\r') {
        secret.bytes.pop_back();
    }
    if (secret.bytes.empty()) return Failure(core::kFailed, "The password is empty.");
    std::optional<std::u16string> text = core::DecodeUtf8(secret.bytes);
    if (!text) return Failure(core::kFailed, "The password is not valid UTF-8.");
    if (std::optional<char32_t> bad = cipher::codepage::FirstUnrepresentable(*text)) {
        cipher::Wipe(*text);
        return Failure(core::kFailed, core::messages::ForUnrepresentable(*bad));
    }
    password.swap(*text);
    return {};
}

}  // namespace cli

#include "core/flows/Outcome.h"

#include <filesystem>
#include <system_error>

#include "core/SourceWipe.h"
#include "core/Utf8.h"
#include "fileio/FileStore.h"

namespace core {

namespace flows {

namespace {

ExitStatus StatusOf(Ending ending) {
    switch (ending) {
        case Ending::Completed:
            return kCompleted;
        case Ending::WrongPassword:
            return kWrongPassword;
        case Ending::NotWiped:
            return kNotWiped;
        case Ending::Usage:
            return kUsage;
        case Ending::Declined:
        case Ending::Failed:
            break;
    }
    return kFailed;
}

int Rank(int status) {
    switch (status) {
        case kCompleted:
            return 0;
        case kNotWiped:
            return 1;
        case kWrongPassword:
            return 2;
        case kFailed:
            return 3;
        default:
            return 4;
    }
}

}  // namespace

bool IsOtherThanFile(const std::u16string& name) {
    std::error_code ec;
    const std::filesystem::path path = fileio::ToPath(name, ec);
    if (ec) return false;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
           !std::filesystem::is_directory(status);
}

Outcome Completed() {
    return {};
}

Outcome Declined() {
    return {Ending::Declined, std::nullopt};
}

Outcome Failed(messages::Message message) {
    return {Ending::Failed, std::move(message)};
}

Outcome WrongPassword(messages::Message message) {
    return {Ending::WrongPassword, std::move(message)};
}

Outcome FileFailed(const cipher::FileError& error) {
    Outcome outcome{Ending::Failed, messages::FileMessage(error), error.failure};
    switch (error.failure) {
        case cipher::FileFailure::WrongPassword:
        case cipher::FileFailure::NotEncryptedFile:
        case cipher::FileFailure::InvalidBase64:
            outcome.ending = Ending::WrongPassword;
            break;
        case cipher::FileFailure::SourceTooLarge:
            // Too large to be an encrypted file is one more way of not being one.
            if (error.operation == cipher::FileOperation::Decrypt)
                outcome.ending = Ending::WrongPassword;
            break;
        case cipher::FileFailure::SourceMissing:
            if (IsOtherThanFile(error.path)) {
                outcome.message =
                    messages::Message{messages::kNotRegularFile, {EncodeUtf8(error.path)}};
            }
            break;
        default:
            break;
    }
    return outcome;
}

Outcome WipeEnded(const WipeResult& result, const std::string& source) {
    Outcome outcome{WipeMissed(result) ? Ending::NotWiped : Ending::Completed,
                    messages::WipeMessage(result, source)};
    return outcome;
}

Conclusion Conclude(const Outcome& outcome) {
    return {StatusOf(outcome.ending), outcome.message};
}

int WorstStatus(int a, int b) {
    return Rank(a) >= Rank(b) ? a : b;
}

}  // namespace flows

}  // namespace core

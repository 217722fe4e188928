#include "core/Messages.h"

#include "cipher/FileError.h"
#include "core/SourceWipe.h"
#include "core/Utf8.h"

namespace core {

namespace messages {

namespace {

// Each failure with a file in two forms: with the system's reason as %2, and
// without one.
struct FileTemplates {
    const char* withReason;
    const char* withoutReason;
};

FileTemplates SourceTemplates(const cipher::FileError& error) {
    const bool decrypt = error.operation == cipher::FileOperation::Decrypt;
    switch (error.failure) {
        case cipher::FileFailure::SourceMissing:
            return {nullptr,
                    QUILLBOX_TRANSLATE_NOOP("Messages", "The file \"%1\" does not exist.")};
        case cipher::FileFailure::SourceUnreadable:
            return {QUILLBOX_TRANSLATE_NOOP("Messages", "Could not read \"%1\": %2."),
                    QUILLBOX_TRANSLATE_NOOP("Messages", "Could not read \"%1\".")};
        case cipher::FileFailure::SourceChanged:
            return {nullptr, QUILLBOX_TRANSLATE_NOOP("Messages",
                                                     "The file \"%1\" changed while it was being "
                                                     "read. Nothing was written.")};
        case cipher::FileFailure::SourceIsFolder:
            return {nullptr, decrypt ? QUILLBOX_TRANSLATE_NOOP(
                                           "Messages",
                                           "\"%1\" is a folder, not a file. Choose a file to "
                                           "decrypt.")
                                     : QUILLBOX_TRANSLATE_NOOP(
                                           "Messages",
                                           "\"%1\" is a folder, not a file. Choose a file to "
                                           "encrypt.")};
        case cipher::FileFailure::InvalidName:
            return {nullptr,
                    QUILLBOX_TRANSLATE_NOOP(
                        "Messages", "The name \"%1\" is not a valid file name on this system.")};
        case cipher::FileFailure::SourceTooLarge:
            return {nullptr,
                    decrypt ? QUILLBOX_TRANSLATE_NOOP(
                                  "Messages",
                                  "The file \"%1\" is too large to be an encrypted file (those "
                                  "are at most 2147483647 bytes long).")
                            : QUILLBOX_TRANSLATE_NOOP(
                                  "Messages",
                                  "The file \"%1\" is too large to encrypt (at most 2147483628 "
                                  "bytes fit in an encrypted file).")};
        case cipher::FileFailure::WrongPassword:
            return {nullptr,
                    QUILLBOX_TRANSLATE_NOOP(
                        "Messages", "Wrong password, or the file is not a valid encrypted file.")};
        case cipher::FileFailure::NotEncryptedFile:
            return {nullptr,
                    QUILLBOX_TRANSLATE_NOOP("Messages", "\"%1\" is not an encrypted file.")};
        case cipher::FileFailure::InvalidBase64:
            return {nullptr,
                    QUILLBOX_TRANSLATE_NOOP("Messages", "The file \"%1\" holds no Base64 text.")};
        case cipher::FileFailure::UnrepresentableKey:
            return {nullptr, QUILLBOX_TRANSLATE_NOOP(
                                 "Messages",
                                 "The password holds a character that cannot be used: text and "
                                 "passwords may only hold characters of the Western European "
                                 "(Windows-1252) code page. Nothing was encrypted or decrypted.")};
        default:
            return {nullptr, nullptr};
    }
}

FileTemplates DestinationTemplates(cipher::FileFailure failure) {
    switch (failure) {
        case cipher::FileFailure::DestinationExists:
            return {nullptr,
                    QUILLBOX_TRANSLATE_NOOP("Messages", "The file \"%1\" already exists.")};
        case cipher::FileFailure::DestinationUnwritable:
            return {QUILLBOX_TRANSLATE_NOOP("Messages", "Could not write \"%1\": %2."),
                    QUILLBOX_TRANSLATE_NOOP("Messages", "Could not write \"%1\".")};
        case cipher::FileFailure::DestinationNotAFile:
            return {nullptr, QUILLBOX_TRANSLATE_NOOP(
                                 "Messages",
                                 "Could not write \"%1\": it is not a regular file (a device, "
                                 "a pipe or a socket). It was left as it is.")};
        case cipher::FileFailure::DestinationReadOnly:
            return {nullptr, QUILLBOX_TRANSLATE_NOOP("Messages",
                                                     "\"%1\" is read-only. It was left as it is.")};
        case cipher::FileFailure::DestinationUntrustedLink:
            return {nullptr,
                    QUILLBOX_TRANSLATE_NOOP(
                        "Messages",
                        "Could not write \"%1\": it is a symbolic link that belongs to another "
                        "user in a shared folder, and Quillbox does not follow such links.")};
        case cipher::FileFailure::Base64EncodingFailed:
            return {nullptr, QUILLBOX_TRANSLATE_NOOP(
                                 "Messages",
                                 "Could not write \"%1\": there was not enough memory to "
                                 "encode the encrypted data as Base64 text.")};
        case cipher::FileFailure::Stopped:
            return {nullptr, kStopped};
        case cipher::FileFailure::None:
            return {nullptr, QUILLBOX_TRANSLATE_NOOP("Messages", "The operation completed.")};
        default:
            return {nullptr, QUILLBOX_TRANSLATE_NOOP("Messages", "Unknown failure.")};
    }
}

FileTemplates TemplatesFor(const cipher::FileError& error) {
    const FileTemplates source = SourceTemplates(error);
    return source.withoutReason != nullptr ? source : DestinationTemplates(error.failure);
}

}  // namespace

std::string Render(const Message& message) {
    const std::string_view text(message.text);
    std::string out;
    FillPlaceholders(
        text.data(), text.size(), message.args.size(),
        [&](std::size_t from, std::size_t count) { out.append(text.substr(from, count)); },
        [&](std::size_t index) { out += message.args[index]; });
    return out;
}

Message FileMessage(const cipher::FileError& error) {
    const FileTemplates templates = TemplatesFor(error);
    std::vector<std::string> args{EncodeUtf8(error.path)};
    if (error.code && templates.withReason != nullptr) {
        args.push_back(error.code.message());
        return {templates.withReason, std::move(args)};
    }
    return {templates.withoutReason, std::move(args)};
}

std::string ForFile(const cipher::FileError& error) {
    return Render(FileMessage(error));
}

Message UnrepresentableMessage(char32_t character) {
    return {QUILLBOX_TRANSLATE_NOOP(
                "Messages",
                "The character \"%1\" cannot be used: text and passwords may only hold characters "
                "of the Western European (Windows-1252) code page. Nothing was encrypted or "
                "decrypted."),
            {EncodeUtf8(character)}};
}

std::string ForUnrepresentable(char32_t character) {
    return Render(UnrepresentableMessage(character));
}

std::optional<Message> WipeMessage(const WipeResult& result, const std::string& source) {
    const bool withReason = !result.reason.empty();
    switch (result.outcome) {
        case WipeOutcome::Wiped:
        case WipeOutcome::SameFile:
            return std::nullopt;
        case WipeOutcome::NotVerified:
            if (!withReason) {
                return Message{QUILLBOX_TRANSLATE_NOOP(
                                   "Messages",
                                   "Encrypted, but the original was not wiped: the encrypted "
                                   "file could not be checked against \"%1\". The original is "
                                   "unchanged."),
                               {source}};
            }
            return Message{QUILLBOX_TRANSLATE_NOOP(
                               "Messages",
                               "Encrypted, but the original was not wiped: the encrypted file "
                               "could not be checked against \"%1\" (%2). The original is "
                               "unchanged."),
                           {source, result.reason}};
        case WipeOutcome::NotDurable:
            return Message{QUILLBOX_TRANSLATE_NOOP(
                               "Messages",
                               "Encrypted, but the original was not wiped: the encrypted file's "
                               "folder could not be flushed to disk (%2), so the encrypted file "
                               "might not survive a crash. The original \"%1\" is unchanged."),
                           {source, result.reason}};
        case WipeOutcome::SymbolicLink:
            return Message{QUILLBOX_TRANSLATE_NOOP(
                               "Messages",
                               "Encrypted, but the original was not wiped: \"%1\" is a "
                               "symbolic link, and Quillbox does not wipe through links. The "
                               "link and the file it points to are unchanged."),
                           {source}};
        case WipeOutcome::OtherNames:
            return Message{QUILLBOX_TRANSLATE_NOOP(
                               "Messages",
                               "Encrypted, but the original was not wiped: \"%1\" has other names "
                               "(hard links), which would hold the encrypted data afterwards. The "
                               "original is unchanged."),
                           {source}};
        case WipeOutcome::NotRemovable:
            return Message{QUILLBOX_TRANSLATE_NOOP(
                               "Messages",
                               "Encrypted, but the original was not wiped: \"%1\" could not be "
                               "renamed or deleted (%2). The original is unchanged; the "
                               "encrypted file was kept."),
                           {source, result.reason}};
        case WipeOutcome::OverwriteFailed:
            return Message{QUILLBOX_TRANSLATE_NOOP(
                               "Messages",
                               "Encrypted, but the original was not wiped: could not overwrite "
                               "\"%1\" (%2). The encrypted file was kept."),
                           {source, result.reason}};
        case WipeOutcome::PartlyOverwritten:
            return Message{QUILLBOX_TRANSLATE_NOOP(
                               "Messages",
                               "Encrypted, but the original was only partly wiped: overwriting "
                               "\"%1\" failed part-way (%2). The part that was overwritten is on "
                               "disk and the file was deleted, but the rest of its content may "
                               "remain in the disk's free space. The encrypted file was kept."),
                           {source, result.reason}};
        case WipeOutcome::LeftAside:
            return Message{QUILLBOX_TRANSLATE_NOOP(
                               "Messages",
                               "Encrypted, but the original was not wiped: could not overwrite "
                               "\"%1\" (%2). It was not deleted and is now \"%3\", perhaps "
                               "partly overwritten; delete it yourself. The encrypted file was "
                               "kept."),
                           {source, result.reason, result.leftAt}};
        case WipeOutcome::DeleteFailed:
            return Message{QUILLBOX_TRANSLATE_NOOP(
                               "Messages",
                               "The original was overwritten with the encrypted data but could "
                               "not be deleted: \"%1\" (%2). The encrypted file was kept."),
                           {result.leftAt.empty() ? source : result.leftAt, result.reason}};
    }
    return std::nullopt;
}

std::optional<std::string> ForWipe(const WipeResult& result, const std::string& source) {
    const std::optional<Message> message = WipeMessage(result, source);
    if (!message) return std::nullopt;
    return Render(*message);
}

Message UnexpectedMessage(const char* what) {
    return {QUILLBOX_TRANSLATE_NOOP("Messages", "The operation failed: %1"), {what}};
}

std::string ForUnexpected(const char* what) {
    return Render(UnexpectedMessage(what));
}

}  // namespace messages

}  // namespace core

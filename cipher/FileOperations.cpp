// Whole-file encryption and decryption.

#include "cipher/CipherErrors.h"
#include "cipher/CodePage.h"
#include "cipher/FileStore.h"
#include "cipher/SecureZero.h"
#include "cipher/clsBlowfish.h"

namespace {

// Source files longer than this cannot fit in a container.
constexpr std::uint64_t kMaxSourceSize = 2147483628;
// A container is up to 19 bytes longer than its data.
constexpr std::size_t kContainerOverhead = 19;

void WipeArguments(std::u16string& Key, std::u16string& InFile, std::u16string& OutFile) {
    cipher::Wipe(Key);
    cipher::Wipe(InFile);
    cipher::Wipe(OutFile);
}

}  // namespace

bool clsBlowfish::IsExistingFile(const std::u16string& path) const {
    return filestore::IsRegularFile(path);
}

bool clsBlowfish::Fail(FileFailure failure, const std::u16string& path, std::error_code code) {
    lastError_ = FileError{failure, path, code};
    return false;
}

bool clsBlowfish::EncryptFile(std::u16string& InFile, std::u16string& OutFile, bool Overwrite,
                              std::u16string& Key, bool OutputIn64) {
    ResetTables();
    return TransformFile(InFile, OutFile, Overwrite, Key, OutputIn64, true);
}

bool clsBlowfish::DecryptFile(std::u16string& InFile, std::u16string& OutFile, bool Overwrite,
                              std::u16string& Key, bool IsFileIn64) {
    return TransformFile(InFile, OutFile, Overwrite, Key, IsFileIn64, false);
}

bool clsBlowfish::TransformFile(std::u16string& InFile, std::u16string& OutFile, bool Overwrite,
                                std::u16string& Key, bool base64, bool encrypt) {
    lastError_ = FileError{};
    if (!IsExistingFile(InFile)) return Fail(FileFailure::SourceMissing, InFile);
    if (IsExistingFile(OutFile) && !Overwrite) return Fail(FileFailure::DestinationExists, OutFile);

    // From here on the arguments are wiped whatever the outcome.
    const bool done = TransformExistingFile(InFile, OutFile, Key, base64, encrypt);
    WipeArguments(Key, InFile, OutFile);
    return done;
}

bool clsBlowfish::TransformExistingFile(const std::u16string& InFile, const std::u16string& OutFile,
                                        const std::u16string& Key, bool base64, bool encrypt) {
    std::error_code ec;
    const std::filesystem::path source = filestore::ToPath(InFile, ec);
    if (ec) return Fail(FileFailure::SourceUnreadable, InFile, ec);
    const std::filesystem::path destination = filestore::ToPath(OutFile, ec);
    if (ec || OutFile.empty()) {
        return Fail(FileFailure::DestinationUnwritable, OutFile,
                    ec ? ec : std::make_error_code(std::errc::invalid_argument));
    }
    try {
        // Assigned up front so an unusable password is refused before
        // anything is read; an empty one keeps the tables in force.
        if (!Key.empty()) this->Key(Key);
    } catch (const UnrepresentableTextError&) {
        return Fail(FileFailure::UnrepresentableKey);
    }

    if (encrypt && !base64) return EncryptIntoFile(source, destination, InFile, OutFile);

    ByteArray bytes;
    ec = filestore::ReadWholeFile(source, bytes, encrypt ? kContainerOverhead : 0,
                                  encrypt ? kMaxSourceSize : 0x7FFFFFFF);
    if (ec == std::errc::file_too_large) return Fail(FileFailure::SourceTooLarge, InFile);
    if (ec) return Fail(FileFailure::SourceUnreadable, InFile, ec);

    if (encrypt) {
        EncryptByte(bytes);
        if (base64) {
            const std::u16string text = EncodeArray64(bytes);
            // A container is never empty, so neither is its text, unless the encoder failed.
            if (text.empty()) return Fail(FileFailure::Base64EncodingFailed, OutFile);
            bytes = AsciiBytes(text);
        }
    } else {
        if (base64) {
            try {
                bytes = DecodeArray64(codepage::BytesToText(bytes));
            } catch (const Base64Error&) {
                return Fail(FileFailure::InvalidBase64, InFile);
            }
        }
        if (!DecryptByte(bytes)) {
            cipher::Wipe(bytes);
            return Fail(FileFailure::WrongPassword, InFile);
        }
    }
    ec = filestore::WriteFileAtomically(destination, bytes.data(), bytes.size());
    cipher::Wipe(bytes);
    if (ec) return Fail(FileFailure::DestinationUnwritable, OutFile, ec);
    return true;
}

// The container is built in place in the new file's own pages: the source is
// read straight to offset 12 and enciphered there, with no copy of the data
// in the program's memory and no separate write.
bool clsBlowfish::EncryptIntoFile(const std::filesystem::path& source,
                                  const std::filesystem::path& destination,
                                  const std::u16string& InFile, const std::u16string& OutFile) {
    filestore::SourceFile input;
    std::error_code ec = input.Open(source);
    if (ec) return Fail(FileFailure::SourceUnreadable, InFile, ec);
    if (input.Size() > kMaxSourceSize) return Fail(FileFailure::SourceTooLarge, InFile);
    const auto D = static_cast<std::size_t>(input.Size());

    filestore::PendingFile output;
    ec = output.Create(destination);
    std::uint8_t* container = ec ? nullptr : output.Map(ContainerSize(D), ec);
    if (ec) return Fail(FileFailure::DestinationUnwritable, OutFile, ec);
    ec = input.ReadAll(container + 12);
    if (ec) return Fail(FileFailure::SourceUnreadable, InFile, ec);
    SealContainer(container, D);
    ec = output.Commit();
    if (ec) return Fail(FileFailure::DestinationUnwritable, OutFile, ec);
    return true;
}

clsBlowfish::ByteArray clsBlowfish::AsciiBytes(const std::u16string& text) {
    ByteArray bytes(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) bytes[i] = static_cast<std::uint8_t>(text[i]);
    return bytes;
}

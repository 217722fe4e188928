#include "core/Messages.h"

#include "cipher/FileError.h"
#include "core/SourceWipe.h"

namespace messages {

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Reason(const std::string& reason) {
    return reason.empty() ? std::string() : " (" + reason + ")";
}

}  // namespace

std::string ForFile(const FileError& error) {
    return error.Message();
}

std::string ForUnrepresentable(char32_t character) {
    std::string shown;
    AppendUtf8(shown, character);
    return "The character \"" + shown +
           "\" cannot be encrypted: text and passwords may only use the characters of the "
           "Western European (Windows-1252) code page. Nothing was encrypted.";
}

std::optional<std::string> ForWipe(const WipeResult& result, const std::string& source) {
    const std::string file = "\"" + source + "\"";
    const std::string lead = "Encrypted, but the original was not wiped: ";
    switch (result.outcome) {
        case WipeOutcome::Wiped:
        case WipeOutcome::SameFile:
            return std::nullopt;
        case WipeOutcome::NotVerified:
            return lead + "the encrypted file could not be checked against " + file +
                   Reason(result.reason) + ". The original is unchanged.";
        case WipeOutcome::SymbolicLink:
            return lead + file +
                   " is a symbolic link, and Quillbox does not wipe through links. The link and "
                   "the file it points to are unchanged.";
        case WipeOutcome::NotRemovable:
            return lead + file + " could not be renamed or deleted" + Reason(result.reason) +
                   ". The original is unchanged; the encrypted file was kept.";
        case WipeOutcome::OverwriteFailed:
            return lead + "could not overwrite " + file + Reason(result.reason) +
                   ". The encrypted file was kept.";
        case WipeOutcome::DeleteFailed:
            return "The original was overwritten with the encrypted data but could not be "
                   "deleted: " +
                   file + Reason(result.reason) + ". The encrypted file was kept.";
    }
    return std::nullopt;
}

std::string ForUnexpected(const char* what) {
    return std::string("The operation failed: ") + what;
}

std::string Utf8(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace messages

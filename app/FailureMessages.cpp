#include "app/FailureMessages.h"

#include "app/SourceWipe.h"

namespace failure {

QString ForFile(const FileError& error) {
    return QString::fromStdString(error.Message());
}

QString ForUnrepresentable(char16_t character) {
    return QStringLiteral(
               "The character \"%1\" cannot be encrypted: text and passwords may only use "
               "the characters of the Western European (Windows-1252) code page. Nothing was "
               "encrypted.")
        .arg(QChar(character));
}

std::optional<QString> ForWipe(const WipeResult& result, const QString& source) {
    switch (result.outcome) {
        case WipeOutcome::Wiped:
        case WipeOutcome::SameFile:
            return std::nullopt;
        case WipeOutcome::NotVerified:
            return QStringLiteral(
                       "The encrypted file could not be checked against \"%1\"%2, so the "
                       "original was not wiped.")
                .arg(source, result.reason.isEmpty()
                                 ? QString()
                                 : QStringLiteral(" (") + result.reason + QStringLiteral(")"));
        case WipeOutcome::OverwriteFailed:
            return QStringLiteral(
                       "Could not overwrite \"%1\": %2. The original was not wiped; "
                       "the encrypted file was kept.")
                .arg(source, result.reason);
        case WipeOutcome::DeleteFailed:
            return QStringLiteral(
                       "\"%1\" was overwritten with the encrypted data but could "
                       "not be deleted: %2. The encrypted file was kept.")
                .arg(source, result.reason);
    }
    return std::nullopt;
}

QString ForUnexpected(const char* what) {
    return QStringLiteral("The operation failed: %1").arg(QString::fromUtf8(what));
}

}  // namespace failure

#pragma once

#include <QString>
#include <optional>

#include "cipher/FileError.h"

struct WipeResult;

// The failure sentences of the shared messages, as the windows show them.
namespace failure {

inline const QString kWrongPasswordForText =
    QStringLiteral("Wrong password, or the text is not a valid encrypted string.");
inline const QString kNoDestination =
    QStringLiteral("Please enter the name of the destination file in the second field.");

// What went wrong in a file operation, with the file and the system's reason.
QString ForFile(const FileError& error);

// Text or a password holding a character that cannot be encrypted.
QString ForUnrepresentable(char32_t character);

// What the user is told after a wipe of source, or nothing when there is nothing to tell.
std::optional<QString> ForWipe(const WipeResult& result, const QString& source);

// A failure that the operation did not classify (for example lack of memory).
QString ForUnexpected(const char* what);

}  // namespace failure

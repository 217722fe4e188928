#pragma once

#include <QString>

#include "cipher/FileError.h"

namespace core::messages {
struct Message;
}

namespace app {

// The failure sentences of the shared messages, as the windows show them:
// the template in the user's language, then its arguments filled in.
namespace failure {

// A shared message in the user's language.
QString Translated(const core::messages::Message& message);

// What went wrong in a file operation, with the file and the system's reason.
QString ForFile(const cipher::FileError& error);

// Text or a password holding a character that cannot be encrypted.
QString ForUnrepresentable(char32_t character);

// A failure that the operation did not classify (for example lack of memory).
QString ForUnexpected(const char* what);

}  // namespace failure

}  // namespace app

#pragma once

#include <QString>

// The password and ciphertext of the usage examples: the ciphertext really
// decrypts under the password.
inline const QString kExamplePassword = QStringLiteral("123");
extern const QString kExampleCiphertext;

// The About box and the command-line usage message, lines joined by CR LF.
QString UsageText();

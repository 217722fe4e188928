#pragma once

#include <QString>

#include "core/UsageText.h"

namespace ui {

// The password and ciphertext of the usage examples: the ciphertext really
// decrypts under the password.
inline const QString kExamplePassword = QString::fromUtf16(core::usage::kExamplePassword);
inline const QString kExampleCiphertext = QString::fromUtf16(core::usage::kExampleCiphertext);

// The About box and the command-line usage message, lines joined by CR LF.
QString UsageText();

}  // namespace ui

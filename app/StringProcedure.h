#pragma once

#include <QString>
#include <optional>
#include <string>

class ProgressSink;

enum class StringDirection { Encrypt, Decrypt };

struct StringOutcome {
    std::optional<QString> result;  // the ciphertext (Base64) or the plain text
    QString failure;                // what to tell the user when there is no result
    bool wrongPassword = false;     // the failure: wrong password, or not valid ciphertext
};

// Encrypts text into Base64 ciphertext, or decrypts Base64 ciphertext. On
// success the engine empties password; on failure it keeps its value and the
// outcome says what went wrong (a character the code page cannot hold, a wrong
// password or text that is not valid ciphertext).
StringOutcome TransformString(StringDirection direction, std::u16string text,
                              std::u16string& password, ProgressSink* progress);

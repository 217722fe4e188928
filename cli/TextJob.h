#pragma once

#include <optional>
#include <string>

#include "core/flows/FrontEnd.h"

namespace cli {

// encrypt-text and decrypt-text: the text of --text, or else standard input
// with one line ending dropped; the result goes to standard output followed
// by a line feed. Ciphertext is the same Base64 text the window produces.
struct TextJob {
    bool encrypt = true;
    std::optional<std::string> text;  // --text, UTF-8
    bool hints = false;               // may say on the terminal what it waits for
};

// The password is known already; the engine reports progress to frontEnd.
core::flows::Outcome Run(const TextJob& job, core::flows::FrontEnd& frontEnd,
                         const std::u16string& password);

}  // namespace cli

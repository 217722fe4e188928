#pragma once

#include <optional>
#include <string>

namespace cli {

// The output a file command writes when -o is not given: encryption appends
// ".enc"; decryption drops it, and a name without it gets no default, so a
// plain file is never written under a name that promises encrypted data.
// Standard input goes to standard output.
std::optional<std::string> DefaultOutputFor(const std::string& input, bool encrypt);

}  // namespace cli

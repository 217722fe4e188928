#pragma once

#include <optional>
#include <string>
#include <string_view>

// Text arriving as UTF-8 (the system's path encoding, arguments, standard
// input, passwords) turned into the program's 16-bit text.

// Strict decoding: overlong forms, encoded surrogates and truncated
// sequences are refused. The result's buffer is sized once, so no copy of
// the text (a password) is left behind in freed memory.
std::optional<std::u16string> DecodeUtf8(std::string_view bytes);

// Text for one command-line argument. A byte that is not part of valid UTF-8
// becomes the lone surrogate U+DC80 + byte: no file name accepts it, so a
// name that does not decode is refused rather than silently changed into
// another name.
std::u16string DecodeArgument(std::string_view bytes);

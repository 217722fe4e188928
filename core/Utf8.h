#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace core {

// Text leaving the program as UTF-8 (paths, standard output, messages), and
// text arriving as UTF-8 (the system's path encoding, arguments, standard
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

// UTF-8 for text; an unpaired surrogate becomes U+FFFD. The result's buffer
// is sized exactly before it is filled, so secret text leaves no copy in a
// buffer that was outgrown.
std::string EncodeUtf8(std::u16string_view text);

// UTF-8 for one character.
std::string EncodeUtf8(char32_t character);

}  // namespace core

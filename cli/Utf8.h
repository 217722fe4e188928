#pragma once

#include <optional>
#include <string>
#include <string_view>

// Text arriving as UTF-8 (arguments, standard input, passwords) turned into
// the program's 16-bit text.
namespace cli {

// Strict decoding: overlong forms, surrogates and truncated sequences are
// refused. The result's buffer is sized once, so no copy of the text is
// left behind in freed memory.
std::optional<std::u16string> DecodeUtf8(std::string_view bytes);

// Drops one line ending ("\n" or "\r\n") from the end.
void DropLineEnding(std::string& bytes);

}  // namespace cli

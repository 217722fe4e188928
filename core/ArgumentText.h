#pragma once

#include <string>

// Text for one command-line argument, decoded as UTF-8 (the system's path
// encoding). A byte that is not part of valid UTF-8 becomes the lone
// surrogate U+DC80 + byte: no file name accepts it, so a name that does not
// decode is refused rather than silently changed into another name.
std::u16string DecodeArgument(const std::string& bytes);

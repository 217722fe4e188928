#pragma once

#include <string>

namespace core {

// The usage text of the window program (its About box and the message for an
// unusable "/" command line) and the help text of its desktop options, shared
// by every front end. The sentences are English templates marked for the
// translation tools; a front end passes its translator, the commands of the
// examples stay as they are typed.
namespace usage {

// The password and ciphertext of the examples: the ciphertext really
// decrypts under the password.
inline constexpr const char16_t* kExamplePassword = u"123";
inline constexpr const char16_t* kExampleCiphertext = u"4n8Ea+S1tbYEmfL4l9URcrp5aJ4AXEey";

// The context under which the sentences are catalogued.
inline constexpr const char* kContext = "UsageText";

// Turns an English sentence of this text into the user's language.
using Translator = std::u16string (*)(const char* english);

// The usage text, lines joined by CR LF, no line break after the last. Without
// a translator the sentences stay English.
std::u16string Text(Translator translate = nullptr);

// What --help adds after the usage text: the desktop options and the exit
// statuses, lines ending in a line feed.
std::u16string DesktopOptionsText();

}  // namespace usage

}  // namespace core

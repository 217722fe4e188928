#pragma once

#include <string>
#include <string_view>

namespace core {

// The non-interactive command line: "/"-separated fields
//
//     <lead-in> / <operation> / <source or "string"> / <password or "-ask"> [/ <destination or
//     text>]
//
// The lead-in is ignored. Everything after the fourth "/" is the last field,
// slashes included. The parser only reads text; it never touches a window.
namespace commandline {

enum class Action {
    Interactive,    // no argument text: show the main window
    Usage,          // the command line cannot be used: show the usage text
    EncryptFile,    // source -> destination, then wipe the source
    DecryptFile,    // source -> destination
    EncryptString,  // text -> Base64 ciphertext on the clipboard
    DecryptString,  // Base64 ciphertext -> text on the clipboard
};

// What the command line puts into the main window's boxes and the shared
// password, and which of the window's actions runs on them.
struct Command {
    Action action = Action::Interactive;
    std::u16string source;       // the source path box (field 2, trimmed)
    std::u16string destination;  // the destination path box (field 4 trimmed, or derived)
    std::u16string text;         // the string input box (field 4, untouched)
    std::u16string password;     // field 3, trimmed; empty when the prompt is to ask
    bool askPassword = false;    // field 3 was "-ask": the actions prompt as in the window

    bool operator==(const Command&) const = default;
};

// Removes leading and trailing space characters (U+0020 only).
std::u16string_view TrimSpaces(std::u16string_view text);

// Lower-cases A-Z; every other character stays as it is.
std::u16string ToLowerAscii(std::u16string_view text);

// Reads the program's argument text (its arguments joined by single spaces).
Command Parse(std::u16string_view argumentText);

}  // namespace commandline

}  // namespace core

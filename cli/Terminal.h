#pragma once

#include <cstddef>
#include <string>

// Asking the user at the controlling terminal, with echo off.
namespace cli {

enum class TerminalAnswer {
    Read,        // the line is in `line`
    NoTerminal,  // the process has no terminal to ask on
    Failed,      // the terminal could not be read; `reason` says why
};

// Shows prompt on the terminal and reads one line without echoing it. The
// terminal's settings are restored afterwards, also when a signal ends the
// program meanwhile. Stopped (Ctrl-Z), the program gives the terminal its
// settings back; continued, it turns echo off again and shows the prompt
// anew. `line` must have room for `maxLength` bytes reserved.
TerminalAnswer AskHidden(const char* prompt, std::string& line, std::size_t maxLength,
                         std::string& reason);

}  // namespace cli

#pragma once

#include <string>

#include "cli/Options.h"

// Obtaining the password from the source the user chose.
namespace cli {

struct PasswordResult {
    int status = 0;       // an core::ExitStatus; 0 when `password` holds the password
    std::string message;  // why there is no password
};

// Reads the password. From the terminal it is asked twice when `confirm` is
// set. The password is refused when it is empty or holds a character the
// engine cannot use. Every buffer that held it is wiped except `password`.
PasswordResult ReadPassword(const PasswordOption& source, bool confirm, std::u16string& password);

}  // namespace cli

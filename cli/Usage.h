#pragma once

#include <string>

namespace cli {

// The text of --help.
std::string HelpText();

// The text of --version.
std::string VersionText();

}  // namespace cli

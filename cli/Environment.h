#pragma once

#include <string>

namespace cli {

// Copies the value of an environment variable into `value` (which has its
// room reserved) and removes it from the environment, its old text
// overwritten, so child processes and later readers of the environment do
// not see it. False when the variable is not set.
bool TakeVariable(const std::string& name, std::string& value);

}  // namespace cli

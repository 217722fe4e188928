#pragma once

#include <string>
#include <vector>

namespace cli {

// The whole program: reads the arguments after its name, runs the command
// and returns the exit status.
int RunProgram(const std::vector<std::string>& arguments);

}  // namespace cli

#include <string>
#include <vector>

#include "cli/Program.h"

int main(int argc, char** argv) {
    return cli::RunProgram(std::vector<std::string>(argv + 1, argv + argc));
}

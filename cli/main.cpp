#include <string>
#include <vector>

#include "cli/Program.h"
#include "core/ProcessHardening.h"
#include "core/TerminationCleanup.h"

int main(int argc, char** argv) {
    core::KeepSecretsOutOfCoreDumps();
    core::RemoveTemporaryFileOnTermination();
    return cli::RunProgram(std::vector<std::string>(argv + 1, argv + argc));
}

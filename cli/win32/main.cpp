#include <windows.h>

#include <string>
#include <vector>

#include "cli/Program.h"
#include "core/ProcessHardening.h"
#include "core/TerminationCleanup.h"
#include "fileio/win32/Win32.h"

// The arguments arrive as UTF-16 and go on as UTF-8, as they do on Linux.
int wmain(int argc, wchar_t** argv) {
    core::KeepSecretsOutOfCoreDumps();
    ::SetConsoleOutputCP(CP_UTF8);
    core::RemoveTemporaryFileOnTermination();
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(fileio::win32::Utf8FromWide(argv[i]));
    return cli::RunProgram(arguments);
}

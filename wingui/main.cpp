// quillbox.exe: the window program on Windows.
#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "core/ExitStatus.h"
#include "core/TerminationCleanup.h"
#include "core/UsageText.h"
#include "wingui/Program.h"
#include "wingui/Win32.h"
#include "wingui/Win32Text.h"

namespace {

// The program's arguments (without its name), as UTF-16 words.
std::vector<std::u16string> ProgramArguments() {
    std::vector<std::u16string> arguments;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(wingui::Narrow(words[i]));
    LocalFree(words);
    return arguments;
}

enum class Option { None, Help, Version, EncryptFiles, DecryptFiles };

// --help, -h and --version alone; --encrypt and --decrypt followed by the
// files (a "--" right after them is skipped, so that a file may begin with "-").
Option ReadOption(std::vector<std::u16string>& arguments) {
    if (arguments.size() == 1 && (arguments[0] == u"--help" || arguments[0] == u"-h")) {
        return Option::Help;
    }
    if (arguments.size() == 1 && arguments[0] == u"--version") return Option::Version;
    if (arguments.empty()) return Option::None;
    const Option option = arguments[0] == u"--encrypt"   ? Option::EncryptFiles
                          : arguments[0] == u"--decrypt" ? Option::DecryptFiles
                                                         : Option::None;
    if (option == Option::None) return option;
    arguments.erase(arguments.begin());
    if (!arguments.empty() && arguments[0] == u"--") arguments.erase(arguments.begin());
    return option;
}

std::u16string HelpText() {
    std::u16string text;
    for (const char16_t c : core::usage::Text()) {
        if (c != u'\r') text += c;
    }
    return text + u"\n\n" + core::usage::DesktopOptionsText();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Started from a console, the program writes its answers there.
    AttachConsole(ATTACH_PARENT_PROCESS);
    std::vector<std::u16string> arguments = ProgramArguments();
    const bool anyArguments = !arguments.empty();
    switch (const Option option = ReadOption(arguments)) {
        case Option::Help:
            wingui::WriteOutput(false, HelpText());
            return core::kCompleted;
        case Option::Version:
            wingui::WriteOutput(false, u"Quillbox " QUILLBOX_VERSION);
            return core::kCompleted;
        case Option::None:
        case Option::EncryptFiles:
        case Option::DecryptFiles: {
            core::RemoveTemporaryFileOnTermination();
            // Path completion in the source field needs COM in this thread.
            const HRESULT com = OleInitialize(nullptr);
            int status = core::kFailed;
            {
                wingui::Program program;
                // Outside the window a console or a script waits for the
                // outcome: every box's text goes to standard error as well.
                program.Messages().SetEchoToErrorOutput(anyArguments);
                status = option == Option::None
                             ? program.Start(arguments)
                             : program.RunFiles(option == Option::EncryptFiles, arguments);
            }
            if (SUCCEEDED(com)) OleUninitialize();
            return status;
        }
    }
    return core::kFailed;
}

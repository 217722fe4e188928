#pragma once

#include <string>
#include <vector>

#include "core/CommandLine.h"
#include "core/ExitStatus.h"
#include "wingui/Form1.h"
#include "wingui/Services.h"
#include "wingui/Win32Text.h"
#include "wingui/WinFrontEnd.h"

// The window program: the main window's Encrypt, Decrypt and About through
// the shared flows, the shared password, and the three ways to start (the
// window, a "/" command line, the file-manager entries).
namespace wingui {

class Program final : private Form1::Actions {
public:
    Program();
    ~Program() override;

    Form1& Window() { return form_; }
    MessageBoxes& Messages() { return messages_; }

    // The whole start-up for the program's arguments (without its name): the
    // window and its message loop, or the one command, then the end.
    int Start(const std::vector<std::u16string>& arguments);

    // The file-manager entry: the file panel's Encrypt (or Decrypt) on each
    // file in turn, as if chosen with Browse, with every prompt and question
    // of the window; without files the user chooses one first. The worst of
    // the exit statuses.
    int RunFiles(bool encrypt, const std::vector<std::u16string>& files);

private:
    void EncFile_Click() override;
    void DecFile_Click() override;
    void EncStr_Click() override;
    void DecStr_Click() override;
    void mAbout_Click() override;

    int RunCommand(const core::commandline::Command& command);
    int RunFileAction(bool encrypt);
    bool RunStringAction(bool encrypt);
    bool InteractiveMode() const { return commandLine_.empty(); }

    MessageBoxes messages_;
    WinFrontEnd frontEnd_;
    Form1 form_;
    // The shared password; empty means none.
    std::u16string currentPassword_;
    // Non-empty while a command line with its password runs: the file
    // actions then skip the first prompt and wipe without asking.
    std::u16string commandLine_;
    core::ExitStatus fileStatus_ = core::kCompleted;
    core::ExitStatus stringStatus_ = core::kCompleted;
    // The window's own dialogue asks before replacing an existing file.
    bool askBeforeReplacing_ = true;
};

}  // namespace wingui

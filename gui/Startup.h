#pragma once

#include <QString>
#include <QStringList>

#include "core/CommandLine.h"
#include "core/ExitStatus.h"

class Form1;
namespace app {
class MessageBoxes;
}

// What the program does once its main window exists: show the window, or run
// the one operation that the command line names and end.
namespace gui::startup {

// The program's arguments (without its name) exactly as the system passed
// them. Read them before the application object exists, and do not hand them
// to Qt: Qt would take words such as "-reverse" out of a string to encrypt.
QStringList ProgramArguments(int argc, const char* const* argv);

// The argument text: the program's arguments (without its name) joined by
// single spaces.
QString ArgumentText(const QStringList& arguments);

// Fills the window's boxes and the shared password from the command, runs the
// window's action for it and returns the exit status. An existing destination
// is replaced without a question. The window's load step must have run with
// the same argument text.
int RunCommand(Form1& form, const core::commandline::Command& command);

// The file-manager entry: runs the file panel's Encrypt (or Decrypt) action
// on each file in turn, as if the user had chosen it with Browse (absolute
// path, destination derived from it), with every prompt and question of the
// window. A file that is not there is reported in a box. Without files the
// user chooses one with Browse first. When a folder is among them, all of
// them form one set instead: every regular file below the folders, one
// password, one wipe question, one summary box. Returns the worst of the
// files' exit statuses (2, 1, 4, 3, 0 in that order).
int RunFiles(Form1& form, app::MessageBoxes& boxes, bool encrypt, const QStringList& files);

// The whole start-up: the window's load step, then either the window and the
// event loop (no arguments) or one command, after which the window closes.
int Start(Form1& form, const QStringList& arguments);

}  // namespace gui::startup

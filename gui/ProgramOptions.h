#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The options that a desktop and a shell expect of a program, beside the
// "/" command line: --help, -h, --version, the file-manager entries
// --encrypt FILE... and --decrypt FILE..., and --open FILE, the desktop
// entry's "Open with". None of them can be a usable "/" command line, so they
// change nothing that worked before.
namespace gui::programoptions {

enum class Option {
    None,          // not one of these: the "/" command line or the window
    Help,          // print the help text, exit 0
    Version,       // print the version, exit 0
    EncryptFiles,  // the file panel's Encrypt on each file in turn
    DecryptFiles,  // the file panel's Decrypt on each file in turn
    OpenFile,      // the window, with the first file as the source, as if dropped
};

struct Options {
    Option option = Option::None;
    // For EncryptFiles and DecryptFiles, as given (empty: choose one); for
    // OpenFile, the files to take as dropped (empty: the empty window).
    QStringList files;

    bool operator==(const Options&) const = default;
};

// Reads the program's arguments (without its name). A "--" right after
// --encrypt, --decrypt or --open is skipped, so that a file may begin with "-".
Options Read(const QStringList& arguments);

// The --help text: the forms of the command line with examples that work on
// this system, the desktop options, quillbox-cli for scripts and the exit
// statuses; lines ending in a line feed.
QString HelpText();

// The --version line: the program's name and version.
QString VersionText();

// The output and exit status for options that need no display (--help and
// --version); nothing for everything else.
struct Answer {
    QString text;
    int status = 0;
};
std::optional<Answer> AnswerWithoutDisplay(const Options& options);

}  // namespace gui::programoptions

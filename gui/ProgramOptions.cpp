#include "gui/ProgramOptions.h"

#include "app/AppInfo.h"
#include "core/ExitStatus.h"
#include "ui/UsageText.h"

namespace gui::programoptions {

namespace {

Option FileOption(const QString& word) {
    if (word == QLatin1String("--encrypt")) return Option::EncryptFiles;
    if (word == QLatin1String("--decrypt")) return Option::DecryptFiles;
    if (word == QLatin1String("--open")) return Option::OpenFile;
    return Option::None;
}

}  // namespace

Options Read(const QStringList& arguments) {
    if (arguments.size() == 1) {
        const QString& word = arguments.front();
        if (word == QLatin1String("--help") || word == QLatin1String("-h"))
            return {Option::Help, {}};
        if (word == QLatin1String("--version")) return {Option::Version, {}};
    }
    if (arguments.isEmpty()) return {};
    const Option option = FileOption(arguments.front());
    if (option == Option::None) return {};
    QStringList files = arguments.mid(1);
    if (!files.isEmpty() && files.front() == QLatin1String("--")) files.removeFirst();
    return {option, files};
}

QString HelpText() {
    const QString& pw = ui::kExamplePassword;
    return QStringLiteral(
               "Usage: quillbox\n"
               "       quillbox /OPERATION /SOURCE /PASSWORD [/DESTINATION-OR-TEXT]\n"
               "       quillbox --encrypt [FILE...] | --decrypt [FILE...] | --open [FILE]\n"
               "       quillbox --help | -h | --version\n"
               "\n"
               "Without arguments the main window opens.\n"
               "\n"
               "The \"/\" command line performs one operation without the window. Its\n"
               "fields are cut at every \"/\": the source is a name in the current folder,\n"
               "and an absolute destination starts with two slashes. -ask as the password\n"
               "asks for it in a window; a string result goes to the clipboard.\n"
               "  quillbox /encrypt /notes.txt /-ask\n"
               "  quillbox /decrypt /notes.txt.enc /%1 //tmp/notes.txt\n"
               "  quillbox /encrypt /string /%1 /This is a string encryption test.\n"
               "  quillbox /decrypt /string /%1 /%2\n"
               "%1 is the password in the above examples.\n"
               "\n"
               "  --encrypt FILE...  encrypt each file as the window's Encrypt button does\n"
               "                     (password, retype, \"Wipe original?\"); without a\n"
               "                     file, choose one first\n"
               "  --decrypt FILE...  decrypt each file as the window's Decrypt button does;\n"
               "                     a FOLDER among the files makes one set of every\n"
               "                     regular file below it, hidden ones included (links,\n"
               "                     devices, pipes, sockets skipped): one password, one\n"
               "                     summary. Escape while the status strip shows asks\n"
               "                     whether to stop.\n"
               "  --open FILE        open the window with FILE as the source file\n"
               "  --help, -h         show this text\n"
               "  --version          show the version\n"
               "\n"
               "For scripts and terminals use quillbox-cli (see quillbox-cli --help): it\n"
               "needs no display and never takes a password from the command line.\n"
               "\n"
               "Exit status: 0 done, 1 failed, cancelled or stopped, 2 unusable command\n"
               "line, 3 encrypted but the original not wiped, 4 wrong password or not an\n"
               "encrypted file.\n")
        .arg(pw, ui::kExampleCiphertext);
}

QString VersionText() {
    return app::kApplicationTitle + QLatin1Char(' ') + app::kApplicationVersion + QLatin1Char('\n');
}

std::optional<Answer> AnswerWithoutDisplay(const Options& options) {
    switch (options.option) {
        case Option::Help:
            return Answer{HelpText(), core::kCompleted};
        case Option::Version:
            return Answer{VersionText(), core::kCompleted};
        case Option::None:
        case Option::EncryptFiles:
        case Option::DecryptFiles:
        case Option::OpenFile:
            break;
    }
    return std::nullopt;
}

}  // namespace gui::programoptions

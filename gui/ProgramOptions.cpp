#include "gui/ProgramOptions.h"

#include "app/AppInfo.h"
#include "core/ExitStatus.h"
#include "ui/UsageText.h"

namespace programoptions {

namespace {

Option FileOption(const QString& word) {
    if (word == QLatin1String("--encrypt")) return Option::EncryptFiles;
    if (word == QLatin1String("--decrypt")) return Option::DecryptFiles;
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
    QString usage = UsageText();
    usage.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return usage +
           QStringLiteral(
               "\n\n"
               "Quillbox --encrypt FILE...  encrypt each file as the window's Encrypt "
               "button does (password, retype, \"Wipe original?\");\n"
               "                            without a file, choose one first\n"
               "Quillbox --decrypt FILE...  decrypt each file as the window's Decrypt "
               "button does\n"
               "A FOLDER among them makes one set of every regular file below it, "
               "hidden ones\n"
               "included (links, devices, pipes, sockets skipped): one password, one "
               "summary.\n"
               "Escape while the status strip shows asks whether to stop.\n"
               "Quillbox --help, -h         show this text\n"
               "Quillbox --version          show the version\n"
               "Without arguments the main window opens.\n"
               "\n"
               "Exit status: 0 done, 1 failed, cancelled or stopped, 2 unusable command line, "
               "3 encrypted but the original not wiped, 4 wrong password or not an "
               "encrypted file.\n");
}

QString VersionText() {
    return kApplicationTitle + QLatin1Char(' ') + kApplicationVersion + QLatin1Char('\n');
}

std::optional<Answer> AnswerWithoutDisplay(const Options& options) {
    switch (options.option) {
        case Option::Help:
            return Answer{HelpText(), kCompleted};
        case Option::Version:
            return Answer{VersionText(), kCompleted};
        case Option::None:
        case Option::EncryptFiles:
        case Option::DecryptFiles:
            break;
    }
    return std::nullopt;
}

}  // namespace programoptions

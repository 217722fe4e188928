#include "gui/ProgramOptions.h"

#include "app/AppInfo.h"
#include "core/ExitStatus.h"
#include "core/UsageText.h"
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
    QString text = UsageText();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text + QStringLiteral("\n\n") + QString::fromStdU16String(usage::DesktopOptionsText());
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

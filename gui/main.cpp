#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QStringList>
#include <cstdio>
#include <optional>

#include "app/AppInfo.h"
#include "app/platform/ClipboardServer.h"
#include "app/platform/QtPlatform.h"
#include "app/platform/Translations.h"
#include "app/platform/Unattended.h"
#include "core/CommandLine.h"
#include "core/ProcessHardening.h"
#include "core/TerminationCleanup.h"
#include "gui/DisplayGuard.h"
#include "gui/HiddenArguments.h"
#include "gui/ProgramOptions.h"
#include "gui/Startup.h"
#include "ui/Form1.h"

namespace {

void Print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

// True for a "/" command line that cannot be used, arguments that are all
// empty included: without a display it still ends with the usage status and
// the usage text.
bool IsUnusable(const QStringList& arguments) {
    if (arguments.isEmpty()) return false;
    if (gui::programoptions::Read(arguments).option != gui::programoptions::Option::None)
        return false;
    const QString text = gui::startup::ArgumentText(arguments);
    const core::commandline::Action action = core::commandline::Parse(text.toStdU16String()).action;
    return action == core::commandline::Action::Usage ||
           action == core::commandline::Action::Interactive;
}

QIcon WindowIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/quillbox-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

// "Open with": the window, with the file as the source as if it had been
// dropped on the first field.
int OpenWindow(Form1& form, const QStringList& files) {
    form.Form_Load(QString());
    if (!files.isEmpty()) {
        const QStringList dropped{QFileInfo(files.front()).absoluteFilePath()};
        form.RunAction([&] { form.Text1_OLEDragDrop(dropped); });
    }
    form.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    // Also the clipboard keeper, which runs this program and holds the text.
    core::KeepSecretsOutOfCoreDumps();
    // The command line is the program's own: Qt sees only the program name,
    // so that it takes no words out of a text or a path.
    const QStringList arguments = gui::startup::ProgramArguments(argc, argv);
    gui::startup::HideArguments(argc, argv);
    const gui::programoptions::Options options = gui::programoptions::Read(arguments);
    if (const auto answer = gui::programoptions::AnswerWithoutDisplay(options)) {
        Print(answer->status == core::kCompleted ? stdout : stderr, answer->text);
        return answer->status;
    }

    core::RemoveTemporaryFileOnTermination();
    int qtArgc = 1;
    std::optional<QApplication> application;
    {
        const bool unusable = IsUnusable(arguments);
        gui::DisplayGuard guard(
            unusable ? core::kUsage : core::kFailed,
            unusable ? gui::programoptions::HelpText().toLocal8Bit() : QByteArray());
        application.emplace(qtArgc, argv);
    }
    QApplication::setApplicationName(app::kApplicationTitle);
    QApplication::setApplicationVersion(app::kApplicationVersion);
    QApplication::setWindowIcon(WindowIcon());
    QApplication::setDesktopFileName(QStringLiteral("org.quillbox.Quillbox"));

    if (app::clipboardserver::IsServerInvocation(arguments)) return app::clipboardserver::Serve();
    app::InstallTranslations(*application);

    app::QtPlatform platform;
    platform.SetUnattended(app::NobodyCanAnswer());
    // Outside the window a terminal or a script waits for the outcome: every
    // box's text goes to standard error as well.
    const bool window = options.option == gui::programoptions::Option::OpenFile;
    platform.Messages().SetEchoToErrorOutput(!arguments.isEmpty() && !window);
    Form1 form(&platform.Services());
    if (window) return OpenWindow(form, options.files);
    if (options.option == gui::programoptions::Option::EncryptFiles ||
        options.option == gui::programoptions::Option::DecryptFiles) {
        form.Form_Load(QString());
        const bool encrypt = options.option == gui::programoptions::Option::EncryptFiles;
        const int status =
            gui::startup::RunFiles(form, platform.Messages(), encrypt, options.files);
        form.close();
        return status;
    }
    return gui::startup::Start(form, arguments);
}

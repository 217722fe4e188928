#include <QApplication>
#include <QStringList>

#include "app/AppInfo.h"
#include "app/ClipboardServer.h"
#include "core/TerminationCleanup.h"
#include "gui/Startup.h"
#include "ui/Form1.h"

int main(int argc, char** argv) {
    // The command line is the program's own: Qt sees only the program name,
    // so that it takes no words out of a text or a path.
    const QStringList arguments = startup::ProgramArguments(argc, argv);
    RemoveTemporaryFileOnTermination();
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    QApplication::setApplicationVersion(kApplicationVersion);

    if (clipboardserver::IsServerInvocation(arguments)) return clipboardserver::Serve();

    Form1 form;
    return startup::Start(form, arguments);
}

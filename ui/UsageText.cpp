#include "ui/UsageText.h"

#include <QCoreApplication>
#include <QStringList>

#include "app/AppInfo.h"

const QString kExampleCiphertext = QStringLiteral("4n8Ea+S1tbYEmfL4l9URcrp5aJ4AXEey");

// The commands of the examples stay as they are typed; the sentences around
// them are in the user's language.
QString UsageText() {
    const QString& pw = kExamplePassword;
    const QStringList lines{
        QCoreApplication::translate("UsageText", "Quillbox by the Quillbox developers Version:%1")
            .arg(kApplicationVersion),
        QCoreApplication::translate("UsageText", "Usage: "),
        QStringLiteral("Quillbox /decrypt /string /") + pw + QStringLiteral(" /") +
            kExampleCiphertext,
        QStringLiteral("Quillbox /encrypt /string /") + pw +
            QStringLiteral(" /This is a string encryption test."),
        QCoreApplication::translate("UsageText", "The decrypted result will be in the clipboard"),
        QString(),
        QStringLiteral("Quillbox /encrypt /c:\\test-file.txt /") + pw +
            QStringLiteral(" /c:\\test-file.txt.enc"),
        QStringLiteral("Quillbox /encrypt /c:\\test-file.txt.enc /") + pw +
            QStringLiteral(" /c:\\test-file.txt"),
        QCoreApplication::translate("UsageText", "%1 is the password in the above examples.")
            .arg(pw),
        QCoreApplication::translate(
            "UsageText",
            "if you use -ask for password you will be asked for password when the program is "
            "executed."),
    };
    return lines.join(QStringLiteral("\r\n"));
}

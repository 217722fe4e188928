#include "ui/UsageText.h"

#include <QStringList>

#include "app/AppInfo.h"

const QString kExampleCiphertext = QStringLiteral("4n8Ea+S1tbYEmfL4l9URcrp5aJ4AXEey");

QString UsageText() {
    const QString& pw = kExamplePassword;
    const QStringList lines{
        QStringLiteral("Quillbox by the Quillbox developers Version:") + kApplicationVersion,
        QStringLiteral("Usage: "),
        QStringLiteral("Quillbox /decrypt /string /") + pw + QStringLiteral(" /") +
            kExampleCiphertext,
        QStringLiteral("Quillbox /encrypt /string /") + pw +
            QStringLiteral(" /This is a string encryption test."),
        QStringLiteral("The decrypted result will be in the clipboard"),
        QString(),
        QStringLiteral("Quillbox /encrypt /c:\\test-file.txt /") + pw +
            QStringLiteral(" /c:\\test-file.txt.enc"),
        QStringLiteral("Quillbox /encrypt /c:\\test-file.txt.enc /") + pw +
            QStringLiteral(" /c:\\test-file.txt"),
        pw + QStringLiteral(" is the password in the above examples."),
        QStringLiteral("if you use -ask for password you will be asked for password when the "
                       "program is executed."),
    };
    return lines.join(QStringLiteral("\r\n"));
}

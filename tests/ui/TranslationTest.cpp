// Every text the user reads passes through the installed translation; the
// shared failure messages are translated before their arguments go in.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTranslator>

#include "app/FailureMessages.h"
#include "app/forms/PasswordForm.h"
#include "app/forms/StatusForm.h"
#include "app/forms/StatusProgress.h"
#include "app/platform/Translations.h"
#include "tests/app/support/FakePlatform.h"
#include "ui/Form1.h"
#include "ui/UsageText.h"

namespace {

// Translates every text into itself in brackets, so that whatever reaches
// the screen untranslated shows without them.
class BracketTranslator : public QTranslator {
public:
    QString translate(const char* /*context*/, const char* source, const char* /*disambiguation*/,
                      int /*n*/) const override {
        return QLatin1Char('[') + QString::fromUtf8(source) + QLatin1Char(']');
    }
    bool isEmpty() const override { return false; }
};

// Installs a translator for the lifetime of a test.
class Installed {
public:
    explicit Installed(QTranslator& translator) : translator_(translator) {
        QCoreApplication::installTranslator(&translator_);
    }
    ~Installed() { QCoreApplication::removeTranslator(&translator_); }

private:
    QTranslator& translator_;
};

bool Bracketed(const QString& text) {
    return text.startsWith(u'[') && text.endsWith(u']');
}

TEST(TranslationTest, EveryCaptionAndAccessibleTextOfTheWindowsIsTranslated) {
    BracketTranslator brackets;
    Installed installed(brackets);
    FakePlatform platform;
    Form1 form{&platform.services};
    PasswordForm prompt;
    StatusForm status;

    QList<QWidget*> controls;
    for (QWidget* widget : form.findChildren<QWidget*>()) {
        if (!widget->accessibleName().isEmpty()) controls.append(widget);
    }
    for (QWidget* widget : prompt.findChildren<QWidget*>()) {
        if (!widget->accessibleName().isEmpty()) controls.append(widget);
    }
    ASSERT_GE(controls.size(), 18);
    for (QWidget* control : controls) {
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_TRUE(Bracketed(control->accessibleName()));
        EXPECT_TRUE(Bracketed(control->accessibleDescription()));
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            EXPECT_TRUE(Bracketed(button->text())) << button->text().toStdString();
        }
        if (auto* frame = qobject_cast<QGroupBox*>(control)) {
            EXPECT_TRUE(Bracketed(frame->title()));
        }
    }
    EXPECT_EQ(prompt.Label1()->text(), "[Enter password:]");
    EXPECT_EQ(status.Label1()->text(), "[Working...]");
    // The application title is a name, the same in every language.
    EXPECT_EQ(form.windowTitle(), "Quillbox");
}

TEST(TranslationTest, MessagesProgressAndUsageAreTranslated) {
    BracketTranslator brackets;
    Installed installed(brackets);
    // The template is translated, then the arguments go in as they are.
    const cipher::FileError error{cipher::FileFailure::SourceUnreadable, u"/d/%2 [x].txt",
                                  std::make_error_code(std::errc::permission_denied)};
    EXPECT_EQ(app::failure::ForFile(error),
              "[Could not read \"/d/%2 [x].txt\": " + QString::fromStdString(error.code.message()) +
                  ".]");
    EXPECT_TRUE(app::failure::ForUnrepresentable(U'\U0001F600')
                    .startsWith(QString::fromUtf8("[The character \"\U0001F600\"")));

    FakeStatusWindow window;
    CountingPump pump;
    app::StatusProgress progress(window, pump);
    progress.SetStatusText(u"Working... 42%");
    EXPECT_EQ(window.text, "[Working... 42%]");

    // The sentences of the usage text are translated; the example commands are not.
    const QStringList usage = ui::UsageText().split("\r\n");
    ASSERT_EQ(usage.size(), 10);
    for (int line : {0, 1, 4, 8, 9}) EXPECT_TRUE(Bracketed(usage[line])) << line;
    EXPECT_TRUE(usage[2].startsWith("Quillbox /decrypt /string /"));
}

TEST(TranslationTest, TheCompiledTranslationForTheUsersLanguageIsLoaded) {
    const QString folder = QStringLiteral(QUILLBOX_TEST_TRANSLATIONS);
    QTranslator none;
    EXPECT_FALSE(app::LoadTranslation(none, QLocale(QLocale::French), folder));

    QTranslator esperanto;
    ASSERT_TRUE(app::LoadTranslation(esperanto, QLocale(QLocale::Esperanto), folder));
    Installed installed(esperanto);
    FakePlatform platform;
    Form1 form{&platform.services};
    EXPECT_EQ(form.findChild<QPushButton*>("EncFile")->text(), QString::fromUtf8("Ĉ&ifri"));
    EXPECT_EQ(form.findChild<QPushButton*>("DecFile")->text(), "&Decrypt");  // not translated
    const cipher::FileError error{cipher::FileFailure::SourceUnreadable, u"/d/a.txt",
                                  std::make_error_code(std::errc::permission_denied)};
    EXPECT_EQ(app::failure::ForFile(error),
              "Ne eblis legi \"/d/a.txt\": " + QString::fromStdString(error.code.message()) + ".");
}

}  // namespace

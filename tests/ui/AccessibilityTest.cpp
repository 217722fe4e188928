// What assistive technology announces for the controls of the main window and
// the password prompt.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>

#include "app/forms/PasswordForm.h"
#include "tests/app/support/FakePlatform.h"
#include "ui/Form1.h"

namespace {

QString Announced(QWidget* widget, QAccessible::Text what) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face == nullptr ? QString() : face->text(what);
}

TEST(AccessibilityTest, EveryControlOfTheMainWindowHasItsOwnNameAndADescription) {
    FakePlatform platform;
    Form1 form{&platform.services};
    const std::pair<const char*, const char*> expected[] = {
        {"Text1", "Source file"},
        {"Text2", "Destination file"},
        {"Text3", "Text to encrypt or decrypt"},
        {"Text4", "Result"},
        {"BrowseF", "Browse for the source file"},
        {"EncFile", "Encrypt file"},
        {"DecFile", "Decrypt file"},
        {"mSwap", "Swap source and destination"},
        {"EncStr", "Encrypt text"},
        {"DecStr", "Decrypt text"},
        {"mPaste", "Paste from clipboard"},
        {"Copy2Clip", "Copy result to clipboard"},
        {"mAbout", "About Quillbox"},
    };
    for (const auto& [object, name] : expected) {
        SCOPED_TRACE(object);
        auto* control = form.findChild<QWidget*>(object);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(Announced(control, QAccessible::Name), name);
    }

    // No field or button is left out, and no two sound alike.
    QList<QWidget*> controls;
    for (QLineEdit* field : form.findChildren<QLineEdit*>()) controls.append(field);
    for (QPushButton* button : form.findChildren<QPushButton*>()) controls.append(button);
    ASSERT_EQ(controls.size(), static_cast<qsizetype>(std::size(expected)));
    QSet<QString> names;
    QSet<QString> descriptions;
    for (QWidget* control : controls) {
        names.insert(Announced(control, QAccessible::Name));
        const QString description = Announced(control, QAccessible::Description);
        EXPECT_FALSE(description.isEmpty()) << control->objectName().toStdString();
        descriptions.insert(description);
    }
    EXPECT_EQ(names.size(), controls.size());
    EXPECT_EQ(descriptions.size(), controls.size());
}

TEST(AccessibilityTest, ThePasswordBoxIsNamedAndDescribedByThePrompt) {
    PasswordForm form;
    EXPECT_EQ(Announced(form.Text1(), QAccessible::Name), "Password");
    EXPECT_EQ(Announced(form.Text1(), QAccessible::Description), "Enter password:");
    form.SetLabel("Re-enter password");
    EXPECT_EQ(Announced(form.Text1(), QAccessible::Description), "Re-enter password");
    for (QPushButton* button : {form.Command1(), form.Command2()}) {
        EXPECT_FALSE(Announced(button, QAccessible::Name).isEmpty());
        EXPECT_FALSE(Announced(button, QAccessible::Description).isEmpty());
    }
}

}  // namespace

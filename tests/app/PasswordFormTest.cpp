#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QtTest/QTest>

#include "app/Global.h"
#include "app/forms/PasswordForm.h"
#include "app/forms/PasswordPrompt.h"
#include "app/platform/Twips.h"

namespace {

class PasswordFormTest : public ::testing::Test {
protected:
    void SetUp() override { Global::CurrentPassword = u"left over"; }

    // Opens the prompt as the callers do (modal), without blocking the test.
    void Open() {
        form.open();
        form.activateWindow();
        QApplication::processEvents();
    }

    QRect Expected(int left, int top, int width, int height) const {
        return app::TwipsLayout::For(form).ToPixels({left, top, width, height});
    }

    PasswordForm form;
};

TEST_F(PasswordFormTest, LayoutFollowsTheDesign) {
    EXPECT_EQ(form.size(), Expected(0, 0, 5415, 1725).size());
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.Text1()->geometry(), Expected(120, 1200, 5055, 285));
    EXPECT_EQ(form.Command1()->geometry(), Expected(4080, 120, 1095, 375));
    EXPECT_EQ(form.Command2()->geometry(), Expected(4080, 600, 1095, 375));
    EXPECT_EQ(form.Label1()->geometry(), Expected(240, 120, 3735, 855));
    EXPECT_EQ(form.Command1()->text(), "OK");
    EXPECT_EQ(form.Command2()->text(), "Cancel");
    EXPECT_EQ(form.Label1()->text(), "Enter password:");
    EXPECT_TRUE(form.Text1()->text().isEmpty());
    EXPECT_EQ(form.Text1()->nextInFocusChain(), form.Command1());
    EXPECT_EQ(form.Command1()->nextInFocusChain(), form.Command2());
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form.Text1()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(form.Text1()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                               form.Text1()),
              '*');
}

TEST_F(PasswordFormTest, OpensCentredUnderTheApplicationTitleWithNoPassword) {
    Open();
    EXPECT_TRUE(Global::CurrentPassword.empty());
    EXPECT_EQ(form.windowTitle(), "Quillbox");
    EXPECT_EQ(QApplication::focusWidget(), form.Text1());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((form.frameGeometry().center() - screen.center()).manhattanLength(), 2);
}

TEST_F(PasswordFormTest, ReleasingEnterAcceptsWhatWasTyped) {
    Open();
    QTest::keyClicks(form.Text1(), "s3cret pass");
    QTest::keyPress(form.Text1(), Qt::Key_Return);
    EXPECT_TRUE(form.isVisible()) << "the press alone must not act";
    EXPECT_TRUE(Global::CurrentPassword.empty());
    QTest::keyRelease(form.Text1(), Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(Global::CurrentPassword, u"s3cret pass");
}

TEST_F(PasswordFormTest, ReleasingEscapeCancelsEvenWithTextTyped) {
    Open();
    QTest::keyClicks(form.Text1(), "typed");
    QTest::keyPress(form.Text1(), Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
    QTest::keyRelease(form.Text1(), Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_TRUE(Global::CurrentPassword.empty());
}

TEST_F(PasswordFormTest, ButtonsAndClosingTheWindow) {
    Open();
    form.Text1()->setText("by button");
    form.Command1()->click();
    EXPECT_EQ(Global::CurrentPassword, u"by button");

    Open();
    form.Text1()->setText("ignored");
    form.Command2()->click();
    EXPECT_TRUE(Global::CurrentPassword.empty());

    Open();
    form.Text1()->setText("ignored");
    form.close();
    EXPECT_TRUE(Global::CurrentPassword.empty());
}

TEST_F(PasswordFormTest, EveryActivationEmptiesThePasswordButKeepsTheText) {
    Open();
    QTest::keyClicks(form.Text1(), "half");
    Global::CurrentPassword = u"set meanwhile";
    form.Command1()->setFocus();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&form, &activate);
    EXPECT_TRUE(Global::CurrentPassword.empty());
    EXPECT_EQ(form.Text1()->text(), "half");
    EXPECT_TRUE(form.Text1()->hasFocus());
}

// Finds the open prompt from inside its modal loop and answers it.
void AnswerOpenPrompt(QString* seenLabel, const QString& typed) {
    QTimer::singleShot(0, [=] {
        auto* prompt = qobject_cast<PasswordForm*>(QApplication::activeModalWidget());
        ASSERT_NE(prompt, nullptr);
        *seenLabel = prompt->Label1()->text();
        QTest::keyClicks(prompt->Text1(), typed);
        QTest::keyRelease(prompt->Text1(), Qt::Key_Return);
    });
}

TEST(QtPasswordPrompt, ShowsAFreshPromptWithTheGivenLabel) {
    app::QtPasswordPrompt prompt;
    QString label;
    AnswerOpenPrompt(&label, "first");
    prompt.Ask("Re-enter password", "Quillbox - a.txt");
    EXPECT_EQ(label, "Re-enter password");
    EXPECT_EQ(Global::CurrentPassword, u"first");

    AnswerOpenPrompt(&label, "second");
    prompt.Ask(PasswordForm::EnterCaption(), "Quillbox");
    EXPECT_EQ(label, "Enter password:");
    EXPECT_EQ(Global::CurrentPassword, u"second");
}

}  // namespace

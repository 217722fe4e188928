#include <gtest/gtest.h>

#include <QLineEdit>
#include <QStringList>

#include "app/Global.h"
#include "cipher/clsBlowfish.h"
#include "tests/app/support/FakePlatform.h"
#include "ui/Form1.h"
#include "ui/UsageText.h"

namespace {

class StringActionsTest : public ::testing::Test {
protected:
    void SetUp() override { Global::CurrentPassword.clear(); }

    void Answer(std::initializer_list<std::optional<std::u16string>> answers) {
        platform.prompt.answers.assign(answers.begin(), answers.end());
    }

    FakePlatform platform;
    Form1 form{&platform.services};
};

TEST_F(StringActionsTest, EncryptCopyPasteDecryptRoundTrip) {
    form.Text3()->setText("Meet me at 6 o'clock, caf\u00e9 \u20ac5");
    Answer({u"key"});
    ASSERT_TRUE(form.EncStr_Click());
    const QString ciphertext = form.Text4()->text();
    EXPECT_NE(ciphertext, form.Text3()->text());
    EXPECT_TRUE(Global::CurrentPassword.empty());

    ASSERT_TRUE(form.Copy2Clip_Click());
    form.mPaste_Click();
    EXPECT_EQ(form.Text3()->text(), ciphertext);
    Answer({u"key"});  // the second action asks again
    ASSERT_TRUE(form.DecStr_Click());
    EXPECT_EQ(form.Text4()->text(), "Meet me at 6 o'clock, caf\u00e9 \u20ac5");
    EXPECT_EQ(platform.prompt.captions.size(), 2u);
    EXPECT_FALSE(platform.status.visible);
}

TEST_F(StringActionsTest, LongResultKeepsItsLineBreaksThroughTheClipboard) {
    const QString input(100, QChar('x'));
    form.Text3()->setText(input);
    Answer({u"key"});
    ASSERT_TRUE(form.EncStr_Click());
    const QString ciphertext = form.Text4()->text();
    EXPECT_EQ(ciphertext.indexOf("\r\n"), 76);

    platform.clipboard.content = "something older";
    ASSERT_TRUE(form.Copy2Clip_Click());
    EXPECT_EQ(platform.clipboard.clears, 1);
    EXPECT_EQ(platform.clipboard.content, ciphertext);

    form.mPaste_Click();
    Answer({u"key"});
    ASSERT_TRUE(form.DecStr_Click());
    EXPECT_EQ(form.Text4()->text(), input);
}

TEST_F(StringActionsTest, PasteFromAnEmptyClipboardEmptiesTheInput) {
    form.Text3()->setText("was here");
    form.mPaste_Click();
    EXPECT_TRUE(form.Text3()->text().isEmpty());
    EXPECT_TRUE(platform.prompt.captions.empty());
}

TEST_F(StringActionsTest, CancelledPromptChangesNothing) {
    form.Text3()->setText("secret");
    form.Text4()->setText("previous");
    Answer({std::nullopt});
    EXPECT_FALSE(form.EncStr_Click());
    Answer({u""});  // an accepted empty box is no password either
    EXPECT_FALSE(form.DecStr_Click());
    EXPECT_EQ(form.Text4()->text(), "previous");
    EXPECT_TRUE(platform.messages.informed.empty());
}

TEST_F(StringActionsTest, WrongPasswordOrNoCiphertextIsReportedAndKeepsTheOutput) {
    form.Text3()->setText("secret");
    Answer({u"right"});
    ASSERT_TRUE(form.EncStr_Click());
    form.Text3()->setText(form.Text4()->text());
    form.Text4()->setText("previous");

    for (const QString& input : {form.Text3()->text(), QString("=="), QString("AAAA")}) {
        form.Text3()->setText(input);
        Answer({u"wrong"});
        EXPECT_FALSE(form.DecStr_Click()) << input.toStdString();
        EXPECT_EQ(form.Text4()->text(), "previous");
        EXPECT_TRUE(Global::CurrentPassword.empty());
    }
    EXPECT_EQ(
        platform.messages.informed,
        std::vector<QString>(3, "Wrong password, or the text is not a valid encrypted string."));
    EXPECT_FALSE(platform.status.visible);
}

TEST_F(StringActionsTest, CharactersOutsideTheCodePageAreRefused) {
    form.Text4()->setText("previous");
    form.Text3()->setText("\u6f22\u5b57");
    Answer({u"key"});
    EXPECT_FALSE(form.EncStr_Click());
    form.Text3()->setText("plain");
    Answer({u"\u0416"});
    EXPECT_FALSE(form.EncStr_Click());
    ASSERT_EQ(platform.messages.informed.size(), 2u);
    EXPECT_TRUE(platform.messages.informed[0].contains(QChar(0x6f22)));
    EXPECT_EQ(form.Text4()->text(), "previous");
}

TEST_F(StringActionsTest, AboutShowsTheUsageText) {
    form.mAbout_Click();
    ASSERT_EQ(platform.messages.informed.size(), 1u);
    const QStringList lines = platform.messages.informed[0].split("\r\n");
    ASSERT_EQ(lines.size(), 10);
    EXPECT_TRUE(lines[0].contains("Quillbox developers"));
    EXPECT_TRUE(lines[0].endsWith(" Version:1.0.0"));
    EXPECT_EQ(lines[1], "Usage: ");
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[8], "123 is the password in the above examples.");
    for (int i : {2, 3, 6, 7}) EXPECT_TRUE(lines[i].contains(" /123 /")) << i;
    EXPECT_FALSE(platform.messages.informed[0].endsWith("\n"));
}

TEST(UsageText, ExampleCiphertextDecryptsUnderTheExamplePassword) {
    const QStringList lines = ui::UsageText().split("\r\n");
    const QString password = lines[8].section(' ', 0, 0);
    const QString prefix = "Quillbox /decrypt /string /" + password + " /";
    ASSERT_TRUE(lines[2].startsWith(prefix));
    const QString ciphertext = lines[2].mid(prefix.size());
    EXPECT_EQ(ciphertext.size(), 32);

    std::u16string text = ciphertext.toStdU16String();
    std::u16string key = password.toStdU16String();
    const QString plain = QString::fromStdU16String(clsBlowfish().DecryptString(text, key, true));
    EXPECT_EQ(plain, "Hello world!");
}

}  // namespace

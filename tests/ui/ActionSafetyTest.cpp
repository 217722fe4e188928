// The main window while one of its actions runs: the event pump lets the user
// close the window or click again in the middle of the work, and whatever an
// action throws must not end the program.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <new>

#include "app/Global.h"
#include "cipher/clsBlowfish.h"
#include "tests/app/support/FakePlatform.h"
#include "tests/app/support/TempFiles.h"
#include "ui/Form1.h"

namespace {

class ActionSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        Global::CurrentPassword.clear();
        form.show();
    }

    void Answer(std::initializer_list<std::optional<std::u16string>> answers) {
        platform.prompt.answers.assign(answers.begin(), answers.end());
    }

    void Click(const char* button) {
        form.findChild<QPushButton*>(QString::fromLatin1(button))->click();
    }

    FakePlatform platform;
    Form1 form{&platform.services};
    TempFiles files;
};

TEST_F(ActionSafetyTest, CloseDuringAFileOperationIsRefusedUntilTheActionEnds) {
    const QByteArray plain(200000, 'p');
    form.Text1()->setText(files.Write("big.txt", plain));
    form.Text2()->setText(files.Path("big.txt.enc"));
    Answer({u"pw", u"pw"});
    int closeRequests = 0;
    platform.pump.onPump = [&] {
        if (++closeRequests == 1) {
            EXPECT_FALSE(form.close());
        }
    };
    bool windowAtTheQuestion = false;
    platform.messages.onShow = [&] { windowAtTheQuestion = form.isVisible(); };
    platform.messages.answers = {false};

    Click("EncFile");

    EXPECT_GT(closeRequests, 0);
    EXPECT_TRUE(windowAtTheQuestion) << "\"Wipe original?\" must not come without its window";
    EXPECT_EQ(platform.messages.asked, std::vector<QString>{"Wipe original?"});
    EXPECT_EQ(TempFiles::Read(files.Path("big.txt")), plain);
    platform.pump.onPump = nullptr;
    EXPECT_TRUE(form.close()) << "closes normally once the action is over";
    EXPECT_FALSE(form.isVisible());
}

TEST_F(ActionSafetyTest, ClicksWhileAStringActionRunsAreRefused) {
    const QString input(5000, QChar('s'));
    form.Text3()->setText(input);
    form.Text1()->setText("a.txt");
    form.Text2()->setText("b.txt");
    platform.clipboard.content = "clipboard before";
    Answer({u"key"});
    int pumps = 0;
    platform.pump.onPump = [&] {
        // Each of these would start an action inside the running one.
        if (++pumps > 1) return;
        for (const char* button : {"EncStr", "DecStr", "Copy2Clip", "mPaste", "mAbout", "mSwap"}) {
            Click(button);
        }
    };

    Click("EncStr");

    ASSERT_GT(pumps, 0);
    EXPECT_EQ(platform.prompt.captions.size(), 1u);
    EXPECT_TRUE(platform.messages.informed.empty());
    EXPECT_EQ(platform.clipboard.content, "clipboard before");
    EXPECT_EQ(platform.clipboard.clears, 0);
    EXPECT_EQ(form.Text3()->text(), input);
    EXPECT_EQ(form.Text1()->text(), "a.txt");
    EXPECT_EQ(form.Text2()->text(), "b.txt");
    std::u16string ciphertext = form.Text4()->text().toStdU16String(), key = u"key";
    EXPECT_EQ(clsBlowfish().DecryptString(ciphertext, key, true), input.toStdU16String());
}

TEST_F(ActionSafetyTest, WhatAnActionThrowsEndsInAMessageAndTheWindowGoesOn) {
    // A path with an unpaired surrogate cannot become a file-system path:
    // the actions say so instead of failing on it.
    form.Text1()->setText(QString(QChar(0xD800)) + "x.txt");
    form.Text2()->setText(files.Path("out.enc"));
    Click("EncFile");
    Click("DecFile");
    ASSERT_EQ(platform.messages.informed.size(), 2u);
    EXPECT_TRUE(platform.messages.informed[0].contains("not a valid file name"));

    // Memory running out in the middle of a string action.
    platform.messages.informed.clear();
    form.Text3()->setText(QString(5000, QChar('s')));
    Answer({u"key"});
    platform.pump.onPump = [] { throw std::bad_alloc(); };
    Click("EncStr");
    ASSERT_EQ(platform.messages.informed.size(), 1u);
    EXPECT_TRUE(platform.messages.informed[0].contains("memory"));

    // The next action runs as usual.
    platform.pump.onPump = nullptr;
    Answer({u"key"});
    Click("EncStr");
    EXPECT_EQ(platform.messages.informed.size(), 1u);
    EXPECT_FALSE(form.Text4()->text().isEmpty());
    EXPECT_TRUE(form.isVisible());
}

}  // namespace

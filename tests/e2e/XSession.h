#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <memory>

#include "QuillboxProcess.h"
#include "XServer.h"
#include "XTools.h"

// A test on its own X server, in an empty working folder, that starts the
// program and plays the user at its windows.
class XSession : public ::testing::Test {
protected:
    static inline const QString kTitle = QStringLiteral("Quillbox");

    void SetUp() override { ASSERT_TRUE(server_.IsRunning()) << "Xvfb did not start"; }

    QString Path(const QString& name) const { return QtPath(folder_, name); }

    // Starts the program. A new program may get the window ids of an ended
    // one, so the windows answered so far are forgotten.
    std::unique_ptr<QuillboxProcess> Start(const QStringList& arguments) {
        answered_.clear();
        return std::make_unique<QuillboxProcess>(
            arguments, QuillboxProcess::OnDisplay(server_.Display()), QtPath(folder_));
    }

    // Waits for the next window of the program with this title that has not
    // been answered yet and answers it with text and keys. False when no such
    // window came.
    bool Answer(const QString& text, const QStringList& keys, const QString& title = kTitle) {
        const QString window = x_.WaitForNewWindow(title, answered_);
        if (window.isEmpty()) return false;
        answered_.append(window);
        return x_.Type(window, text, keys);
    }

    // Once the windows answered so far are gone, forgets them: a program that
    // opens one window after another may give a new one the id of an old one.
    bool ForgetAnswered() {
        const bool gone = x_.WaitUntilGone(kTitle, answered_);
        answered_.clear();
        return gone;
    }

    // Types a password into the next prompt and confirms it.
    bool AnswerPrompt(const QString& password, const QString& title = kTitle) {
        return Answer(password, {QStringLiteral("Return")}, title);
    }

    // Dismisses the next message box.
    bool DismissBox() { return Answer({}, {QStringLiteral("Return")}); }

    XServer server_;
    XTools x_{server_.Display()};
    testsupport::TempDir folder_;
    QStringList answered_;
};

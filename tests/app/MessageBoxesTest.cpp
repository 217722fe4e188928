// The real message boxes: which window they stay above, and what they do
// where nobody can answer them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/Global.h"
#include "app/forms/PasswordPrompt.h"
#include "app/platform/MessageBoxes.h"

namespace {

// Runs check on the box once it is open, then presses its button.
void WhenBoxOpens(std::function<void(QMessageBox&)> check, QMessageBox::StandardButton press) {
    QTimer::singleShot(0, [check, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        check(*box);
        box->button(press)->click();
    });
}

TEST(QtMessageBoxes, StayAboveTheProgramsOwnWindowOnly) {
    QWidget window;
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    app::QtMessageBoxes boxes;

    WhenBoxOpens(
        [&window](QMessageBox& box) {
            EXPECT_FALSE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            EXPECT_EQ(box.parentWidget(), &window);
            EXPECT_EQ(box.windowTitle(), "Quillbox");
        },
        QMessageBox::Ok);
    boxes.Inform("You typed a different password.");

    for (const auto& [preselected, button] :
         {std::pair{core::flows::DefaultAnswer::Yes, QMessageBox::Yes},
          std::pair{core::flows::DefaultAnswer::No, QMessageBox::No}}) {
        WhenBoxOpens(
            [button = button](QMessageBox& box) {
                EXPECT_FALSE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
                EXPECT_EQ(static_cast<QAbstractButton*>(box.defaultButton()), box.button(button));
            },
            QMessageBox::No);
        EXPECT_FALSE(boxes.AskYesNo("Wipe original?", preselected));
    }
}

TEST(QtMessageBoxes, EchoCopiesTheTextToStandardError) {
    app::QtMessageBoxes boxes;
    boxes.SetEchoToErrorOutput(true);
    WhenBoxOpens([](QMessageBox&) {}, QMessageBox::Yes);
    testing::internal::CaptureStderr();
    const bool yes = boxes.AskYesNo("Wipe original?", core::flows::DefaultAnswer::Yes);
    // Qt may add warnings of its own after the text.
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed.rfind("Quillbox: Wipe original?\n", 0), 0u) << printed;
    EXPECT_TRUE(yes);
}

// Unattended, nothing opens: a box that opened would never be answered and
// the call would not return.
TEST(QtMessageBoxes, UnattendedBoxesAndPromptsPrintAndChangeNothing) {
    app::QtMessageBoxes boxes;
    boxes.SetUnattended(true);
    testing::internal::CaptureStderr();
    boxes.Inform("line one\r\nline two");
    EXPECT_FALSE(boxes.AskYesNo("Wipe original?", core::flows::DefaultAnswer::Yes));
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed.rfind("Quillbox: line one\nline two\nQuillbox: Wipe original? No", 0), 0u)
        << printed;

    app::QtPasswordPrompt prompt;
    prompt.SetUnattended(true);
    Global::CurrentPassword = u"earlier";
    testing::internal::CaptureStderr();
    prompt.Ask("Enter password:", "Quillbox");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("password"), std::string::npos);
    EXPECT_TRUE(Global::CurrentPassword.empty()) << "the same as cancelling";
}

}  // namespace

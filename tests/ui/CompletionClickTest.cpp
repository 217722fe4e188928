// A click while the path completion of the source field is open goes where
// it was aimed; a click in the list still chooses a completion.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>
#include <QtTest/QTest>

#include "tests/app/support/FakePlatform.h"
#include "ui/Form1.h"

namespace {

class CompletionClickTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.Form_Load(QString());
        // Fixed candidates instead of the file system, which is read in the background.
        form.Text1()->completer()->setModel(&candidates);
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.Text1()->setFocus();
        QTest::keyClicks(form.Text1(), "/data/al");
        ASSERT_TRUE(Popup()->isVisible());
    }

    QAbstractItemView* Popup() const { return form.Text1()->completer()->popup(); }

    // A click as the list receives it while it holds the pointer: the press
    // and the release both arrive at the list, with the target's position.
    void ClickThroughThePopup(QWidget* target) {
        const QPoint at = Popup()->mapFromGlobal(target->mapToGlobal(target->rect().center()));
        QTest::mousePress(Popup(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(Popup(), Qt::LeftButton, {}, at);
    }

    QStringListModel candidates{{"/data/alpha.txt", "/data/alphabet.txt", "/data/beta.txt"}};
    FakePlatform platform;
    Form1 form{&platform.services};
};

TEST_F(CompletionClickTest, ClickOnAnotherFieldClosesTheListAndFocusesThatField) {
    // The fields of the string panel: the list itself covers the destination field.
    for (QLineEdit* field : {form.Text3(), form.Text4()}) {
        SCOPED_TRACE(field->objectName().toStdString());
        form.Text1()->setFocus();
        QTest::keyClick(form.Text1(), Qt::Key_Backspace);
        QTest::keyClicks(form.Text1(), "l");
        ASSERT_TRUE(Popup()->isVisible());

        ClickThroughThePopup(field);

        EXPECT_FALSE(Popup()->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), field);
        QTest::keyClicks(QApplication::focusWidget(), "typed");
        EXPECT_EQ(field->text(), "typed");
        EXPECT_EQ(form.Text1()->text(), "/data/al");
        field->clear();
    }
}

TEST_F(CompletionClickTest, ClickOnAButtonPressesIt) {
    form.Text2()->setText("/data/other.enc");
    ClickThroughThePopup(form.findChild<QPushButton*>("mSwap"));
    EXPECT_FALSE(Popup()->isVisible());
    EXPECT_EQ(form.Text1()->text(), "/data/other.enc");
    EXPECT_EQ(form.Text2()->text(), "/data/al");
}

TEST_F(CompletionClickTest, ClickInTheListStillChoosesACompletion) {
    QWidget* viewport = Popup()->viewport();
    const QRect second = Popup()->visualRect(Popup()->model()->index(1, 0));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, second.center());
    EXPECT_FALSE(Popup()->isVisible());
    EXPECT_EQ(form.Text1()->text(), "/data/alphabet.txt");
    EXPECT_EQ(QApplication::focusWidget(), form.Text1());
}

}  // namespace

// A key release reaches a window only when that window also got the press.

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QtTest/QTest>

#include "gui/StrayKeyReleases.h"

namespace {

class ReleaseCounter : public QLineEdit {
public:
    int releases = 0;

protected:
    void keyReleaseEvent(QKeyEvent* event) override {
        ++releases;
        QLineEdit::keyReleaseEvent(event);
    }
};

TEST(StrayKeyReleases, ReleaseAfterPressInAnotherWindowIsDropped) {
    ReleaseCounter box;     // the window that closed on the press
    ReleaseCounter prompt;  // the window that opened right after
    const gui::StrayKeyReleases filter;

    QTest::keyPress(&box, Qt::Key_Escape);
    QTest::keyRelease(&prompt, Qt::Key_Escape);
    EXPECT_EQ(prompt.releases, 0);

    QTest::keyPress(&prompt, Qt::Key_Return);
    QTest::keyRelease(&prompt, Qt::Key_Return);
    EXPECT_EQ(prompt.releases, 1);
    QTest::keyRelease(&prompt, Qt::Key_Escape);  // never pressed anywhere
    EXPECT_EQ(prompt.releases, 1);
}

}  // namespace

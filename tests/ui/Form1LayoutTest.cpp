#include <gtest/gtest.h>

#include <QApplication>
#include <QCompleter>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QUrl>
#include <QtTest/QTest>
#include <optional>

#include "app/Global.h"
#include "app/platform/Twips.h"
#include "tests/app/support/FakePlatform.h"
#include "ui/Form1.h"

namespace {

struct Control {
    const char* name;
    const char* container;
    const char* caption;  // nullptr for text fields
    core::TwipsRect place;
};

// The window's design, in twips, relative to each control's container.
const Control kDesign[] = {
    {"Frame1", "Form1", "File (binary encryption)", {0, 0, 4935, 1815}},
    {"Text1", "Frame1", nullptr, {120, 840, 2775, 375}},
    {"Text2", "Frame1", nullptr, {120, 1320, 2775, 375}},
    {"BrowseF", "Frame1", "&Browse", {3360, 240, 1335, 375}},
    {"EncFile", "Frame1", "&Encrypt", {3720, 720, 975, 375}},
    {"DecFile", "Frame1", "&Decrypt", {3720, 1320, 975, 375}},
    {"mSwap", "Frame1", "&Swap", {3000, 1080, 615, 375}},
    {"mAbout", "Form1", "About", {3600, 1920, 1095, 315}},
    {"Frame2", "Form1", "String (ASCII encryption)", {0, 2280, 4935, 2535}},
    {"mPaste", "Frame2", "P&aste", {120, 360, 1935, 375}},
    {"Text3", "Frame2", nullptr, {120, 840, 3255, 375}},
    {"EncStr", "Frame2", "E&ncrypt", {3480, 840, 1335, 375}},
    {"Text4", "Frame2", nullptr, {120, 1560, 3255, 375}},
    {"DecStr", "Frame2", "Dec&rypt", {3480, 1560, 1335, 375}},
    {"Copy2Clip", "Frame2", "&Copy to clipboard", {120, 2040, 1935, 375}},
};

class Form1LayoutTest : public ::testing::Test {
protected:
    QWidget* Find(const char* name) { return form.findChild<QWidget*>(QString::fromLatin1(name)); }
    QRect Pixels(const core::TwipsRect& place) const {
        return app::TwipsLayout::For(form).ToPixels(place);
    }

    FakePlatform platform;
    Form1 form{&platform.services};
};

TEST_F(Form1LayoutTest, FixedClientSizeAndCaption) {
    EXPECT_EQ(form.windowTitle(), "Quillbox");
    EXPECT_EQ(form.size(), Pixels({0, 0, 5025, 4815}).size());
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
}

TEST_F(Form1LayoutTest, EveryControlSitsWhereTheDesignPutsIt) {
    for (const Control& control : kDesign) {
        SCOPED_TRACE(control.name);
        QWidget* widget = Find(control.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), control.container);
        EXPECT_EQ(widget->geometry(), Pixels(control.place));
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_EQ(button->text(), control.caption);
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_EQ(frame->title(), control.caption);
        } else {
            auto* field = qobject_cast<QLineEdit*>(widget);
            ASSERT_NE(field, nullptr);
            EXPECT_EQ(field->echoMode(), QLineEdit::Normal);
            EXPECT_GE(field->maxLength(), 1 << 30);
        }
    }
}

// A font of the design's height at this DPI, when the family has one.
std::optional<QFont> DesignFont(int dpi) {
    QFont font(QStringLiteral("DejaVu Sans"));
    for (int size = 6; size < 40; ++size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() == core::TwipsToPixels(app::kDesignFontHeightTwips, dpi))
            return font;
    }
    return std::nullopt;
}

// Where a control draws its text; an empty rectangle for the text fields.
QRect TextArea(QWidget* widget) {
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    }
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) return frame->rect();
    return {};
}

TEST(Form1Fonts, TheTablesGrowWithTheFontAndEveryTextFits) {
    const QFont original = QApplication::font();
    FakePlatform platform;
    {
        // At the design font the window is the design, pixel for pixel.
        const std::optional<QFont> design = DesignFont(Form1(&platform.services).logicalDpiY());
        ASSERT_TRUE(design.has_value());
        QApplication::setFont(*design);
        Form1 form(&platform.services);
        if (form.logicalDpiY() == 96) {
            EXPECT_EQ(form.size(), QSize(335, 321));
        }
        for (const Control& control : kDesign) {
            EXPECT_EQ(form.findChild<QWidget*>(control.name)->geometry(),
                      app::ToPixels(control.place, form.logicalDpiY()))
                << control.name;
        }
    }
    for (const int points : {8, 10, 11, 14}) {
        SCOPED_TRACE(points);
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), points));
        Form1 form(&platform.services);
        const QFontMetrics metrics(form.font());
        for (const Control& control : kDesign) {
            QWidget* widget = form.findChild<QWidget*>(control.name);
            const QRect area = TextArea(widget);
            if (control.caption == nullptr) {
                EXPECT_LE(widget->minimumSizeHint().height(), widget->height()) << control.name;
                continue;
            }
            const QString text = QString::fromLatin1(control.caption).remove(QLatin1Char('&'));
            EXPECT_LT(metrics.horizontalAdvance(text), area.width()) << control.name;
            EXPECT_LE(metrics.height(), area.height()) << control.name;
        }
    }
    QApplication::setFont(original);
}

TEST_F(Form1LayoutTest, TabOrderFollowsTheTabIndexes) {
    const QStringList expected{"Text1",     "Text2",  "BrowseF", "EncFile", "DecFile",
                               "Text3",     "Text4",  "EncStr",  "DecStr",  "mSwap",
                               "Copy2Clip", "mPaste", "mAbout"};
    QStringList chain;
    QWidget* widget = Find("Text1");
    for (int i = 0; i < 40 && chain.size() < expected.size(); ++i) {
        if (widget->focusPolicy() & Qt::TabFocus) chain.append(widget->objectName());
        widget = widget->nextInFocusChain();
    }
    EXPECT_EQ(chain, expected);
}

TEST_F(Form1LayoutTest, AccessKeysPressTheirButtons) {
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    // An access key presses its button at once (the click itself follows shortly).
    const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_B, "BrowseF"}, {Qt::Key_E, "EncFile"},  {Qt::Key_D, "DecFile"},
        {Qt::Key_S, "mSwap"},   {Qt::Key_A, "mPaste"},   {Qt::Key_N, "EncStr"},
        {Qt::Key_R, "DecStr"},  {Qt::Key_C, "Copy2Clip"}};
    for (const auto& [key, name] : keys) {
        auto* button = qobject_cast<QPushButton*>(Find(name));
        QTest::keyClick(&form, key, Qt::AltModifier);
        EXPECT_TRUE(button->isDown()) << name;
        button->setDown(false);
    }
}

TEST_F(Form1LayoutTest, LoadEmptiesTheFieldsCompletesPathsAndKeepsTheArguments) {
    for (QLineEdit* field : {form.Text1(), form.Text2(), form.Text3(), form.Text4()}) {
        field->setText("old");
    }
    form.Form_Load("/encrypt /a.txt /pw");
    for (QLineEdit* field : {form.Text1(), form.Text2(), form.Text3(), form.Text4()}) {
        EXPECT_TRUE(field->text().isEmpty());
    }
    EXPECT_EQ(form.CommandLine(), "/encrypt /a.txt /pw");
    ASSERT_NE(form.Text1()->completer(), nullptr);
    EXPECT_NE(qobject_cast<QFileSystemModel*>(form.Text1()->completer()->model()), nullptr);
    EXPECT_EQ(form.Text2()->completer(), nullptr);
}

// Sends a drag over Text1 and drops it there; true when the drop was taken.
bool DropOnText1(Form1& form, QMimeData& data) {
    QWidget* target = form.Text1();
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

TEST_F(Form1LayoutTest, DroppingThreeFilesTakesTheFirst) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/data/report.txt"), QUrl::fromLocalFile("/data/b.txt"),
                  QUrl::fromLocalFile("/data/c.enc")});
    EXPECT_TRUE(DropOnText1(form, data));
    EXPECT_EQ(form.Text1()->text(), "/data/report.txt");
    EXPECT_EQ(form.Text2()->text(), "/data/report.txt.enc");
}

TEST_F(Form1LayoutTest, DropsWithoutFilesAreRefused) {
    form.Text1()->setText("keep");
    form.Text2()->setText("also keep");
    QMimeData text;
    text.setText("dragged words");
    QMimeData web;
    web.setUrls({QUrl("https://example.org/file.txt")});
    EXPECT_FALSE(DropOnText1(form, text));
    EXPECT_FALSE(DropOnText1(form, web));
    EXPECT_EQ(form.Text1()->text(), "keep");
    EXPECT_EQ(form.Text2()->text(), "also keep");
}

// Records the order in which windows get closed.
class ClosingWindow : public QWidget {
public:
    ClosingWindow(QStringList& log, const QString& name) : log_(log), name_(name) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        log_.append(name_);
        QWidget::closeEvent(event);
    }

private:
    QStringList& log_;
    QString name_;
};

TEST_F(Form1LayoutTest, ClosingTheMainWindowClosesTheOthersMostRecentFirst) {
    QStringList log;
    form.show();
    ClosingWindow older(log, "older");
    older.show();
    ClosingWindow newer(log, "newer");
    newer.show();

    form.close();

    EXPECT_EQ(log, QStringList({"newer", "older"}));
    EXPECT_FALSE(older.isVisible());
    EXPECT_FALSE(newer.isVisible());
}

}  // namespace

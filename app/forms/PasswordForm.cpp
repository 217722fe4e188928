#include "app/forms/PasswordForm.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <limits>

#include "app/AppInfo.h"
#include "app/Global.h"
#include "app/platform/Twips.h"
#include "cipher/SecureZero.h"

namespace {

using namespace core::layout::passwordform;

// Shows every character of a password box as "*".
class AsteriskEchoStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        if (hint == SH_LineEdit_PasswordMaskDelay) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool IsEnterOrEscape(const QKeyEvent& event) {
    return IsEnter(event.key()) || event.key() == Qt::Key_Escape;
}

}  // namespace

PasswordForm::PasswordForm(QWidget* parent) : QDialog(parent), title_(app::kApplicationTitle) {
    setWindowTitle(EnterCaption());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    BuildControls();
    setFixedSize(app::TwipsLayout::For(*this).ToPixels(kClientArea).size());
}

void PasswordForm::BuildControls() {
    // The table grows with the prompt's font, so that the label and buttons fit.
    const app::TwipsLayout layout = app::TwipsLayout::For(*this);
    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setEchoMode(QLineEdit::Password);
    text1_->setMaxLength(std::numeric_limits<int>::max());
    // Parented to the form after Text1, so that it outlives the box it styles.
    auto* echoStyle = new AsteriskEchoStyle;
    echoStyle->setParent(this);
    text1_->setStyle(echoStyle);
    text1_->setGeometry(layout.ToPixels(kText1));
    text1_->setAccessibleName(tr("Password"));

    command1_ = new QPushButton(tr("OK"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(layout.ToPixels(kCommand1));
    command1_->setAccessibleName(tr("OK"));
    command1_->setAccessibleDescription(tr("Use the password typed in the box"));
    connect(command1_, &QPushButton::clicked, this, &PasswordForm::AcceptPassword);

    command2_ = new QPushButton(tr("Cancel"), this);
    command2_->setObjectName(QStringLiteral("Command2"));
    command2_->setGeometry(layout.ToPixels(kCommand2));
    command2_->setAccessibleName(tr("Cancel"));
    command2_->setAccessibleDescription(tr("Close the prompt without a password"));
    connect(command2_, &QPushButton::clicked, this, &PasswordForm::CancelPassword);

    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label1_->setWordWrap(true);
    label1_->setGeometry(layout.ToPixels(kLabel1));
    SetLabel(EnterCaption());

    // Enter must not click a button on its press: the prompt acts on the release.
    for (QPushButton* button : {command1_, command2_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    setTabOrder(text1_, command1_);
    setTabOrder(command1_, command2_);
    // Key preview: the window sees every key before the control with the focus.
    for (QWidget* child : {static_cast<QWidget*>(text1_), static_cast<QWidget*>(command1_),
                           static_cast<QWidget*>(command2_)}) {
        child->installEventFilter(this);
    }
}

void PasswordForm::SetLabel(const QString& caption) {
    label1_->setText(caption);
    text1_->setAccessibleDescription(caption);
}

void PasswordForm::SetTitle(const QString& title) {
    title_ = title;
    setWindowTitle(title_);
}

bool PasswordForm::event(QEvent* event) {
    // A late activation of a prompt that has already closed must not undo its answer.
    if (event->type() == QEvent::WindowActivate && isVisible()) Form_Activate();
    return QDialog::event(event);
}

bool PasswordForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        // Swallow the press of Enter and Escape so that nothing acts before the release.
        if (IsEnterOrEscape(static_cast<const QKeyEvent&>(*event))) return true;
    } else if (event->type() == QEvent::KeyRelease) {
        if (Form_KeyUp(static_cast<const QKeyEvent&>(*event))) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PasswordForm::keyPressEvent(QKeyEvent* event) {
    if (IsEnterOrEscape(*event)) return;
    QDialog::keyPressEvent(event);
}

void PasswordForm::keyReleaseEvent(QKeyEvent* event) {
    if (!Form_KeyUp(*event)) QDialog::keyReleaseEvent(event);
}

void PasswordForm::showEvent(QShowEvent* event) {
    // The prompt opens with no password, even before the window manager activates it.
    cipher::Wipe(Global::CurrentPassword);
    CentreOnScreen();
    QDialog::showEvent(event);
}

void PasswordForm::Form_Activate() {
    cipher::Wipe(Global::CurrentPassword);
    setWindowTitle(title_);
    raise();
    text1_->setFocus(Qt::ActiveWindowFocusReason);
}

bool PasswordForm::Form_KeyUp(const QKeyEvent& event) {
    if (event.isAutoRepeat()) return IsEnterOrEscape(event);
    if (IsEnter(event.key())) {
        AcceptPassword();
        return true;
    }
    if (event.key() == Qt::Key_Escape) {
        CancelPassword();
        return true;
    }
    return false;
}

void PasswordForm::AcceptPassword() {
    Global::CurrentPassword = text1_->text().toStdU16String();
    accept();
}

void PasswordForm::CancelPassword() {
    reject();
}

void PasswordForm::CentreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

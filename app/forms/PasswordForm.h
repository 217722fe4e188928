#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The modal password prompt. Its result is Global::CurrentPassword when it
// closes: the typed text after Enter (or OK), empty after Escape, Cancel or
// closing the window. Every activation empties the shared password and puts
// the focus into the text box.
class PasswordForm : public QDialog {
    Q_OBJECT

public:
    // "Enter password:", in the user's language.
    static QString EnterCaption() { return tr("Enter password:"); }

    explicit PasswordForm(QWidget* parent = nullptr);

    // The caption of Label1 ("Enter password:" unless a caller sets another);
    // assistive technology reads it as the description of the password box.
    void SetLabel(const QString& caption);

    // The title that every activation gives the prompt (the application's
    // title unless a caller sets another, such as one that names the file).
    void SetTitle(const QString& title);

    QLineEdit* Text1() const { return text1_; }
    QPushButton* Command1() const { return command1_; }
    QPushButton* Command2() const { return command2_; }
    QLabel* Label1() const { return label1_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void Form_Activate();
    // Enter and Escape act when the key is released; true when the key was one of them.
    bool Form_KeyUp(const QKeyEvent& event);
    void AcceptPassword();
    void CancelPassword();
    void CentreOnScreen();

    QLineEdit* text1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QLabel* label1_ = nullptr;
    QString title_;
};

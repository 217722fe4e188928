#pragma once

#include <QWidget>

class QLabel;

// A borderless yellow strip in the top-left corner of the screen, above every
// window, that shows the progress text of a running operation. It never takes
// the focus from the window the user is working in.
class StatusForm : public QWidget {
    Q_OBJECT

public:
    // "Working...", in the user's language.
    static QString InitialCaption() { return tr("Working..."); }

    // Runs the load step: places, colours and shows the window.
    StatusForm();

    void SetCaption(const QString& text);
    QLabel* Label1() const { return label1_; }

private:
    void Form_Load();

    QLabel* label1_ = nullptr;
};

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <utility>

// The desktop-side tools a user's session would offer, driven on a given
// display: xdotool for windows and keys, xclip for the clipboard.
class XTools {
public:
    explicit XTools(QString display) : display_(std::move(display)) {}

    // Waits until a visible window with exactly this title exists and returns
    // its id; empty when none appeared within timeoutMilliseconds.
    QString WaitForWindow(const QString& title, int timeoutMilliseconds = 20000) const;

    // Waits until a visible window with this title exists that is not one of
    // the given ones (a prompt that follows another); empty on timeout.
    QString WaitForNewWindow(const QString& title, const QStringList& seen,
                             int timeoutMilliseconds = 20000) const;

    // Waits until none of the given windows with this title is visible any
    // more; false on timeout.
    bool WaitUntilGone(const QString& title, const QStringList& windows,
                       int timeoutMilliseconds = 20000) const;

    // Gives the window the keyboard focus, then types text and presses and
    // releases each of the keys ("Return", "Escape").
    bool Type(const QString& window, const QString& text, const QStringList& keys) const;

    // The process id that the window's program gives for it; 0 when unknown.
    qint64 WindowProcess(const QString& window) const;

    // The clipboard's text; empty when no program offers any.
    QByteArray ClipboardText() const;

    // Another program (xclip) takes the clipboard over with this text.
    bool TakeClipboard(const QByteArray& text) const;

    // Runs a tool with DISPLAY set; false when it failed or took too long.
    bool Run(const QString& tool, const QStringList& arguments, QByteArray* output = nullptr,
             const QByteArray& input = {}, int timeoutMilliseconds = 20000) const;

private:
    // The visible windows with exactly this title, right now.
    QStringList VisibleWindows(const QString& title) const;

    QString display_;
};

#pragma once

#include <QString>

#include "core/flows/FrontEnd.h"

namespace app {

// Modal message boxes titled with the application title, without an icon.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows text with an OK button; returns when the user closes the box.
    virtual void Inform(const QString& text) = 0;
    // Shows text with Yes and No buttons, one of them preselected (the one
    // Enter chooses); true for Yes.
    virtual bool AskYesNo(const QString& text, core::flows::DefaultAnswer preselected) = 0;
};

// The boxes stay above the program's own active window only, not above other
// applications.
class QtMessageBoxes final : public MessageBoxes {
public:
    // Where nobody can answer a box (no display), it is not shown: the text
    // goes to standard error and a question gets the answer that changes
    // nothing, No.
    void SetUnattended(bool unattended) { unattended_ = unattended; }

    // Also writes every question's text to standard error (the command-line
    // mode, where a terminal or a script is waiting for the outcome). What a
    // box tells always goes there as well.
    void SetEchoToErrorOutput(bool echo) { echo_ = echo; }

    void Inform(const QString& text) override;
    bool AskYesNo(const QString& text, core::flows::DefaultAnswer preselected) override;

private:
    bool echo_ = false;
    bool unattended_ = false;
};

}  // namespace app

#pragma once

#include <QString>

// Modal message boxes titled with the application title, without an icon.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows text with an OK button; returns when the user closes the box.
    virtual void Inform(const QString& text) = 0;
    // Shows text with Yes and No buttons, Yes preselected; true for Yes.
    virtual bool AskYesNo(const QString& text) = 0;
};

class QtMessageBoxes final : public MessageBoxes {
public:
    void Inform(const QString& text) override;
    bool AskYesNo(const QString& text) override;
};

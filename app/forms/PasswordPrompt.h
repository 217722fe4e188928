#pragma once

#include <QString>

namespace app {

// Asks for the password in a modal prompt. The answer is left in
// Global::CurrentPassword: the typed text, or empty when the user cancelled.
class PasswordPrompt {
public:
    virtual ~PasswordPrompt() = default;
    // labelCaption is the text above the box, e.g. "Enter password:"; title
    // the prompt's title, e.g. "Quillbox" or "Quillbox - notes.txt".
    virtual void Ask(const QString& labelCaption, const QString& title) = 0;
    // False where nobody can type into the prompt (no display): Ask then
    // says so and leaves no password.
    virtual bool CanAsk() const { return true; }
};

// Shows a fresh PasswordForm each time and waits until it closes.
class QtPasswordPrompt final : public PasswordPrompt {
public:
    // Where nobody can type into the prompt (no display), it is not shown and
    // counts as cancelled.
    void SetUnattended(bool unattended) { unattended_ = unattended; }

    void Ask(const QString& labelCaption, const QString& title) override;
    bool CanAsk() const override { return !unattended_; }

private:
    bool unattended_ = false;
};

}  // namespace app

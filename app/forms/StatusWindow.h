#pragma once

#include <QString>
#include <memory>

class StatusForm;

namespace app {

// The status window as the rest of the program sees it: created (and shown)
// when first referred to, closed when an operation ends.
class StatusWindow {
public:
    virtual ~StatusWindow() = default;
    // Makes the window visible, creating it if needed.
    virtual void Show() = 0;
    // Sets the label, creating and showing the window if needed.
    virtual void SetText(const QString& text) = 0;
    // Closes the window if it is open.
    virtual void Close() = 0;
    // Lets the open window take the keyboard, so that Escape reaches the
    // program when no other window of it is there (the file-manager entries).
    virtual void TakeKeyboard() {}
};

class QtStatusWindow final : public StatusWindow {
public:
    QtStatusWindow();
    ~QtStatusWindow() override;
    void Show() override;
    void SetText(const QString& text) override;
    void Close() override;
    void TakeKeyboard() override;

    // The open window, or null.
    StatusForm* Form() const;

private:
    StatusForm& Ensure();

    std::unique_ptr<StatusForm> form_;
};

}  // namespace app

#pragma once

#include <QString>

namespace app {

// The system clipboard, plain text only.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Removes whatever the clipboard holds, in every format.
    virtual void Clear() = 0;
    virtual void SetText(const QString& text) = 0;
    // The clipboard's plain text; empty when it holds none.
    virtual QString Text() const = 0;
};

class QtClipboard final : public Clipboard {
public:
    void Clear() override;
    void SetText(const QString& text) override;
    QString Text() const override;
};

}  // namespace app

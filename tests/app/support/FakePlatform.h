#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/forms/PasswordPrompt.h"
#include "app/forms/StatusWindow.h"
#include "app/platform/Clipboard.h"
#include "app/platform/EventPump.h"
#include "app/platform/FileDialog.h"
#include "app/platform/MessageBoxes.h"
#include "app/platform/Platform.h"
#include "app/platform/PointerControl.h"

// Stand-ins for the platform services: answers are scripted in advance, and
// everything shown is recorded. An unscripted question fails the test.

class ScriptedMessages : public app::MessageBoxes {
public:
    void Inform(const QString& text) override;
    bool AskYesNo(const QString& text, core::flows::DefaultAnswer preselected) override;

    std::vector<QString> informed;
    std::vector<QString> asked;
    std::vector<core::flows::DefaultAnswer> preselected;
    std::deque<bool> answers;
    std::function<void()> onShow;  // runs while a box is "open"
};

class FakeClipboard : public app::Clipboard {
public:
    void Clear() override {
        content.reset();
        ++clears;
    }
    void SetText(const QString& text) override { content = text; }
    QString Text() const override { return content.value_or(QString()); }

    std::optional<QString> content;
    int clears = 0;
};

class FakePointer : public app::PointerControl {
public:
    void SetHourglass(bool on) override { hourglass = on; }
    void SetHidden(bool isHidden) override { hidden = isHidden; }

    bool hourglass = false;
    bool hidden = false;
};

class CountingPump : public app::EventPump {
public:
    void Pump() override {
        ++pumps;
        if (onPump) onPump();
    }
    int pumps = 0;
    std::function<void()> onPump;  // what the user does while window events run
};

class ScriptedFileDialog : public app::FileDialog {
public:
    std::optional<QString> ChooseFileToOpen(QWidget*) override { return answer; }
    std::optional<QString> answer;
};

// Behaves like the real prompt: opening it empties the shared password; the
// scripted answer (nothing = cancelled) is then left in it.
class ScriptedPrompt : public app::PasswordPrompt {
public:
    void Ask(const QString& labelCaption, const QString& title) override;

    std::deque<std::optional<std::u16string>> answers;
    std::vector<QString> captions;
    std::vector<QString> titles;
};

class FakeStatusWindow : public app::StatusWindow {
public:
    void Show() override { visible = true; }
    void SetText(const QString& value) override {
        visible = true;
        text = value;
    }
    void Close() override {
        visible = false;
        ++closes;
    }

    bool visible = false;
    QString text;
    int closes = 0;
};

struct FakePlatform {
    ScriptedMessages messages;
    FakeClipboard clipboard;
    FakePointer pointer;
    CountingPump pump;
    ScriptedFileDialog fileDialog;
    ScriptedPrompt prompt;
    FakeStatusWindow status;
    app::Platform services{messages, clipboard, pointer, pump, fileDialog, prompt, status};
};

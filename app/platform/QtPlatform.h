#pragma once

#include "app/forms/PasswordPrompt.h"
#include "app/forms/StatusWindow.h"
#include "app/platform/Clipboard.h"
#include "app/platform/EventPump.h"
#include "app/platform/FileDialog.h"
#include "app/platform/MessageBoxes.h"
#include "app/platform/Platform.h"
#include "app/platform/PointerControl.h"

namespace app {

// The platform services on Qt Widgets.
class QtPlatform {
public:
    QtPlatform() = default;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    Platform& Services() { return services_; }
    QtStatusWindow& Status() { return status_; }
    QtMessageBoxes& Messages() { return messages_; }

    // Nobody can answer the program's boxes and prompts (no display): they
    // are not waited on.
    void SetUnattended(bool unattended) {
        messages_.SetUnattended(unattended);
        prompt_.SetUnattended(unattended);
        fileDialog_.SetUnattended(unattended);
    }

private:
    QtMessageBoxes messages_;
    QtClipboard clipboard_;
    QtPointer pointer_;
    QtEventPump pump_;
    QtFileDialog fileDialog_;
    QtPasswordPrompt prompt_;
    QtStatusWindow status_;
    Platform services_{messages_, clipboard_, pointer_, pump_, fileDialog_, prompt_, status_};
};

}  // namespace app

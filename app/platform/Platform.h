#pragma once

namespace app {

class Clipboard;
class EventPump;
class FileDialog;
class MessageBoxes;
class PasswordPrompt;
class PointerControl;
class StatusWindow;

// The platform services that the actions use, so that they can run against
// scripted stand-ins as well as against the real windowing system.
struct Platform {
    MessageBoxes& messages;
    Clipboard& clipboard;
    PointerControl& pointer;
    EventPump& pump;
    FileDialog& fileDialog;
    PasswordPrompt& prompt;
    StatusWindow& status;
};

}  // namespace app

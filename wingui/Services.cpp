#include "wingui/Services.h"

#include <commdlg.h>

#include <utility>
#include <vector>

#include "core/Utf8.h"
#include "wingui/Win32Text.h"

namespace wingui {

namespace {

bool busyPointer = false;
bool escapeWatched = false;
bool escapePressed = false;

// Escape as a key press: WM_SYSKEYDOWN when no window has the focus (the
// main window is disabled while the program works).
bool IsEscape(const MSG& message) {
    return (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) &&
           message.wParam == VK_ESCAPE;
}

// Another program may hold the clipboard for a moment.
bool OpenClipboardPatiently(HWND owner) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(25);
    }
    return false;
}

}  // namespace

HWND MessageBoxes::Owner() const {
    return owner_ != nullptr && IsWindowVisible(owner_) ? owner_ : nullptr;
}

void MessageBoxes::Inform(std::u16string_view text) const {
    if (echo_) WriteOutput(true, text);
    const std::wstring wide = Wide(text);
    MessageBoxW(Owner(), wide.c_str(), kTitle, MB_OK | MB_SETFOREGROUND);
}

bool MessageBoxes::AskYesNo(std::u16string_view question, bool yesPreselected) const {
    const std::wstring wide = Wide(question);
    const UINT preselected = yesPreselected ? MB_DEFBUTTON1 : MB_DEFBUTTON2;
    return MessageBoxW(Owner(), wide.c_str(), kTitle, MB_YESNO | preselected | MB_SETFOREGROUND) ==
           IDYES;
}

namespace clipboard {

bool Replace(HWND owner, std::u16string_view text) {
    if (!OpenClipboardPatiently(owner)) return false;
    EmptyClipboard();
    bool placed = false;
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (auto* target = static_cast<wchar_t*>(GlobalLock(memory))) {
            std::copy(text.begin(), text.end(), target);
            target[text.size()] = L'\0';
            GlobalUnlock(memory);
            placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!placed) GlobalFree(memory);
    }
    CloseClipboard();
    return placed;
}

std::u16string Text(HWND owner) {
    std::u16string text;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboardPatiently(owner)) return text;
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* source = static_cast<const wchar_t*>(GlobalLock(memory))) {
            const SIZE_T capacity = GlobalSize(memory) / sizeof(wchar_t);
            SIZE_T length = 0;
            while (length < capacity && source[length] != L'\0') ++length;
            text.assign(source, source + length);
            GlobalUnlock(memory);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace clipboard

std::optional<std::u16string> ChooseFileToOpen(HWND owner) {
    // Each description and pattern ends in a NUL, the list in a second one.
    static constexpr wchar_t kFilters[] =
        L"Text files (*.txt)\0*.txt\0Encoded files (*.enc)\0*.enc\0All files (*.*)\0*.*\0";
    std::vector<wchar_t> path(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilters;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrDefExt = L"txt";
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY |
                   OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;
    return Narrow(path.data());
}

void PumpEvents() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (escapeWatched && IsEscape(message)) {
            escapePressed = true;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void WatchEscape(bool on) {
    escapeWatched = on;
    escapePressed = false;
}

bool TakeEscape() {
    return std::exchange(escapePressed, false);
}

void SetBusyPointer(bool busy) {
    busyPointer = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

bool ShowBusyPointer() {
    if (!busyPointer) return false;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return true;
}

void WriteOutput(bool toErrorOutput, std::u16string_view text) {
    HANDLE handle = GetStdHandle(toErrorOutput ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        // A console shows UTF-16 whatever its code page.
        std::wstring wide = Wide(text);
        if (wide.empty() || wide.back() != L'\n') wide += L'\n';
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::string bytes = core::EncodeUtf8(text);
    if (bytes.empty() || bytes.back() != '\n') bytes += '\n';
    DWORD written = 0;
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace wingui

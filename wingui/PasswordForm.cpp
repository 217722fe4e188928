#include "wingui/PasswordForm.h"

#include "cipher/SecureZero.h"
#include "core/Layout.h"
#include "wingui/Services.h"
#include "wingui/Win32Text.h"

namespace wingui {

namespace {

using core::layout::passwordform::kClientArea;
using core::layout::passwordform::kCommand1;
using core::layout::passwordform::kCommand2;

constexpr wchar_t kClassName[] = L"QuillboxPasswordForm";
constexpr int kOk = IDOK;
constexpr int kCancel = IDCANCEL;
constexpr int kText1 = 100;
constexpr int kLabel1 = 101;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;

struct Prompt {
    std::function<void()> onActivate;
    HWND text1 = nullptr;
    HFONT font = nullptr;
    bool done = false;
    std::optional<std::u16string> answer;
};

Prompt* PromptOf(HWND window) {
    return reinterpret_cast<Prompt*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

HWND AddControl(HWND parent, const wchar_t* kind, const wchar_t* caption, DWORD style, int id,
                const core::TwipsRect& place, int dpi, DWORD exStyle = 0) {
    const RECT r = Pixels(place, dpi);
    return CreateWindowExW(exStyle, kind, caption, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void Finish(HWND window, bool accept) {
    Prompt* prompt = PromptOf(window);
    if (prompt == nullptr || prompt->done) return;
    if (accept) prompt->answer = WindowText(prompt->text1);
    // The box's own copy of the password goes before the window does.
    SetWindowTextW(prompt->text1, L"");
    prompt->done = true;
}

void Activate(HWND window) {
    Prompt* prompt = PromptOf(window);
    if (prompt == nullptr || prompt->done) return;
    if (prompt->onActivate) prompt->onActivate();
    SetWindowTextW(window, kTitle);
    KeepOnTop(window);
    SetFocus(prompt->text1);
}

void Layout(HWND window, int dpi) {
    Prompt* prompt = PromptOf(window);
    const struct {
        int id;
        const core::TwipsRect& place;
    } controls[] = {{kText1, core::layout::passwordform::kText1},
                    {kOk, kCommand1},
                    {kCancel, kCommand2},
                    {kLabel1, core::layout::passwordform::kLabel1}};
    for (const auto& control : controls) {
        Place(GetDlgItem(window, control.id), Pixels(control.place, dpi));
    }
    HFONT font = MessageFont(dpi);
    SetChildFonts(window, font);
    if (prompt->font != nullptr) DeleteObject(prompt->font);
    prompt->font = font;
}

LRESULT CALLBACK PromptProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) {
                Activate(window);
                return 0;
            }
            break;
        case WM_COMMAND:
            if (LOWORD(wParam) == kOk || LOWORD(wParam) == kCancel) {
                // Enter and Escape act on their release (see the loop); this is a click.
                if (HIWORD(wParam) == BN_CLICKED && lParam != 0)
                    Finish(window, LOWORD(wParam) == kOk);
                return 0;
            }
            break;
        case WM_CLOSE:
            Finish(window, false);
            return 0;
        case WM_SETCURSOR:
            if (ShowBusyPointer()) return TRUE;
            break;
        case WM_DPICHANGED:
            Layout(window, HIWORD(wParam));
            MoveToSuggested(window, lParam);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool IsEnterOrEscape(WPARAM key) {
    return key == VK_RETURN || key == VK_ESCAPE;
}

// The prompt's own message loop. Key preview: Enter and Escape reach the
// prompt before the control with the focus; their press (and its character)
// is swallowed, their release acts. A release whose press went elsewhere
// (the Enter that clicked the button opening the prompt) is ignored.
void RunModal(HWND window, Prompt& prompt) {
    bool enterDown = false;
    bool escapeDown = false;
    MSG message;
    while (!prompt.done) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            Finish(window, false);
            break;
        }
        if (got < 0) break;
        const bool ours = message.hwnd == window || IsChild(window, message.hwnd);
        if (ours) {
            if (message.message == WM_KEYDOWN && IsEnterOrEscape(message.wParam)) {
                (message.wParam == VK_RETURN ? enterDown : escapeDown) = true;
                continue;
            }
            if (message.message == WM_CHAR && (message.wParam == L'\r' || message.wParam == 27)) {
                continue;
            }
            if (message.message == WM_KEYUP && IsEnterOrEscape(message.wParam)) {
                const bool enter = message.wParam == VK_RETURN;
                if (enter ? enterDown : escapeDown) Finish(window, enter);
                continue;
            }
            if (IsDialogMessageW(window, &message)) continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Where the prompt appears: the middle of the work area of owner's monitor
// (or of the primary one).
RECT WorkArea(HWND owner) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    HMONITOR monitor = owner != nullptr ? MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY)
                                        : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    GetMonitorInfoW(monitor, &info);
    return info.rcWork;
}

}  // namespace

std::optional<std::u16string> AskPassword(HWND owner, const std::u16string& labelCaption,
                                          const std::function<void()>& onActivate) {
    if (!RegisterWindowClass(kClassName, PromptProc, IDC_ARROW,
                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), true)) {
        return std::nullopt;
    }
    Prompt prompt;
    prompt.onActivate = onActivate;
    const RECT area = WorkArea(owner);
    const int centreX = (area.left + area.right) / 2;
    const int centreY = (area.top + area.bottom) / 2;
    // Made at the centre first, so that it knows the density of the monitor it will be on.
    HWND window =
        CreateWindowExW(kExStyle, kClassName, L"Enter password:", kStyle, centreX, centreY, 1, 1,
                        owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) return std::nullopt;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&prompt));
    const int dpi = DpiOf(window);

    const std::wstring label = Wide(labelCaption);
    AddControl(window, L"STATIC", label.c_str(), SS_LEFT, kLabel1,
               core::layout::passwordform::kLabel1, dpi);
    prompt.text1 = AddControl(window, L"EDIT", L"", WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL,
                              kText1, core::layout::passwordform::kText1, dpi, WS_EX_CLIENTEDGE);
    SendMessageW(prompt.text1, EM_SETPASSWORDCHAR, L'*', 0);
    SendMessageW(prompt.text1, EM_SETLIMITTEXT, 0, 0);
    AddControl(window, L"BUTTON", L"OK", WS_TABSTOP | BS_PUSHBUTTON, kOk, kCommand1, dpi);
    AddControl(window, L"BUTTON", L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, kCancel, kCommand2, dpi);
    Layout(window, dpi);

    const SIZE size = OuterSize(kClientArea, kStyle, kExStyle, dpi);
    SetWindowPos(window, HWND_TOPMOST, centreX - size.cx / 2, centreY - size.cy / 2, size.cx,
                 size.cy, SWP_NOACTIVATE);
    const bool ownerWasEnabled = owner != nullptr && !EnableWindow(owner, FALSE);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    RunModal(window, prompt);
    // The owner comes back before the prompt goes, so that it gets the activation.
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    if (prompt.font != nullptr) DeleteObject(prompt.font);
    return std::move(prompt.answer);
}

}  // namespace wingui

#include "wingui/StatusForm.h"

#include "core/Layout.h"
#include "wingui/Services.h"
#include "wingui/Win32Text.h"

namespace wingui {

namespace {

constexpr wchar_t kClassName[] = L"QuillboxStatusForm";
constexpr COLORREF kYellow = RGB(255, 255, 0);

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH yellow = CreateSolidBrush(kYellow);
    FillRect(dc, &client, yellow);
    DeleteObject(yellow);
    // The strip is only a few pixels high: the text fills its height.
    LOGFONTW face{};
    face.lfHeight = -(client.bottom - client.top > 3 ? client.bottom - client.top - 2 : 1);
    face.lfQuality = CLEARTYPE_QUALITY;
    lstrcpyW(face.lfFaceName, L"Tahoma");
    HFONT font = CreateFontIndirectW(&face);
    HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    DrawTextW(dc, text.c_str(), length, &client,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, previous);
    DeleteObject(font);
    EndPaint(window, &paint);
}

LRESULT CALLBACK StatusProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_SETCURSOR:
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
            InvalidateRect(window, nullptr, FALSE);
            return result;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

StatusForm::~StatusForm() {
    Close();
}

void StatusForm::Ensure() {
    if (window_ != nullptr) return;
    if (!RegisterWindowClass(kClassName, StatusProc, IDC_WAIT, nullptr, false)) return;
    window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName,
                              L"Working...", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr) return;
    // The load step: on top of everything without taking the focus, then
    // the top-left corner of the screen at the size of the table.
    KeepOnTop(window_);
    const RECT r = Pixels(core::layout::statusform::kPlacement, DpiOf(window_));
    SetWindowPos(window_, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOACTIVATE);
    UpdateWindow(window_);
}

void StatusForm::Show() {
    Ensure();
}

void StatusForm::SetText(const std::u16string& text) {
    Ensure();
    if (window_ == nullptr) return;
    wingui::SetWindowText(window_, text);
    UpdateWindow(window_);
}

void StatusForm::Close() {
    if (window_ == nullptr) return;
    DestroyWindow(window_);
    window_ = nullptr;
}

}  // namespace wingui

#include "wingui/Win32Text.h"

#include <vector>

#include "cipher/SecureZero.h"

namespace wingui {

namespace {

template <typename Function>
Function* UserFunction(const char* name) {
    return reinterpret_cast<Function*>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

BOOL CALLBACK SetFontOf(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}

}  // namespace

std::wstring Wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

std::u16string Narrow(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, buffer.data(), length + 1);
    std::u16string text(buffer.begin(), buffer.begin() + (copied > 0 ? copied : 0));
    cipher::SecureZero(buffer.data(), buffer.size() * sizeof(wchar_t));
    return text;
}

void SetWindowText(HWND window, std::u16string_view text) {
    const std::wstring wide = Wide(text);
    SetWindowTextW(window, wide.c_str());
}

int DpiOf(HWND window) {
    // Windows 10 1607 and later know the density of each monitor.
    using GetDpiForWindowFn = UINT WINAPI(HWND);
    static GetDpiForWindowFn* const getDpiForWindow =
        UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

RECT Pixels(const core::TwipsRect& place, int dpi, const core::TwipsRect& container) {
    const int left = core::TwipsToPixels(container.left + place.left, dpi);
    const int top = core::TwipsToPixels(container.top + place.top, dpi);
    return RECT{left, top, left + core::TwipsToPixels(place.width, dpi),
                top + core::TwipsToPixels(place.height, dpi)};
}

SIZE OuterSize(const core::TwipsRect& clientTwips, DWORD style, DWORD exStyle, int dpi) {
    RECT rect = Pixels(clientTwips, dpi);
    using AdjustForDpiFn = BOOL WINAPI(LPRECT, DWORD, BOOL, DWORD, UINT);
    static AdjustForDpiFn* const adjustForDpi =
        UserFunction<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    if (adjustForDpi == nullptr ||
        !adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

HFONT MessageFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    // The system reports the font at the system density; scale it to the monitor's.
    HDC screen = GetDC(nullptr);
    const int systemDpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

void Place(HWND window, const RECT& rect) {
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void KeepOnTop(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void MoveToSuggested(HWND window, LPARAM suggestedRect) {
    Place(window, *reinterpret_cast<const RECT*>(suggestedRect));
}

bool RegisterWindowClass(const wchar_t* name, WNDPROC procedure, LPCWSTR cursor, HBRUSH background,
                         bool withIcon) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return true;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, cursor);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (withIcon) {
        wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
        wc.hIconSm = static_cast<HICON>(LoadImageW(wc.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), 0));
    }
    return RegisterClassExW(&wc) != 0;
}

void SetChildFonts(HWND parent, HFONT font) {
    EnumChildWindows(parent, SetFontOf, reinterpret_cast<LPARAM>(font));
}

}  // namespace wingui

#include "wingui/Form1.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <exception>
#include <optional>

#include "core/DestinationName.h"
#include "core/Layout.h"
#include "core/Messages.h"
#include "core/Utf8.h"
#include "wingui/Win32Text.h"

namespace wingui {

namespace {

namespace table = core::layout::form1;

constexpr wchar_t kClassName[] = L"QuillboxForm1";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

enum ControlId : int {
    kFrame1 = 1000,
    kFrame2,
    kText1,
    kText2,
    kBrowseF,
    kEncFile,
    kDecFile,
    kText3,
    kText4,
    kEncStr,
    kDecStr,
    kSwap,
    kCopy2Clip,
    kPaste,
    kAbout,
};

enum class Kind { Frame, Field, Button };

struct ControlEntry {
    ControlId id;
    Kind kind;
    const wchar_t* caption;
    const core::TwipsRect& place;
    const core::TwipsRect* container;  // the frame it sits in, or null for the window
};

// In tab order: the window's focus moves through the controls in the order they are made.
const ControlEntry kControls[] = {
    {kText1, Kind::Field, L"", table::kText1, &table::kFrame1},
    {kText2, Kind::Field, L"", table::kText2, &table::kFrame1},
    {kBrowseF, Kind::Button, L"&Browse", table::kBrowseF, &table::kFrame1},
    {kEncFile, Kind::Button, L"&Encrypt", table::kEncFile, &table::kFrame1},
    {kDecFile, Kind::Button, L"&Decrypt", table::kDecFile, &table::kFrame1},
    {kText3, Kind::Field, L"", table::kText3, &table::kFrame2},
    {kText4, Kind::Field, L"", table::kText4, &table::kFrame2},
    {kEncStr, Kind::Button, L"E&ncrypt", table::kEncStr, &table::kFrame2},
    {kDecStr, Kind::Button, L"Dec&rypt", table::kDecStr, &table::kFrame2},
    {kSwap, Kind::Button, L"&Swap", table::kSwap, &table::kFrame1},
    {kCopy2Clip, Kind::Button, L"&Copy to clipboard", table::kCopy2Clip, &table::kFrame2},
    {kPaste, Kind::Button, L"P&aste", table::kPaste, &table::kFrame2},
    {kAbout, Kind::Button, L"About", table::kAbout, nullptr},
    // The frames take no focus; made last, they lie beneath the controls inside them.
    {kFrame1, Kind::Frame, L"File (binary encryption)", table::kFrame1, nullptr},
    {kFrame2, Kind::Frame, L"String (ASCII encryption)", table::kFrame2, nullptr},
};

int FieldId(Form1::Field field) {
    switch (field) {
        case Form1::Text1:
            return kText1;
        case Form1::Text2:
            return kText2;
        case Form1::Text3:
            return kText3;
        case Form1::Text4:
            break;
    }
    return kText4;
}

RECT PlaceOf(const ControlEntry& entry, int dpi) {
    return entry.container != nullptr ? Pixels(entry.place, dpi, *entry.container)
                                      : Pixels(entry.place, dpi);
}

// Text1 takes the files dropped on it; the rest of the edit's behaviour is its own.
LRESULT CALLBACK Text1Proc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR data) {
    if (message == WM_DROPFILES) {
        auto drop = reinterpret_cast<HDROP>(wParam);
        std::optional<std::u16string> first;
        if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
            const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
            std::wstring name(length + 1, L'\0');
            DragQueryFileW(drop, 0, name.data(), length + 1);
            name.resize(length);
            first = Narrow(name);
        }
        DragFinish(drop);
        // A drop without a file (dragged text, say) changes nothing.
        if (first) {
            auto* form = reinterpret_cast<Form1*>(data);
            form->RunAction([&] { form->Text1_Drop(*first); });
        }
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, Text1Proc, 1);
    return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

Form1::Form1(Actions& actions, MessageBoxes& messages) : actions_(actions), messages_(messages) {}

Form1::~Form1() {
    if (window_ != nullptr) DestroyWindow(window_);
    if (font_ != nullptr) DeleteObject(font_);
}

bool Form1::Form_Load() {
    if (!RegisterWindowClass(kClassName, WindowProc, IDC_ARROW,
                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), true)) {
        return false;
    }
    if (window_ == nullptr) {
        window_ = CreateWindowExW(0, kClassName, kTitle, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                                  100, nullptr, nullptr, GetModuleHandleW(nullptr), this);
        if (window_ == nullptr) return false;
        CreateControls();
        const int dpi = DpiOf(window_);
        Layout(dpi);
        const SIZE size = OuterSize(table::kClientArea, kStyle, 0, dpi);
        SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SHAutoComplete(Control(kText1), SHACF_FILESYSTEM);
    }
    for (const Field field : {Text1, Text2, Text3, Text4}) SetText(field, {});
    messages_.SetOwner(window_);
    return true;
}

void Form1::CreateControls() {
    for (const ControlEntry& entry : kControls) {
        const wchar_t* kind = entry.kind == Kind::Field ? L"EDIT" : L"BUTTON";
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
        DWORD exStyle = 0;
        switch (entry.kind) {
            case Kind::Frame:
                style |= BS_GROUPBOX;
                exStyle = WS_EX_TRANSPARENT;
                break;
            case Kind::Field:
                style |= WS_TABSTOP | ES_AUTOHSCROLL;
                exStyle = WS_EX_CLIENTEDGE;
                break;
            case Kind::Button:
                style |= WS_TABSTOP | BS_PUSHBUTTON;
                break;
        }
        HWND control = CreateWindowExW(exStyle, kind, entry.caption, style, 0, 0, 1, 1, window_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)),
                                       GetModuleHandleW(nullptr), nullptr);
        if (entry.kind == Kind::Field) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
    }
    HWND text1 = Control(kText1);
    DragAcceptFiles(text1, TRUE);
    SetWindowSubclass(text1, Text1Proc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void Form1::Layout(int dpi) {
    for (const ControlEntry& entry : kControls) {
        Place(Control(entry.id), PlaceOf(entry, dpi));
    }
    HFONT font = MessageFont(dpi);
    SetChildFonts(window_, font);
    if (font_ != nullptr) DeleteObject(font_);
    font_ = font;
}

HWND Form1::Control(int id) const {
    return GetDlgItem(window_, id);
}

std::u16string Form1::Text(Field field) const {
    return WindowText(Control(FieldId(field)));
}

void Form1::SetText(Field field, const std::u16string& text) {
    wingui::SetWindowText(Control(FieldId(field)), text);
}

int Form1::ShowAndRun() {
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    SetFocus(Control(kText1));
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        // Tab, the access keys and the arrows move between the controls.
        if (window_ != nullptr && IsDialogMessageW(window_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}

void Form1::Close() {
    if (window_ == nullptr) return;
    DestroyWindow(window_);
}

bool Form1::RunAction(const std::function<void()>& action) {
    if (running_) return false;
    running_ = true;
    bool completed = false;
    try {
        action();
        completed = true;
    } catch (const std::exception& error) {
        messages_.Inform(core::DecodeArgument(core::messages::ForUnexpected(error.what())));
    } catch (...) {
        messages_.Inform(core::DecodeArgument(core::messages::ForUnexpected("unknown failure")));
    }
    running_ = false;
    return completed;
}

void Form1::BrowseF_Click() {
    const std::optional<std::u16string> chosen = ChooseFileToOpen(window_);
    if (!chosen) return;  // cancelled: both paths stay as they were
    SetText(Text1, *chosen);
    DeriveDstFile();
}

void Form1::Text1_Drop(const std::u16string& file) {
    SetText(Text1, file);
    DeriveDstFile();
}

void Form1::DeriveDstFile() {
    if (const auto destination = core::DestinationFor(Text(Text1))) SetText(Text2, *destination);
}

void Form1::mSwap_Click() {
    const std::u16string source = Text(Text1);
    SetText(Text1, Text(Text2));
    SetText(Text2, source);
}

void Form1::mPaste_Click() {
    SetText(Text3, clipboard::Text(window_));
}

bool Form1::Copy2Clip_Click() {
    return clipboard::Replace(window_, Text(Text4));
}

void Form1::OnCommand(int id) {
    switch (id) {
        case kBrowseF:
            RunAction([this] { BrowseF_Click(); });
            break;
        case kEncFile:
            RunAction([this] { actions_.EncFile_Click(); });
            break;
        case kDecFile:
            RunAction([this] { actions_.DecFile_Click(); });
            break;
        case kSwap:
            RunAction([this] { mSwap_Click(); });
            break;
        case kEncStr:
            RunAction([this] { actions_.EncStr_Click(); });
            break;
        case kDecStr:
            RunAction([this] { actions_.DecStr_Click(); });
            break;
        case kPaste:
            RunAction([this] { mPaste_Click(); });
            break;
        case kCopy2Clip:
            RunAction([this] { Copy2Clip_Click(); });
            break;
        case kAbout:
            RunAction([this] { actions_.mAbout_Click(); });
            break;
        default:
            break;  // Enter and Escape in the window do nothing
    }
}

LRESULT CALLBACK Form1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        form->window_ = window;
    }
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return form->OnMessage(message, wParam, lParam);
}

LRESULT Form1::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND self = window_;
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
            return 0;
        case WM_SETCURSOR:
            if (ShowBusyPointer()) return TRUE;
            break;
        case WM_DPICHANGED:
            Layout(HIWORD(wParam));
            MoveToSuggested(window_, lParam);
            return 0;
        case WM_CLOSE:
            // An action in progress, or a question after it, still needs the
            // window; once it is over, Close works.
            if (running_) return 0;
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            // The prompt and the status strip are owned by this window or closed with it.
            messages_.SetOwner(nullptr);
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            window_ = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcW(self, message, wParam, lParam);
}

}  // namespace wingui

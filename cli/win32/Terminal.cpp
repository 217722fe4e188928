#include "cli/Terminal.h"

#include <atomic>
#include <cstring>
#include <system_error>

#include "cipher/SecureZero.h"
#include "fileio/win32/Win32.h"

namespace cli {

namespace {

// What the console control handler needs to give the console its echo
// back. Only one prompt is ever open at a time.
std::atomic<HANDLE> gInput{nullptr};
DWORD gSavedMode = 0;

// Runs on a thread of its own when Ctrl+C, Ctrl+Break or closing the
// console ends the program; the handlers installed before it (the removal
// of a temporary file, then the end of the process) run after it.
BOOL WINAPI RestoreEcho(DWORD) {
    if (const HANDLE input = gInput.exchange(nullptr)) ::SetConsoleMode(input, gSavedMode);
    return FALSE;
}

// Echo off for the life of the object.
class HiddenInput {
public:
    explicit HiddenInput(HANDLE input) : input_(input) {
        if (!::GetConsoleMode(input, &gSavedMode)) return;
        const DWORD quiet = (gSavedMode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) |
                            ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT;
        gInput = input;
        ::SetConsoleCtrlHandler(RestoreEcho, TRUE);
        active_ = ::SetConsoleMode(input, quiet) != 0;
    }
    ~HiddenInput() {
        if (const HANDLE input = gInput.exchange(nullptr)) ::SetConsoleMode(input, gSavedMode);
        ::SetConsoleCtrlHandler(RestoreEcho, FALSE);
    }
    HiddenInput(const HiddenInput&) = delete;
    HiddenInput& operator=(const HiddenInput&) = delete;

    bool Active() const { return active_; }

private:
    HANDLE input_;
    bool active_ = false;
};

std::error_code Show(HANDLE output, const wchar_t* text) {
    DWORD n = 0;
    if (!::WriteConsoleW(output, text, static_cast<DWORD>(std::wcslen(text)), &n, nullptr)) {
        return fileio::win32::LastError();
    }
    return {};
}

// Reads one line of UTF-16 from the console and keeps it as UTF-8.
std::error_code ReadConsoleLine(HANDLE input, std::string& line, std::size_t maxLength) {
    line.clear();
    wchar_t buffer[2];
    char bytes[4];
    for (;;) {
        DWORD n = 0;
        if (!::ReadConsoleW(input, buffer, 1, &n, nullptr)) return fileio::win32::LastError();
        if (n == 0 || buffer[0] == L'\n') break;
        if (buffer[0] == L'\r') continue;
        std::size_t count = 0;
        const char32_t c = static_cast<char16_t>(buffer[0]);
        if (c >= 0xD800 && c <= 0xDBFF) {
            // The second half of the pair follows in the next read.
            if (!::ReadConsoleW(input, buffer + 1, 1, &n, nullptr))
                return fileio::win32::LastError();
            const std::string pair =
                fileio::win32::Utf8FromWide(std::wstring_view(buffer, n == 1 ? 2 : 1));
            count = pair.size() > sizeof bytes ? sizeof bytes : pair.size();
            std::memcpy(bytes, pair.data(), count);
        } else {
            const std::string one = fileio::win32::Utf8FromWide(std::wstring_view(buffer, 1));
            count = one.size();
            std::memcpy(bytes, one.data(), count);
        }
        if (line.size() + count > maxLength) {
            cipher::SecureZero(buffer, sizeof buffer);
            cipher::SecureZero(bytes, sizeof bytes);
            cipher::Wipe(line);
            return std::make_error_code(std::errc::value_too_large);
        }
        line.append(bytes, count);
    }
    cipher::SecureZero(buffer, sizeof buffer);
    cipher::SecureZero(bytes, sizeof bytes);
    return {};
}

}  // namespace

TerminalAnswer AskHidden(const char* prompt, std::string& line, std::size_t maxLength,
                         std::string& reason) {
    const HANDLE input =
        ::CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (input == INVALID_HANDLE_VALUE) return TerminalAnswer::NoTerminal;
    const HANDLE output =
        ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD mode;
    if (output == INVALID_HANDLE_VALUE || !::GetConsoleMode(input, &mode)) {
        if (output != INVALID_HANDLE_VALUE) ::CloseHandle(output);
        ::CloseHandle(input);
        return TerminalAnswer::NoTerminal;
    }
    std::error_code ec;
    {
        HiddenInput hidden(input);
        if (!hidden.Active()) {
            ec = fileio::win32::LastError();
        } else {
            std::wstring text;
            if (!fileio::win32::WideFromUtf8(prompt, text))
                text.assign(prompt, prompt + std::strlen(prompt));
            ec = Show(output, text.c_str());
            if (!ec) ec = ReadConsoleLine(input, line, maxLength);
            Show(output, L"\r\n");  // the line feed that echo would have shown
        }
    }
    ::CloseHandle(output);
    ::CloseHandle(input);
    if (ec) {
        reason = ec == std::errc::value_too_large ? "the password is too long" : ec.message();
        return TerminalAnswer::Failed;
    }
    return TerminalAnswer::Read;
}

}  // namespace cli

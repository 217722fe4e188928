#include "fileio/Descriptors.h"

#include <io.h>

#include "fileio/win32/Win32.h"

namespace fileio {

namespace {

// A console shows UTF-16; the program's UTF-8 is converted for it, so names
// and messages keep their letters whatever the console's code page.
std::error_code WriteConsoleText(HANDLE handle, const char* data, std::size_t size) {
    std::wstring wide;
    if (!win32::WideFromUtf8(std::string_view(data, size), wide)) {
        wide.assign(data, data + size);  // not UTF-8: one character per byte
    }
    const wchar_t* p = wide.data();
    std::size_t left = wide.size();
    while (left > 0) {
        const DWORD chunk = left > 8192 ? 8192 : static_cast<DWORD>(left);
        DWORD n = 0;
        if (!::WriteConsoleW(handle, p, chunk, &n, nullptr)) return win32::LastError();
        p += n;
        left -= n;
    }
    return {};
}

}  // namespace

// The writer closing a pipe is the end of input.
std::error_code ReadSome(int fd, void* data, std::size_t size, std::size_t& count) {
    count = 0;
    const HANDLE handle = win32::HandleOf(fd);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD n = 0;
    if (!::ReadFile(handle, data, chunk, &n, nullptr)) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_BROKEN_PIPE || code == ERROR_HANDLE_EOF) return {};
        return win32::ErrorFrom(code);
    }
    count = n;
    return {};
}

bool RegularFileSize(int fd, std::uint64_t& size) {
    const HANDLE handle = win32::HandleOf(fd);
    LARGE_INTEGER length;
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileSizeEx(handle, &length) ||
        length.QuadPart < 0) {
        return false;
    }
    size = static_cast<std::uint64_t>(length.QuadPart);
    return true;
}

std::error_code WriteAll(int fd, const void* data, std::size_t size) {
    const HANDLE handle = win32::HandleOf(fd);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    if (win32::IsConsole(handle)) {
        return WriteConsoleText(handle, static_cast<const char*>(data), size);
    }
    const auto* p = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD n = 0;
        if (!::WriteFile(handle, p, chunk, &n, nullptr)) return win32::LastError();
        p += n;
        size -= n;
    }
    return {};
}

}  // namespace fileio

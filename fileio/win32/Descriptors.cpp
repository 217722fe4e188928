#include "fileio/Descriptors.h"

#include <io.h>

#include "fileio/SecureZero.h"
#include "fileio/win32/Win32.h"

namespace fileio {

namespace {

// Moves the bytes to a larger buffer and wipes the old one.
void Grow(std::vector<std::uint8_t>& bytes, std::size_t used, std::size_t capacity) {
    std::vector<std::uint8_t> larger;
    larger.reserve(capacity);
    larger.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(used));
    Wipe(bytes);
    bytes.swap(larger);
}

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

std::error_code ReadFull(int fd, void* data, std::size_t size) {
    auto* p = static_cast<std::uint8_t*>(data);
    while (size > 0) {
        std::size_t n = 0;
        if (std::error_code ec = ReadSome(fd, p, size, n)) return ec;
        if (n == 0) return std::make_error_code(std::errc::io_error);  // the file got shorter
        p += n;
        size -= n;
    }
    return {};
}

std::error_code ReadAll(int fd, std::vector<std::uint8_t>& bytes, std::size_t spare,
                        std::uint64_t limit) {
    bytes.clear();
    const HANDLE handle = win32::HandleOf(fd);
    std::size_t capacity = 64 * 1024;
    LARGE_INTEGER size;
    if (::GetFileType(handle) == FILE_TYPE_DISK && ::GetFileSizeEx(handle, &size) &&
        size.QuadPart >= 0 && static_cast<std::uint64_t>(size.QuadPart) <= limit) {
        capacity = static_cast<std::size_t>(size.QuadPart) + 1;
    }
    bytes.reserve(capacity + spare);
    // The vector is sized to its whole room once per growth and read into
    // from `used` on, so each byte is cleared at most once per doubling.
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.capacity() - spare) Grow(bytes, used, 2 * bytes.capacity());
        bytes.resize(bytes.capacity() - spare);
        std::size_t n = 0;
        std::error_code ec = ReadSome(fd, bytes.data() + used, bytes.size() - used, n);
        used += n;
        if (ec || n == 0) {
            bytes.resize(used);
            return ec;
        }
        if (used > limit) {
            bytes.resize(used);
            return std::make_error_code(std::errc::file_too_large);
        }
    }
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

#include "cli/Descriptors.h"

#include <fcntl.h>
#include <io.h>

#include <cstring>

#include "cipher/SecureZero.h"
#include "fileio/win32/Win32.h"

namespace cli {

namespace {

// The handle behind a descriptor: the standard handles for 0 to 2, the C
// runtime's table for the files this program opened.
HANDLE HandleOf(int fd) {
    switch (fd) {
        case kStandardInput:
            return ::GetStdHandle(STD_INPUT_HANDLE);
        case kStandardOutput:
            return ::GetStdHandle(STD_OUTPUT_HANDLE);
        case kStandardError:
            return ::GetStdHandle(STD_ERROR_HANDLE);
        default:
            return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    }
}

bool IsConsole(HANDLE handle) {
    DWORD mode;
    return ::GetConsoleMode(handle, &mode) != 0;
}

// ReadFile that treats the writer closing a pipe as the end of input.
std::error_code ReadSome(HANDLE handle, void* data, std::size_t size, std::size_t& got) {
    got = 0;
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
    got = n;
    return {};
}

void Grow(std::vector<std::uint8_t>& bytes, std::size_t capacity) {
    std::vector<std::uint8_t> larger;
    larger.reserve(capacity);
    larger.assign(bytes.begin(), bytes.end());
    cipher::Wipe(bytes);
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

bool IsTerminal(int fd) {
    return IsConsole(HandleOf(fd));
}

std::error_code ReadLine(int fd, std::string& line, std::size_t maxLength) {
    line.clear();
    const HANDLE handle = HandleOf(fd);
    char c;
    for (;;) {
        std::size_t n = 0;
        if (std::error_code ec = ReadSome(handle, &c, 1, n)) return ec;
        if (n == 0 || c == '\n') return {};
        if (line.size() >= maxLength) {
            cipher::Wipe(line);
            return std::make_error_code(std::errc::value_too_large);
        }
        line += c;
    }
}

std::error_code ReadAll(int fd, std::vector<std::uint8_t>& bytes, std::size_t spare,
                        std::uint64_t limit) {
    bytes.clear();
    const HANDLE handle = HandleOf(fd);
    std::size_t capacity = 64 * 1024;
    LARGE_INTEGER size;
    if (::GetFileType(handle) == FILE_TYPE_DISK && ::GetFileSizeEx(handle, &size) &&
        size.QuadPart >= 0 && static_cast<std::uint64_t>(size.QuadPart) <= limit) {
        capacity = static_cast<std::size_t>(size.QuadPart) + 1;
    }
    bytes.reserve(capacity + spare);
    for (;;) {
        if (bytes.size() == bytes.capacity() - spare) {
            Grow(bytes, 2 * bytes.capacity());
        }
        const std::size_t used = bytes.size();
        const std::size_t room = bytes.capacity() - spare - used;
        bytes.resize(used + room);
        std::size_t n = 0;
        const std::error_code ec = ReadSome(handle, bytes.data() + used, room, n);
        bytes.resize(used + n);
        if (ec) return ec;
        if (n == 0) return {};
        if (bytes.size() > limit) return std::make_error_code(std::errc::file_too_large);
    }
}

std::error_code WriteAll(int fd, const void* data, std::size_t size) {
    const HANDLE handle = HandleOf(fd);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    if (IsConsole(handle)) return WriteConsoleText(handle, static_cast<const char*>(data), size);
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

int OpenPasswordFile(const std::string& path, std::error_code& ec) {
    ec.clear();
    std::wstring wide;
    if (!win32::WideFromUtf8(path, wide)) {
        ec = std::make_error_code(std::errc::invalid_argument);
        return -1;
    }
    // A pipe whose writer has not come yet does not block the open on Windows.
    const HANDLE handle = ::CreateFileW(
        wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        ec = win32::LastError();
        return -1;
    }
    BY_HANDLE_FILE_INFORMATION info;
    const DWORD type = ::GetFileType(handle);
    if (type == FILE_TYPE_DISK && ::GetFileInformationByHandle(handle, &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ec = std::make_error_code(std::errc::is_a_directory);
    } else if (type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE) {
        ec = std::make_error_code(std::errc::invalid_argument);
    }
    const int fd = ec ? -1 : ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY);
    if (fd < 0) {
        if (!ec) ec = std::make_error_code(std::errc::too_many_files_open);
        ::CloseHandle(handle);
    }
    return fd;
}

void CloseDescriptor(int fd) {
    if (fd >= 0) ::_close(fd);
}

void IgnoreBrokenPipes() {
    // A write to a closed pipe already fails with an error on Windows.
}

const char* PasswordOptions() {
    return "--password-file or --password-env";
}

bool DescriptorsReachProgram() {
    return false;
}

}  // namespace cli

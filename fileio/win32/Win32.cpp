#include "fileio/win32/Win32.h"

#include <io.h>

namespace fileio::win32 {

std::error_code ErrorFrom(DWORD code) {
    using std::errc;
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_NETPATH:
        case ERROR_INVALID_DRIVE:
            return std::make_error_code(errc::no_such_file_or_directory);
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return std::make_error_code(errc::permission_denied);
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return std::make_error_code(errc::file_exists);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return std::make_error_code(errc::no_space_on_device);
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return std::make_error_code(errc::not_enough_memory);
        case ERROR_FILENAME_EXCED_RANGE:
            return std::make_error_code(errc::filename_too_long);
        case ERROR_WRITE_PROTECT:
            return std::make_error_code(errc::read_only_file_system);
        case ERROR_DIRECTORY:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_INVALID_PARAMETER:
            return std::make_error_code(errc::invalid_argument);
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:
            return std::make_error_code(errc::broken_pipe);
        case ERROR_NOT_SUPPORTED:
        case ERROR_INVALID_FUNCTION:
            return std::make_error_code(errc::operation_not_supported);
        default:
            return std::make_error_code(errc::io_error);
    }
}

std::error_code LastError() {
    return ErrorFrom(::GetLastError());
}

std::string Utf8FromWide(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    DWORD flags = WC_ERR_INVALID_CHARS;
    int length =
        ::WideCharToMultiByte(CP_UTF8, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        flags = 0;  // a lone surrogate: converted with a replacement, and marked below
        length =
            ::WideCharToMultiByte(CP_UTF8, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
    }
    std::string out(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, flags, text.data(), size, out.data(), length, nullptr, nullptr);
    // A byte that never occurs in UTF-8 keeps invalid text recognisably
    // invalid instead of turning it into another name.
    if (flags == 0) out += '\xFF';
    return out;
}

bool WideFromUtf8(std::string_view text, std::wstring& wide) {
    wide.clear();
    if (text.empty()) return true;
    const int size = static_cast<int>(text.size());
    const int length =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0) return false;
    wide.resize(static_cast<std::size_t>(length));
    return ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(),
                                 length) == length;
}

HANDLE HandleOf(int fd) {
    switch (fd) {
        case 0:
            return ::GetStdHandle(STD_INPUT_HANDLE);
        case 1:
            return ::GetStdHandle(STD_OUTPUT_HANDLE);
        case 2:
            return ::GetStdHandle(STD_ERROR_HANDLE);
        default:
            return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    }
}

bool IsConsole(HANDLE handle) {
    DWORD mode;
    return ::GetConsoleMode(handle, &mode) != 0;
}

}  // namespace fileio::win32

#include "fileio/Spool.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "fileio/SystemRandom.h"
#include "fileio/win32/Win32.h"

namespace fileio {

Spool::~Spool() {
    if (fd_ >= 0) ::_close(fd_);
}

// A file in the temporary folder that nobody else may open and that the
// system deletes when its last handle closes, also when the process is
// killed; a temporary file is kept in memory as far as the system can.
std::error_code Spool::Create() {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return win32::LastError();
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 16 && handle == INVALID_HANDLE_VALUE; ++attempt) {
        wchar_t name[32];
        std::swprintf(name, 32, L"quillbox-spool-%08lx.tmp",
                      static_cast<unsigned long>(SystemRandom32()));
        const std::wstring path = std::wstring(folder, length) + name;
        handle = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (handle == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (handle == INVALID_HANDLE_VALUE) return win32::LastError();
    fd_ = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
    if (fd_ < 0) {
        ::CloseHandle(handle);
        return std::make_error_code(std::errc::too_many_files_open);
    }
    return {};
}

std::error_code Spool::Rewind() {
    LARGE_INTEGER start{};
    return ::SetFilePointerEx(win32::HandleOf(fd_), start, nullptr, FILE_BEGIN)
               ? std::error_code()
               : win32::LastError();
}

std::optional<std::uint64_t> RemainingInRegularFile(int fd) {
    const HANDLE handle = win32::HandleOf(fd);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return std::nullopt;
    if (::GetFileType(handle) != FILE_TYPE_DISK) return std::nullopt;
    LARGE_INTEGER size{}, at{}, none{};
    if (!::GetFileSizeEx(handle, &size) || !::SetFilePointerEx(handle, none, &at, FILE_CURRENT)) {
        return std::nullopt;
    }
    if (at.QuadPart < 0 || at.QuadPart > size.QuadPart) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart - at.QuadPart);
}

}  // namespace fileio

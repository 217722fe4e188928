#include "cli/Descriptors.h"

#include <fcntl.h>
#include <io.h>

#include <cstring>

#include "fileio/win32/Win32.h"

namespace cli {

bool IsTerminal(int fd) {
    return fileio::win32::IsConsole(fileio::win32::HandleOf(fd));
}

int OpenPasswordFile(const std::string& path, std::error_code& ec) {
    ec.clear();
    std::wstring wide;
    if (!fileio::win32::WideFromUtf8(path, wide)) {
        ec = std::make_error_code(std::errc::invalid_argument);
        return -1;
    }
    // A pipe whose writer has not come yet does not block the open on Windows.
    const HANDLE handle = ::CreateFileW(
        wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        ec = fileio::win32::LastError();
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

void WidenPipes() {
    // An anonymous pipe's buffer is set by whoever creates it.
}

const char* PasswordOptions() {
    return "--password-file or --password-env";
}

bool DescriptorsReachProgram() {
    return false;
}

}  // namespace cli

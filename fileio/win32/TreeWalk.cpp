#include "fileio/TreeWalk.h"

#include <algorithm>

#include "fileio/win32/Win32.h"

namespace fileio {

namespace {

// An entry opened where it stands: a reparse point (a link, a junction) is
// opened itself, never what it points at.
class Handle {
public:
    explicit Handle(const std::wstring& path)
        : handle_(::CreateFileW(
              path.c_str(), FILE_READ_ATTRIBUTES,
              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr)) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool Information(BY_HANDLE_FILE_INFORMATION& info) const {
        return handle_ != INVALID_HANDLE_VALUE && ::GetFileInformationByHandle(handle_, &info);
    }

private:
    HANDLE handle_;
};

TreeEntry Entry(std::string path, TreeEntryKind kind) {
    TreeEntry entry;
    entry.path = std::move(path);
    entry.kind = kind;
    return entry;
}

void Walk(const std::wstring& folder, const std::string& path, std::vector<TreeEntry>& entries) {
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        TreeEntry failed = Entry(path, TreeEntryKind::FolderFailed);
        failed.error = win32::LastError();
        entries.push_back(std::move(failed));
        return;
    }
    std::vector<std::wstring> names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    for (const std::wstring& name : names) {
        const std::wstring wide = folder + L"\\" + name;
        const std::string child = path + "\\" + win32::Utf8FromWide(name);
        BY_HANDLE_FILE_INFORMATION info;
        if (!Handle(wide).Information(info)) continue;  // gone since the folder was read
        if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            entries.push_back(Entry(child, TreeEntryKind::Link));
        } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            Walk(wide, child, entries);
        } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0) {
            entries.push_back(Entry(child, TreeEntryKind::Special));
        } else {
            TreeEntry file = Entry(child, TreeEntryKind::File);
            file.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
            file.device = info.dwVolumeSerialNumber;
            file.inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
            entries.push_back(std::move(file));
        }
    }
}

}  // namespace

std::error_code WalkTree(const std::string& root, std::vector<TreeEntry>& entries) {
    std::wstring wide;
    if (!win32::WideFromUtf8(root, wide)) return std::make_error_code(std::errc::invalid_argument);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return win32::LastError();
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return std::make_error_code(std::errc::not_a_directory);
    }
    // "dir\" and "dir" name the same entries.
    std::string path = root;
    while (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    while (wide.size() > 1 && (wide.back() == L'\\' || wide.back() == L'/')) wide.pop_back();
    Walk(wide, path, entries);
    return {};
}

bool RegularFileIdentity(const std::string& path, std::uint64_t& device, std::uint64_t& inode) {
    std::wstring wide;
    BY_HANDLE_FILE_INFORMATION info;
    if (!win32::WideFromUtf8(path, wide) || !Handle(wide).Information(info)) return false;
    constexpr DWORD kNotAFile =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    if ((info.dwFileAttributes & kNotAFile) != 0) return false;
    device = info.dwVolumeSerialNumber;
    inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    return true;
}

}  // namespace fileio

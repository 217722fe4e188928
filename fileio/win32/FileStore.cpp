#include "fileio/FileStore.h"

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cwctype>

#include "fileio/PendingName.h"
#include "fileio/SystemRandom.h"
#include "fileio/win32/Win32.h"

// Files are held as C runtime descriptors wrapping their handles, so the
// shared declarations stay the same as on Linux. Paths are kept as whole,
// long-path ("\\?\") names in UTF-8.
namespace fileio {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::error_code Error(std::errc code) {
    return std::make_error_code(code);
}

HANDLE HandleOf(int fd) {
    return fd < 0 ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

// Wraps a handle in a descriptor; closes it when that fails.
int Wrap(HANDLE handle, std::error_code& ec) {
    if (handle == INVALID_HANDLE_VALUE) {
        ec = win32::LastError();
        return -1;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        ec = Error(std::errc::too_many_files_open);
    }
    return fd;
}

void CloseIfOpen(int& fd) {
    if (fd >= 0) ::_close(fd);
    fd = -1;
}

std::error_code WriteAll(HANDLE handle, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD n = 0;
        if (!::WriteFile(handle, data, chunk, &n, nullptr)) return win32::LastError();
        if (n == 0) return Error(std::errc::io_error);
        data += n;
        size -= n;
    }
    return {};
}

std::int64_t ModifiedAt(const BY_HANDLE_FILE_INFORMATION& info) {
    return static_cast<std::int64_t>((std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                     info.ftLastWriteTime.dwLowDateTime);
}

// The last file that PendingFile::Commit flushed and put in place with a
// rename written through to disk.
struct CommittedFile {
    std::uint64_t volume = 0, index = 0;
    bool known = false;
} lastCommitted;

std::error_code ReadFull(HANDLE handle, std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD n = 0;
        if (!::ReadFile(handle, data, chunk, &n, nullptr)) return win32::LastError();
        if (n == 0) return SourceChanged();  // the file got shorter
        data += n;
        size -= n;
    }
    return {};
}

// The whole path with the long-path prefix, so names past MAX_PATH work.
std::wstring LongPath(const std::filesystem::path& path) {
    const std::wstring& given = path.native();
    if (given.rfind(LR"(\\?\)", 0) == 0) return given;
    std::wstring full(given.size() + MAX_PATH, L'\0');
    DWORD n =
        ::GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n >= full.size()) {
        full.resize(n);
        n = ::GetFullPathNameW(given.c_str(), n, full.data(), nullptr);
    }
    if (n == 0 || n >= full.size()) return given;
    full.resize(n);
    if (full.rfind(LR"(\\.\)", 0) == 0) return full;  // a device: refused by the callers
    if (full.rfind(LR"(\\)", 0) == 0) return LR"(\\?\UNC\)" + full.substr(2);
    return LR"(\\?\)" + full;
}

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// Names that open a device rather than a file, in any folder and with any
// extension, and the paths that name devices directly.
bool IsDeviceName(const std::filesystem::path& path) {
    const std::wstring& text = path.native();
    if (text.rfind(LR"(\\.\)", 0) == 0 || text.rfind(L"//./", 0) == 0 ||
        text.rfind(LR"(\??\)", 0) == 0) {
        return true;
    }
    if (text.rfind(LR"(\\?\)", 0) == 0) {
        // Only a drive or a share may follow the long-path prefix.
        const std::wstring rest = text.substr(4);
        const bool drive = rest.size() >= 2 && std::iswalpha(rest[0]) && rest[1] == L':';
        if (!drive && rest.rfind(LR"(UNC\)", 0) != 0) return true;
    }
    std::wstring name = path.filename().native();
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && (name.back() == L' ' || name.back() == L':')) name.pop_back();
    std::transform(name.begin(), name.end(), name.begin(), ::towupper);
    static const wchar_t* const devices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : devices) {
        if (name == device) return true;
    }
    return name.size() == 4 && (name.rfind(L"COM", 0) == 0 || name.rfind(L"LPT", 0) == 0) &&
           name[3] >= L'0' && name[3] <= L'9';
}

bool HandleIdentity(HANDLE handle, std::uint64_t& volume, std::uint64_t& index,
                    BY_HANDLE_FILE_INFORMATION* out = nullptr) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(handle, &info)) return false;
    volume = info.dwVolumeSerialNumber;
    index = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    if (out != nullptr) *out = info;
    return true;
}

// A fresh name for a temporary file: the prefix and six random letters.
std::wstring TemporaryName(const std::wstring& folder, const char* prefix = kTempPrefix) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uint64_t random = (std::uint64_t{SystemRandom32()} << 32) | SystemRandom32();
    std::string name = prefix;
    for (int i = 0; i < 6; ++i, random /= sizeof letters - 1) {
        name += letters[random % (sizeof letters - 1)];
    }
    return folder + L"\\" + std::wstring(name.begin(), name.end());
}

bool SetDeleteOnClose(HANDLE handle, bool remove) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = remove ? TRUE : FALSE;
    return ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition,
                                        sizeof disposition) != 0;
}

std::wstring Wide(const std::string& utf8) {
    std::wstring wide;
    win32::WideFromUtf8(utf8, wide);
    return wide;
}

}  // namespace

std::filesystem::path ToPath(const std::u16string& text, std::error_code& ec) {
    ec.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (low ||
            (high && (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF))) {
            ec = Error(std::errc::illegal_byte_sequence);
            return {};
        }
        if (high) ++i;
    }
    return std::filesystem::path(std::wstring(text.begin(), text.end()));
}

bool IsRegularFile(const std::u16string& text) {
    if (text.empty()) return false;
    std::error_code ec;
    const std::filesystem::path path = ToPath(text, ec);
    if (ec || IsDeviceName(path)) return false;
    SourceFile file;
    return !file.Open(path);
}

bool IsFolder(const std::u16string& text) {
    if (text.empty()) return false;
    std::error_code ec;
    const std::filesystem::path path = ToPath(text, ec);
    if (ec) return false;
    const DWORD attributes = ::GetFileAttributesW(LongPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// --- SourceFile --------------------------------------------------------------

SourceFile::~SourceFile() {
    CloseIfOpen(fd_);
}

std::error_code SourceFile::Open(const std::filesystem::path& path) {
    if (IsDeviceName(path)) return Error(std::errc::invalid_argument);
    CloseIfOpen(fd_);
    // Shared as a POSIX open is: a change made meanwhile is caught by
    // ConfirmUnchanged, and MakeDurable needs a writing handle beside this one.
    const HANDLE handle = ::CreateFileW(LongPath(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    std::error_code ec;
    const int fd = Wrap(handle, ec);
    if (ec) return ec;
    return Adopt(fd);
}

std::error_code SourceFile::Adopt(int fd) {
    CloseIfOpen(fd_);
    fd_ = fd;
    if (fd_ < 0) return Error(std::errc::bad_file_descriptor);
    const HANDLE handle = HandleOf(fd_);
    if (::GetFileType(handle) != FILE_TYPE_DISK) return Error(std::errc::invalid_argument);
    BY_HANDLE_FILE_INFORMATION info;
    if (!HandleIdentity(handle, device_, inode_, &info)) return win32::LastError();
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return Error(std::errc::is_a_directory);
    }
    size_ = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    modified_ = ModifiedAt(info);
    return {};
}

std::error_code SourceFile::ConfirmUnchanged() const {
    const HANDLE handle = HandleOf(fd_);
    std::uint8_t beyond;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(size_);
    at.OffsetHigh = static_cast<DWORD>(size_ >> 32);
    DWORD n = 0;
    if (!::ReadFile(handle, &beyond, 1, &n, &at)) {
        if (::GetLastError() != ERROR_HANDLE_EOF) return win32::LastError();
        n = 0;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(handle, &info)) return win32::LastError();
    const std::uint64_t size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    if (n > 0 || size != size_ || ModifiedAt(info) != modified_) return SourceChanged();
    return {};
}

std::error_code SourceFile::MakeDurable(const std::filesystem::path& path) const {
    // The name must still lead to this file, links followed.
    const HANDLE named = ::CreateFileW(LongPath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (named == INVALID_HANDLE_VALUE) return win32::LastError();
    std::uint64_t volume = 0, index = 0;
    const bool same = HandleIdentity(named, volume, index) && volume == device_ && index == inode_;
    ::CloseHandle(named);
    if (!same) return Error(std::errc::no_such_file_or_directory);
    // Put in place by this process: flushed, then renamed with the rename
    // written through.
    if (lastCommitted.known && lastCommitted.volume == device_ && lastCommitted.index == inode_) {
        return {};
    }
    // Windows flushes only through a handle that may write.
    const HANDLE writer = ::ReOpenFile(HandleOf(fd_), GENERIC_WRITE, kShareAll, 0);
    if (writer == INVALID_HANDLE_VALUE) return win32::LastError();
    const std::error_code ec = ::FlushFileBuffers(writer) ? std::error_code() : win32::LastError();
    ::CloseHandle(writer);
    return ec;
}

std::error_code SourceFile::ReadExactly(std::uint8_t* data, std::size_t size) {
    return ReadFull(HandleOf(fd_), data, size);
}

std::error_code SourceFile::Rewind() {
    LARGE_INTEGER start{};
    return ::SetFilePointerEx(HandleOf(fd_), start, nullptr, FILE_BEGIN) ? std::error_code()
                                                                         : win32::LastError();
}

void SourceFile::Close() {
    CloseIfOpen(fd_);
}

// --- PendingFile -------------------------------------------------------------

void PendingFile::Discard() {
    // Marked for deletion since its creation: closing it removes it.
    const TerminationHold hold;
    if (!tempName_.empty()) {
        ClearPendingName();
        tempName_.clear();
    }
    CloseIfOpen(fd_);
}

// Finds the file that will be replaced or created: a link (a symbolic link
// or a junction) is followed to its target, whose content is replaced.
std::error_code PendingFile::Resolve(std::filesystem::path destination, Refusal& refusal) {
    if (IsDeviceName(destination)) {
        refusal = Refusal::NotAFile;
        return {};
    }
    const std::wstring path = LongPath(destination);
    if (destination.filename().empty()) return Error(std::errc::is_a_directory);
    target_ = win32::Utf8FromWide(path);
    mode_ = 0;
    const HANDLE link =
        ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (link == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) return {};  // a new file
        return win32::ErrorFrom(code);
    }
    ::CloseHandle(link);
    const HANDLE file = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return win32::LastError();
    std::error_code ec;
    BY_HANDLE_FILE_INFORMATION info;
    std::uint64_t volume = 0, index = 0;
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        refusal = Refusal::NotAFile;
    } else if (!HandleIdentity(file, volume, index, &info)) {
        ec = win32::LastError();
    } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ec = Error(std::errc::is_a_directory);
    } else {
        if ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) refusal = Refusal::ReadOnly;
        // The attributes the new content gets (mode_ holds them on Windows).
        mode_ = info.dwFileAttributes;
        // Where a link led: that file's name is the one to replace.
        std::wstring final(32768, L'\0');
        const DWORD n =
            ::GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n > 0 && n < final.size()) {
            final.resize(n);
            target_ = win32::Utf8FromWide(final);
        }
    }
    ::CloseHandle(file);
    return ec;
}

std::error_code PendingFile::MakeTemporary() {
    const std::wstring folder = FolderOf(Wide(target_));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring name = TemporaryName(folder);
        // Created and registered in one step that no termination cuts.
        const TerminationHold hold;
        // Nobody else may open it, and it is marked for deletion at once: if
        // the program ends before the commit, the system removes it.
        const HANDLE handle = ::CreateFileW(
            name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, nullptr,
            CREATE_NEW, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD code = ::GetLastError();
            if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) continue;
            return win32::ErrorFrom(code);
        }
        if (!SetDeleteOnClose(handle, true)) {
            const std::error_code ec = win32::LastError();
            ::CloseHandle(handle);
            ::DeleteFileW(name.c_str());
            return ec;
        }
        std::error_code ec;
        fd_ = Wrap(handle, ec);
        if (ec) return ec;
        tempName_ = win32::Utf8FromWide(name);
        RegisterPendingName(-1, tempName_.c_str());
        return {};
    }
    return Error(std::errc::file_exists);
}

std::error_code PendingFile::Write(const std::uint8_t* data, std::size_t size) {
    if (std::error_code ec = WriteAll(HandleOf(fd_), data, size)) return ec;
    written_ += size;
    return {};
}

std::error_code PendingFile::NameTemporary() {
    return {};  // the temporary file has its name from the start
}

std::error_code PendingFile::Commit() {
    const HANDLE handle = HandleOf(fd_);
    if (!::FlushFileBuffers(handle)) return win32::LastError();
    // The temporary file's hidden attribute goes; a replaced file's own
    // attributes (archive, hidden, system...) are kept.
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = (mode_ & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                     FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)) |
                           FILE_ATTRIBUTE_ARCHIVE;
    if (!::SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic)) {
        return win32::LastError();
    }
    if (!SetDeleteOnClose(handle, false)) return win32::LastError();
    const std::wstring temp = Wide(tempName_);
    const std::wstring target = Wide(target_);
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (keepExisting_ ? 0 : MOVEFILE_REPLACE_EXISTING);
    {
        // The temporary name stops being registered as it stops existing.
        const TerminationHold hold;
        if (!::MoveFileExW(temp.c_str(), target.c_str(), flags)) {
            const std::error_code ec = win32::LastError();
            SetDeleteOnClose(handle, true);
            return ec;
        }
        tempName_.clear();
        ClearPendingName();
    }
    // The new content is complete and on disk under its name.
    lastCommitted.known = HandleIdentity(handle, lastCommitted.volume, lastCommitted.index);
    Discard();
    return {};
}

// --- WipeTarget ----------------------------------------------------------------
// name_ is the whole long path of the original; asideName_ the name in its
// folder that MoveAside gave it.

namespace {

std::wstring AsideFull(const std::string& name, const std::string& aside) {
    return FolderOf(Wide(name)) + L"\\" + Wide(aside);
}

}  // namespace

void WipeTarget::CloseFolder() {
    // Names are whole paths here: no folder is held open.
}

std::error_code WipeTarget::Open(const std::filesystem::path& path, Refusal& refusal) {
    refusal = Refusal::None;
    folderPath_ = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
    if (IsDeviceName(path)) {
        refusal = Refusal::NotAFile;
        return {};
    }
    const std::wstring name = LongPath(path);
    name_ = win32::Utf8FromWide(name);
    // The link itself, never its target; renaming and deleting it by name
    // must stay possible while it is open.
    const HANDLE handle = ::CreateFileW(
        name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    std::error_code ec;
    const int fd = Wrap(handle, ec);
    if (ec) return ec;
    BY_HANDLE_FILE_INFORMATION info{};
    std::uint64_t volume = 0, index = 0;
    if (HandleIdentity(handle, volume, index, &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        int closing = fd;
        CloseIfOpen(closing);
        refusal = Refusal::SymbolicLink;
        return {};
    }
    ec = content_.Adopt(fd);
    if (ec == std::errc::invalid_argument || ec == std::errc::is_a_directory) {
        refusal = Refusal::NotAFile;
        return {};
    }
    // Another name of the same file would hold the ciphertext afterwards.
    if (!ec && info.nNumberOfLinks > 1) refusal = Refusal::OtherNames;
    return ec;
}

bool WipeTarget::NameIsOurs(const std::string& name) const {
    const HANDLE handle =
        ::CreateFileW(Wide(name).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    std::uint64_t volume = 0, index = 0;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ours =
        HandleIdentity(handle, volume, index, &info) &&
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0 &&
        volume == content_.device_ && index == content_.inode_;
    ::CloseHandle(handle);
    return ours;
}

std::error_code WipeTarget::MoveAside() {
    if (!NameIsOurs(name_)) return Error(std::errc::no_such_file_or_directory);
    // From the rename until the file is deleted or has its name back, a
    // request to end waits: the original is never left hidden by an
    // interrupt, nor deleted before it was overwritten and flushed.
    hold_.emplace();
    const std::wstring name = Wide(name_);
    DWORD code = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring aside = TemporaryName(FolderOf(name), kWipePrefix);
        // Without MOVEFILE_REPLACE_EXISTING the new name replaces nothing.
        if (::MoveFileExW(name.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH)) {
            asideName_ = win32::Utf8FromWide(aside.substr(aside.find_last_of(L'\\') + 1));
            // Swapped in the instant between the check and the rename: put
            // the stranger back and leave everything alone.
            if (!NameIsOurs(win32::Utf8FromWide(aside))) {
                RestoreName();
                return Error(std::errc::no_such_file_or_directory);
            }
            return {};
        }
        code = ::GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) break;
    }
    hold_.reset();
    return code == ERROR_ALREADY_EXISTS ? Error(std::errc::file_exists) : win32::ErrorFrom(code);
}

std::error_code WipeTarget::RestoreName() {
    if (asideName_.empty()) return {};
    if (!::MoveFileExW(AsideFull(name_, asideName_).c_str(), Wide(name_).c_str(),
                       MOVEFILE_WRITE_THROUGH)) {
        return win32::LastError();
    }
    asideName_.clear();
    hold_.reset();
    return {};
}

std::error_code WipeTarget::WriteInPlace(const std::uint8_t* data, std::size_t size) {
    const HANDLE handle = HandleOf(content_.fd_);
    for (std::size_t done = 0; done < size;) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(overwritten_);
        at.OffsetHigh = static_cast<DWORD>(overwritten_ >> 32);
        DWORD w = 0;
        if (!::WriteFile(handle, data + done, static_cast<DWORD>(size - done), &w, &at)) {
            return win32::LastError();
        }
        if (w == 0) return Error(std::errc::io_error);
        done += w;
        overwritten_ += w;
    }
    return {};
}

std::error_code WipeTarget::FlushContent() {
    return ::FlushFileBuffers(HandleOf(content_.fd_)) ? std::error_code{} : win32::LastError();
}

std::error_code WipeTarget::Remove() {
    if (!flushed_) return Error(std::errc::operation_not_permitted);
    const std::string name =
        asideName_.empty() ? name_ : win32::Utf8FromWide(AsideFull(name_, asideName_));
    if (!NameIsOurs(name)) return Error(std::errc::no_such_file_or_directory);
    if (!::DeleteFileW(Wide(name).c_str())) return win32::LastError();
    asideName_.clear();
    hold_.reset();
    return {};
}

std::filesystem::path WipeTarget::AsidePath() const {
    return asideName_.empty() ? std::filesystem::path() : folderPath_ / Wide(asideName_);
}

}  // namespace fileio

#include "fileio/PendingName.h"

#include <atomic>
#include <string>

#include "fileio/win32/Win32.h"

namespace filestore {

namespace {

// Plain storage and a lock-free flag: the console control handler may read
// them at any moment, so the name is complete before the flag is raised. On
// Windows `name` is the file's whole path; the folder is not used.
wchar_t pendingName[32768];
std::atomic<bool> pending{false};

}  // namespace

void RegisterPendingName(int, const char* name) {
    pending.store(false);
    std::wstring wide;
    if (!win32::WideFromUtf8(name, wide) || wide.size() >= std::size(pendingName)) return;
    wide.copy(pendingName, wide.size());
    pendingName[wide.size()] = L'\0';
    pending.store(true);
}

void ClearPendingName() {
    pending.store(false);
}

void RemovePendingName() {
    if (pending.exchange(false)) ::DeleteFileW(pendingName);
}

}  // namespace filestore

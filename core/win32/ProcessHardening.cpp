#include "core/ProcessHardening.h"

#include <windows.h>

namespace core {

// Windows writes no core file of its own accord. What it can do on a crash
// is offer the fault to Windows Error Reporting, which may keep a memory dump
// of the process: the program asks for dumps without its heap, where the
// passwords and texts live, and to fail without the system's crash dialog.
void KeepSecretsOutOfCoreDumps() {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    using WerFlags = HRESULT(WINAPI*)(DWORD);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto setFlags = kernel != nullptr ? reinterpret_cast<WerFlags>(reinterpret_cast<void*>(
                                                  ::GetProcAddress(kernel, "WerSetFlags")))
                                            : nullptr;
    constexpr DWORD kNoHeapInDumps = 0x1;  // WER_FAULT_REPORTING_FLAG_NOHEAP
    if (setFlags != nullptr) setFlags(kNoHeapInDumps);
}

}  // namespace core

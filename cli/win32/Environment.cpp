#include "cli/Environment.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "cipher/SecureZero.h"
#include "fileio/win32/Win32.h"

namespace cli {

bool TakeVariable(const std::string& name, std::string& value) {
    std::wstring wideName;
    if (!fileio::win32::WideFromUtf8(name, wideName)) return false;
    const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (length == 0) return false;
    std::wstring text(length, L'\0');
    const DWORD got = ::GetEnvironmentVariableW(wideName.c_str(), text.data(), length);
    if (got == 0 || got >= length) {
        cipher::SecureZero(text.data(), text.size() * sizeof(wchar_t));
        return false;
    }
    text.resize(got);
    std::string utf8 = fileio::win32::Utf8FromWide(text);
    if (value.capacity() < utf8.size()) value.reserve(utf8.size());
    value.assign(utf8);
    cipher::SecureZero(utf8.data(), utf8.size());
    cipher::SecureZero(text.data(), text.size() * sizeof(wchar_t));
    // The C runtime keeps copies of its own: overwritten, then all removed.
    if (char* copy = std::getenv(name.c_str())) cipher::SecureZero(copy, std::strlen(copy));
    if (wchar_t* copy = ::_wgetenv(wideName.c_str())) {
        cipher::SecureZero(copy, std::wcslen(copy) * sizeof(wchar_t));
    }
    ::_wputenv_s(wideName.c_str(), L"");
    ::SetEnvironmentVariableW(wideName.c_str(), nullptr);
    return true;
}

}  // namespace cli

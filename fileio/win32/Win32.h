#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <system_error>

// What the Windows files of every layer share: errors in the same terms as
// on Linux, and the conversions between the UTF-8 the program works in and
// the UTF-16 of the system's calls.
namespace fileio::win32 {

// The error for a Win32 error code; the common ones become the portable
// conditions (no such file, permission denied, disk full...) so that their
// messages read as they do on Linux.
std::error_code ErrorFrom(DWORD code);
std::error_code LastError();

// UTF-16 as UTF-8. Text that is not valid UTF-16 (a lone surrogate) gets a
// byte that no UTF-8 decoder accepts, so a name that is not valid stays
// recognisably invalid instead of turning into another name.
std::string Utf8FromWide(std::wstring_view text);

// UTF-8 as UTF-16; false for bytes that are not UTF-8.
bool WideFromUtf8(std::string_view text, std::wstring& wide);

// The handle behind a C runtime descriptor: the standard handles for 0 to 2,
// the runtime's table for the files this program opened.
HANDLE HandleOf(int fd);

// True for a console, which takes text rather than bytes.
bool IsConsole(HANDLE handle);

}  // namespace fileio::win32

#pragma once

#include <string>
#include <string_view>

#include "core/Layout.h"
#include "wingui/Win32.h"

// Small helpers shared by the window program's views: text between the
// program's 16-bit strings and the wide-character API, and pixels from the
// twips of the layout tables at a window's density.
namespace wingui {

// wchar_t is 16 bits wide on Windows, so the conversion is a plain copy.
std::wstring Wide(std::u16string_view text);
std::u16string Narrow(std::wstring_view text);

// The text of a control; the intermediate buffer is wiped.
std::u16string WindowText(HWND window);
void SetWindowText(HWND window, std::u16string_view text);

// Dots per inch of the monitor the window is on (96 when the system cannot tell).
int DpiOf(HWND window);

// A rectangle of the layout tables in pixels, moved by the container's offset.
RECT Pixels(const core::TwipsRect& place, int dpi, const core::TwipsRect& container = {0, 0, 0, 0});

// The outer size of a window whose client area is clientTwips at dpi.
SIZE OuterSize(const core::TwipsRect& clientTwips, DWORD style, DWORD exStyle, int dpi);

// The system's message font at dpi; the caller deletes it.
HFONT MessageFont(int dpi);

// Moves and sizes a window to rect (in its parent's client coordinates).
void Place(HWND window, const RECT& rect);

// Shows the window above all others without activating it or changing its place.
void KeepOnTop(HWND window);

// Takes the position and size that Windows suggests with WM_DPICHANGED.
void MoveToSuggested(HWND window, LPARAM suggestedRect);

// Registers a window class of this program (once per name); the program's
// icon when withIcon. False when it could not be registered.
bool RegisterWindowClass(const wchar_t* name, WNDPROC procedure, LPCWSTR cursor, HBRUSH background,
                         bool withIcon);

// Sets font on every child window of parent.
void SetChildFonts(HWND parent, HFONT font);

}  // namespace wingui

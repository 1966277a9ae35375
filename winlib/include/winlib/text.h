// Text boundary: texts stay 8-bit inside the programs, each in its own code
// page; windows get and give UTF-16 through the W functions. These helpers do
// the one conversion at that boundary.
#pragma once

#include <windows.h>

#include <string>

namespace wl {

// 8-bit text in code page `codePage` to UTF-16 and back. Bytes that the code
// page cannot show come back as '?'.
std::wstring ToWide(const std::string& text, UINT codePage);
std::string FromWide(const std::wstring& text, UINT codePage);
std::string FromWide(const wchar_t* text, UINT codePage);
// Whether every character of `text` has its own bytes in `codePage`, so that
// FromWide gives it back exactly (no '?' in its place).
bool FitsCodePage(const std::wstring& text, UINT codePage);

// Window text (WM_SETTEXT / WM_GETTEXT through the W messages).
bool SetText(HWND hwnd, const std::string& text, UINT codePage);
std::string GetText(HWND hwnd, UINT codePage);
// Whether the window's text fits `codePage` (see FitsCodePage).
bool TextFits(HWND hwnd, UINT codePage);

// Text of the dialog item `id` of `dialog`.
bool SetItemText(HWND dialog, int id, const std::string& text, UINT codePage);
std::string GetItemText(HWND dialog, int id, UINT codePage);

}  // namespace wl

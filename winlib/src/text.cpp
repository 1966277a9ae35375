#include "winlib/text.h"

#include <vector>

namespace wl {

std::wstring ToWide(const std::string& text, UINT codePage) {
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

std::string FromWide(const std::wstring& text, UINT codePage) {
    if (text.empty()) return std::string();
    // No best fit: a look-alike letter would make another word or another file name.
    // UTF-8 and UTF-7 show every character and take no flags.
    const DWORD flags = codePage == CP_UTF8 || codePage == CP_UTF7 ? 0 : WC_NO_BEST_FIT_CHARS;
    int n = WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string FromWide(const wchar_t* text, UINT codePage) {
    return text ? FromWide(std::wstring(text), codePage) : std::string();
}

bool FitsCodePage(const std::wstring& text, UINT codePage) {
    if (text.empty() || codePage == CP_UTF8 || codePage == CP_UTF7) return true;
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, &usedDefault);
    return n > 0 && !usedDefault;
}

bool SetText(HWND hwnd, const std::string& text, UINT codePage) {
    std::wstring w = ToWide(text, codePage);
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str())) != 0;
}

std::string GetText(HWND hwnd, UINT codePage) {
    if (!hwnd) return std::string();
    LRESULT len = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (len <= 0) return std::string();
    std::vector<wchar_t> buf(static_cast<size_t>(len) + 1, L'\0');
    LRESULT got = SendMessageW(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
    if (got < 0) got = 0;
    return FromWide(std::wstring(buf.data(), static_cast<size_t>(got)), codePage);
}

bool TextFits(HWND hwnd, UINT codePage) {
    if (!hwnd) return true;
    LRESULT len = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (len <= 0) return true;
    std::vector<wchar_t> buf(static_cast<size_t>(len) + 1, L'\0');
    LRESULT got = SendMessageW(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
    if (got < 0) got = 0;
    return FitsCodePage(std::wstring(buf.data(), static_cast<size_t>(got)), codePage);
}

bool SetItemText(HWND dialog, int id, const std::string& text, UINT codePage) {
    HWND item = GetDlgItem(dialog, id);
    return item && SetText(item, text, codePage);
}

std::string GetItemText(HWND dialog, int id, UINT codePage) {
    return GetText(GetDlgItem(dialog, id), codePage);
}

}  // namespace wl

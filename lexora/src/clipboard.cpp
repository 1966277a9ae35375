#include "clipboard.h"

#include <cstring>

#include "winlib/text.h"

namespace lexora {

namespace {

std::wstring WindowTextW(HWND hwnd) {
    int length = ::GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int got = ::GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

HGLOBAL CopyToGlobal(const void* data, size_t bytes) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return nullptr;
    void* p = ::GlobalLock(block);
    if (!p) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(p, data, bytes);
    ::GlobalUnlock(block);
    return block;
}

}  // namespace

std::wstring SelectedWide(HWND control, bool comboBox) {
    DWORD start = 0, end = 0;
    if (comboBox) {
        DWORD sel = static_cast<DWORD>(::SendMessageW(control, CB_GETEDITSEL, 0, 0));
        start = LOWORD(sel);
        end = HIWORD(sel);
    } else {
        ::SendMessageW(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    }
    std::wstring text = WindowTextW(control);
    if (end > text.size()) end = static_cast<DWORD>(text.size());
    if (start >= end) return std::wstring();
    return text.substr(start, end - start);
}

bool PutClipboardText(HWND owner, const std::wstring& text, UINT codePage) {
    std::string bytes = wl::FromWide(text, codePage);
    HGLOBAL wide = CopyToGlobal(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    HGLOBAL narrow = CopyToGlobal(bytes.c_str(), bytes.size() + 1);
    if (!wide || !narrow) {
        if (wide) ::GlobalFree(wide);
        if (narrow) ::GlobalFree(narrow);
        return false;
    }
    if (!::OpenClipboard(owner)) {
        ::GlobalFree(wide);
        ::GlobalFree(narrow);
        return false;
    }
    ::EmptyClipboard();
    bool ok = true;
    if (!::SetClipboardData(CF_UNICODETEXT, wide)) {
        ::GlobalFree(wide);
        ok = false;
    }
    if (!::SetClipboardData(CF_TEXT, narrow)) {
        ::GlobalFree(narrow);
        ok = false;
    }
    ::CloseClipboard();
    return ok;
}

namespace {

// Whether the clipboard's text was put there as 8-bit text only: the system
// then makes the Unicode text itself, through its own code page, and lists
// it after the formats that were put. Called with the clipboard open.
bool PutAsEightBitText() {
    for (UINT format = ::EnumClipboardFormats(0); format; format = ::EnumClipboardFormats(format)) {
        if (format == CF_UNICODETEXT) return false;
        if (format == CF_TEXT) return true;
    }
    return false;
}

}  // namespace

std::string ClipboardText(HWND owner, UINT codePage, size_t maxBytes) {
    std::string result;
    if (!::OpenClipboard(owner)) return result;
    // 8-bit text is taken as it stands, in the slot's code page: the system's
    // Unicode form of it would read its bytes in another one.
    HANDLE unicode = PutAsEightBitText() ? nullptr : ::GetClipboardData(CF_UNICODETEXT);
    if (HANDLE h = unicode) {
        if (const wchar_t* p = static_cast<const wchar_t*>(::GlobalLock(h))) {
            size_t limit = ::GlobalSize(h) / sizeof(wchar_t);
            size_t n = 0;
            while (n < limit && p[n] != 0) ++n;
            // Convert character by character from the front until the bytes are full.
            std::wstring wide(p, n);
            ::GlobalUnlock(h);
            std::string all = wl::FromWide(wide, codePage);
            if (all.size() <= maxBytes) {
                result = all;
            } else {
                size_t keep = 0;
                for (size_t i = 1; i <= wide.size(); ++i) {
                    if (wl::FromWide(wide.substr(0, i), codePage).size() > maxBytes) break;
                    keep = i;
                }
                result = wl::FromWide(wide.substr(0, keep), codePage);
            }
        }
    } else if (HANDLE h8 = ::GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(::GlobalLock(h8))) {
            size_t limit = ::GlobalSize(h8);
            size_t n = 0;
            while (n < limit && n < maxBytes && p[n] != 0) ++n;
            result.assign(p, n);
            ::GlobalUnlock(h8);
        }
    }
    ::CloseClipboard();
    return result;
}

}  // namespace lexora

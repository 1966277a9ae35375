#include "winlib/fonts.h"

namespace wl {

BYTE ActualCharSet(HFONT font) {
    if (!font) return DEFAULT_CHARSET;
    HDC dc = ::CreateCompatibleDC(nullptr);
    if (!dc) return DEFAULT_CHARSET;
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICW metrics{};
    // The metrics tell the set of the font really chosen; GetTextCharsetInfo
    // may repeat the set asked for even when the chosen font lacks it.
    const BYTE charSet = ::GetTextMetricsW(dc, &metrics) ? metrics.tmCharSet : static_cast<BYTE>(DEFAULT_CHARSET);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return charSet;
}

BYTE CharSetOfCodePage(UINT codePage) {
    switch (codePage) {
        case 1250: return EASTEUROPE_CHARSET;
        case 1251: return RUSSIAN_CHARSET;
        case 1253: return GREEK_CHARSET;
        case 1254: return TURKISH_CHARSET;
        case 1255: return HEBREW_CHARSET;
        case 1256: return ARABIC_CHARSET;
        case 1257: return BALTIC_CHARSET;
        default: return ANSI_CHARSET;
    }
}

namespace {

// Faces tried in turn for a set the stored face lacks: the dialog face, then
// whatever face the system offers for the set.
const char* const kFallbackFaces[] = {"MS Shell Dlg", ""};

}  // namespace

HFONT CreateFontShowing(const LOGFONTA& font, BYTE charSet) {
    HFONT made = ::CreateFontIndirectA(&font);
    if (charSet == DEFAULT_CHARSET || charSet == SYMBOL_CHARSET || charSet == OEM_CHARSET) return made;
    if (made && ActualCharSet(made) == charSet) return made;

    auto attempt = [&](const LOGFONTA& candidate) -> HFONT {
        HFONT f = ::CreateFontIndirectA(&candidate);
        if (f && ActualCharSet(f) == charSet) return f;
        if (f) ::DeleteObject(f);
        return nullptr;
    };
    LOGFONTA wanted = font;
    wanted.lfCharSet = charSet;
    HFONT better = attempt(wanted);
    for (const char* face : kFallbackFaces) {
        if (better) break;
        LOGFONTA other = wanted;
        lstrcpynA(other.lfFaceName, face, LF_FACESIZE);
        // Any face of the family will do; a raster-only precision would keep
        // the mapper on the face that lacks the set.
        other.lfOutPrecision = OUT_TT_PRECIS;
        better = attempt(other);
    }
    if (!better) return made;
    if (made) ::DeleteObject(made);
    return better;
}

namespace {

struct FontSwap {
    HFONT from;
    HFONT to;
};

BOOL CALLBACK SwapInWindow(HWND hwnd, LPARAM lp) {
    const FontSwap& swap = *reinterpret_cast<const FontSwap*>(lp);
    if (reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)) == swap.from)
        ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(swap.to), TRUE);
    return TRUE;
}

BOOL CALLBACK SwapInTopWindow(HWND hwnd, LPARAM lp) {
    SwapInWindow(hwnd, lp);
    ::EnumChildWindows(hwnd, SwapInWindow, lp);  // every descendant, not only the children
    return TRUE;
}

}  // namespace

void ReplaceFont(HFONT from, HFONT to) {
    if (!from || from == to) return;
    FontSwap swap{from, to};
    ::EnumThreadWindows(::GetCurrentThreadId(), SwapInTopWindow, reinterpret_cast<LPARAM>(&swap));
}

}  // namespace wl

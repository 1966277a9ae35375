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

bool TakenAsItComes(BYTE charSet) {
    return charSet == DEFAULT_CHARSET || charSet == SYMBOL_CHARSET || charSet == OEM_CHARSET;
}

// The first font that `accepted` takes of: `font` as it stands, `font` asked
// for in `charSet`, and the fallback faces in `charSet`; null when none.
template <typename Accepted>
HFONT FirstAccepted(const LOGFONTA& font, BYTE charSet, Accepted accepted) {
    LOGFONTA wanted = font;
    wanted.lfCharSet = charSet;
    LOGFONTA candidates[2 + sizeof kFallbackFaces / sizeof kFallbackFaces[0]] = {font, wanted};
    int count = 2;
    for (const char* face : kFallbackFaces) {
        LOGFONTA other = wanted;
        lstrcpynA(other.lfFaceName, face, LF_FACESIZE);
        // Any face of the family will do; a raster-only precision would keep
        // the mapper on the face that lacks the set.
        other.lfOutPrecision = OUT_TT_PRECIS;
        candidates[count++] = other;
    }
    for (const LOGFONTA& candidate : candidates) {
        HFONT f = ::CreateFontIndirectA(&candidate);
        if (f && accepted(f)) return f;
        if (f) ::DeleteObject(f);
    }
    return nullptr;
}

// Whether `c` goes into code page `codePage` and back as itself.
bool ConvertsExactly(wchar_t c, UINT codePage) {
    char bytes[8] = {};
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, &c, 1, bytes, sizeof bytes, nullptr,
                                        &usedDefault);
    if (n <= 0 || usedDefault) return false;
    wchar_t back[4] = {};
    return ::MultiByteToWideChar(codePage, 0, bytes, n, back, 4) == 1 && back[0] == c;
}

}  // namespace

HFONT CreateFontShowing(const LOGFONTA& font, BYTE charSet) {
    if (TakenAsItComes(charSet)) return ::CreateFontIndirectA(&font);
    HFONT f = FirstAccepted(font, charSet, [&](HFONT candidate) { return ActualCharSet(candidate) == charSet; });
    return f ? f : ::CreateFontIndirectA(&font);
}

HFONT CreateFontShowing(const LOGFONTA& font, BYTE charSet, const std::wstring& letters) {
    if (letters.empty()) return CreateFontShowing(font, charSet);
    HFONT f = FirstAccepted(font, charSet, [&](HFONT candidate) {
        return (TakenAsItComes(charSet) || ActualCharSet(candidate) == charSet) && FontShowsLetters(candidate, letters);
    });
    return f ? f : CreateFontShowing(font, charSet);
}

bool FontShowsLetters(HFONT font, const std::wstring& text) {
    if (!font) return false;
    HDC dc = ::CreateCompatibleDC(nullptr);
    if (!dc) return false;
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    // A raster font draws each character through the code page of its set;
    // a character outside it comes out as some other letter of the font.
    UINT codePage = 0;
    CHARSETINFO info{};
    if (!(metrics.tmPitchAndFamily & TMPF_TRUETYPE) &&
        ::TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(metrics.tmCharSet)), &info,
                               TCI_SRCCHARSET))
        codePage = info.ciACP;
    // Each character is drawn alone into a small black-and-white picture and
    // compared with the picture of the default character.
    const int width = 2 * metrics.tmMaxCharWidth + metrics.tmOverhang + 2;
    const int height = metrics.tmHeight + 2;
    HBITMAP picture = ::CreateBitmap(width, height, 1, 1, nullptr);
    HGDIOBJ oldPicture = ::SelectObject(dc, picture);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, OPAQUE);
    const LONG size = ((width + 15) / 16) * 2 * height;
    auto draw = [&](wchar_t c) {
        std::string bits(static_cast<size_t>(size), '\0');
        ::PatBlt(dc, 0, 0, width, height, WHITENESS);
        ::TextOutW(dc, 1, 1, &c, 1);
        ::GdiFlush();
        ::GetBitmapBits(picture, size, &bits[0]);
        return bits;
    };
    const std::string missing = draw(metrics.tmDefaultChar);
    bool shows = picture != nullptr;
    std::wstring seen;
    for (wchar_t c : text) {
        if (!shows) break;
        if (c <= L' ' || c == 0x7F || (c >= 0x80 && c <= 0xA0) || seen.find(c) != std::wstring::npos) continue;
        seen += c;
        if (codePage && !ConvertsExactly(c, codePage)) shows = false;
        else if (draw(c) == missing) shows = false;
    }
    ::SelectObject(dc, oldPicture);
    ::SelectObject(dc, oldFont);
    if (picture) ::DeleteObject(picture);
    ::DeleteDC(dc);
    return shows;
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

// Fonts made from stored LOGFONTs: the font keeps its face when that face has
// the character set the text needs, and takes another face of the same height
// and weight when it does not; ReplaceFont moves every window off an old font.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "winlib/fonts.h"
#include "winlib/testing.h"
#include "winlib/text.h"
#include "winlib/winlib.h"
#include "winlib_test_ids.h"

namespace {

LOGFONTA Stored(const char* face, BYTE charSet) {
    LOGFONTA lf{};
    lf.lfHeight = -13;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = OUT_STRING_PRECIS;
    lf.lfClipPrecision = CLIP_STROKE_PRECIS;
    lf.lfQuality = DRAFT_QUALITY;
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return lf;
}

std::string FaceOf(HFONT font) {
    LOGFONTA lf{};
    ::GetObjectA(font, sizeof lf, &lf);
    return lf.lfFaceName;
}

TEST(Fonts, AFaceWithoutTheCharacterSetGivesWayToOneWithIt) {
    struct Case {
        const char* face;
        BYTE stored;
        BYTE needed;
        bool sameFace;  // the stored face can show the set
    };
    const Case cases[] = {
        // "System" is a raster font of the Western set only under Wine.
        {"System", EASTEUROPE_CHARSET, EASTEUROPE_CHARSET, false},
        {"System", EASTEUROPE_CHARSET, RUSSIAN_CHARSET, false},
        {"System", RUSSIAN_CHARSET, RUSSIAN_CHARSET, false},
        {"System", ANSI_CHARSET, ANSI_CHARSET, true},
        {"Tahoma", EASTEUROPE_CHARSET, EASTEUROPE_CHARSET, true},
        {"Tahoma", EASTEUROPE_CHARSET, RUSSIAN_CHARSET, true},
        {"MS Shell Dlg", RUSSIAN_CHARSET, RUSSIAN_CHARSET, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.face) + " " + std::to_string(c.stored) + " -> " + std::to_string(c.needed));
        const LOGFONTA stored = Stored(c.face, c.stored);
        HFONT font = wl::CreateFontShowing(stored, c.needed);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(wl::ActualCharSet(font), c.needed);
        LOGFONTA made{};
        ASSERT_EQ(::GetObjectA(font, sizeof made, &made), static_cast<int>(sizeof made));
        EXPECT_EQ(made.lfHeight, stored.lfHeight);
        EXPECT_EQ(made.lfWeight, stored.lfWeight);
        if (c.sameFace) EXPECT_EQ(FaceOf(font), c.face);
        else EXPECT_NE(FaceOf(font), c.face);
        ::DeleteObject(font);
    }
    // The sets that say nothing about letters are taken as they come.
    for (BYTE charSet : {BYTE(DEFAULT_CHARSET), BYTE(SYMBOL_CHARSET)}) {
        HFONT font = wl::CreateFontShowing(Stored("System", charSet));
        EXPECT_EQ(FaceOf(font), "System") << int(charSet);
        ::DeleteObject(font);
    }
    EXPECT_EQ(wl::CharSetOfCodePage(1250), EASTEUROPE_CHARSET);
    EXPECT_EQ(wl::CharSetOfCodePage(1251), RUSSIAN_CHARSET);
    EXPECT_EQ(wl::CharSetOfCodePage(1252), ANSI_CHARSET);
}

// Under Wine "System" is a Western raster font. Asked for in the Central
// European set it still reports the Western set, yet draws through code page
// 1250: è, ñ, ¡ come out as its default character, while ř comes out as ø.
// A face that shows the letters is taken only then; without letters nothing
// changes.
TEST(Fonts, AFontIsTakenOnlyWhenItDrawsEveryLetter) {
    struct Shows {
        const char* face;
        BYTE charSet;
        const wchar_t* text;
        bool shows;
    };
    const Shows shows[] = {
        {"System", ANSI_CHARSET, L"caract\u00E8re \u00A1Asignado! Espa\u00F1ol \u00BFQu\u00E9? \u00C0 \u00EAtre", true},
        {"System", ANSI_CHARSET, L"P\u0159epnout", false},          // not in the Western set
        {"System", EASTEUROPE_CHARSET, L"caract\u00E8re", false},  // the default character
        {"System", EASTEUROPE_CHARSET, L"\u00A1Asignado!", false},
        {"System", EASTEUROPE_CHARSET, L"Espa\u00F1ol", false},
        {"System", EASTEUROPE_CHARSET, L"P\u0159epnout", false},   // drawn as another letter
        {"System", EASTEUROPE_CHARSET, L"caf\u00E9 \u00C9t\u00E9 \u00E7a\r\n", true},
        {"System", RUSSIAN_CHARSET, L"\u0416", false},
        {"Tahoma", ANSI_CHARSET, L"caract\u00E8re P\u0159epnout \u0420\u0443\u0441\u0441\u043A\u0438\u0439 \u00BF", true},
    };
    for (const Shows& c : shows) {
        const LOGFONTA lf = Stored(c.face, c.charSet);
        HFONT font = ::CreateFontIndirectA(&lf);
        EXPECT_EQ(wl::FontShowsLetters(font, c.text), c.shows) << c.face << " " << int(c.charSet) << " "
                                                               << wl::FromWide(c.text, CP_UTF8);
        ::DeleteObject(font);
    }

    struct Made {
        BYTE stored;
        BYTE needed;
        const wchar_t* letters;
    };
    const Made made[] = {
        {EASTEUROPE_CHARSET, ANSI_CHARSET, L"caract\u00E8re \u00A1Asignado! Espa\u00F1ol"},
        {EASTEUROPE_CHARSET, ANSI_CHARSET, L"Espa\u00F1ol \u010Cesky Russian(\u0420\u0443\u0441\u0441\u043A\u0438\u0439)"},
        {EASTEUROPE_CHARSET, EASTEUROPE_CHARSET, L"P\u0159epnout Fran\u00E7ais"},
        {ANSI_CHARSET, RUSSIAN_CHARSET, L"\u041F\u0440\u0435\u0444\u0438\u043A\u0441 \u00BF"},
    };
    for (const Made& c : made) {
        SCOPED_TRACE(wl::FromWide(c.letters, CP_UTF8));
        const LOGFONTA stored = Stored("System", c.stored);
        HFONT font = wl::CreateFontShowing(stored, c.needed, c.letters);
        EXPECT_TRUE(wl::FontShowsLetters(font, c.letters));
        EXPECT_EQ(wl::ActualCharSet(font), c.needed);
        LOGFONTA got{};
        ::GetObjectA(font, sizeof got, &got);
        EXPECT_EQ(got.lfHeight, stored.lfHeight);
        EXPECT_EQ(got.lfWeight, stored.lfWeight);
        ::DeleteObject(font);
    }
    // The first case is the fault: the set matches, the letters do not show.
    HFONT bySetAlone = wl::CreateFontShowing(Stored("System", EASTEUROPE_CHARSET), ANSI_CHARSET);
    EXPECT_FALSE(wl::FontShowsLetters(bySetAlone, made[0].letters));
    ::DeleteObject(bySetAlone);
    // No letters: the font of the set alone.
    HFONT none = wl::CreateFontShowing(Stored("System", EASTEUROPE_CHARSET), ANSI_CHARSET, L"");
    EXPECT_EQ(FaceOf(none), "System");
    EXPECT_EQ(wl::ActualCharSet(none), ANSI_CHARSET);
    ::DeleteObject(none);
}

TEST(Fonts, ReplaceFontMovesEveryWindowOnTheOldFontAndNoOther) {
    HFONT oldFont = wl::CreateFontShowing(Stored("Tahoma", ANSI_CHARSET));
    HFONT otherFont = wl::CreateFontShowing(Stored("Tahoma", RUSSIAN_CHARSET));
    HFONT newFont = wl::CreateFontShowing(Stored("Tahoma", EASTEUROPE_CHARSET));
    wl::Dialog dialog(nullptr, IDD_TEST);
    HFONT edit = nullptr, button = nullptr, list = nullptr;
    wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
        auto set = [&](HWND w, HFONT f) { ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE); };
        auto get = [](HWND w) { return reinterpret_cast<HFONT>(::SendMessageW(w, WM_GETFONT, 0, 0)); };
        set(::GetDlgItem(d.Handle(), IDC_TEST_EDIT), oldFont);
        set(::GetDlgItem(d.Handle(), IDC_TEST_BUTTON), oldFont);
        set(::GetDlgItem(d.Handle(), IDC_TEST_LIST), otherFont);
        wl::ReplaceFont(oldFont, newFont);
        edit = get(::GetDlgItem(d.Handle(), IDC_TEST_EDIT));
        button = get(::GetDlgItem(d.Handle(), IDC_TEST_BUTTON));
        list = get(::GetDlgItem(d.Handle(), IDC_TEST_LIST));
        d.CloseWindow(IDCANCEL);
    });
    EXPECT_EQ(edit, newFont);
    EXPECT_EQ(button, newFont);
    EXPECT_EQ(list, otherFont);
    for (HFONT f : {oldFont, otherFont, newFont}) ::DeleteObject(f);
}

}  // namespace

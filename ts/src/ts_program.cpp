#include "ts_program.h"

#include "core/settings/ini_file.h"
#include "ts_settings_dialogs.h"
#include "ts/texts/ts_text_ids.h"
#include "winlib/fonts.h"
#include "winlib/text.h"

#include <vector>

namespace tsapp {

UINT CodePageOfLanguage(int language) {
    switch (language) {
        case 4: return 1251;
        case 5:
        case 6: return 1252;
        default: return 1250;
    }
}

std::string ResourceStrings::LoadString(int id, int size) {
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), static_cast<UINT>(id),
                                     reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) return std::string();
    std::string bytes = wl::FromWide(std::wstring(text, static_cast<size_t>(length)), CodePageOfLanguage(id % 10));
    if (size > 0 && bytes.size() > static_cast<size_t>(size - 1)) bytes.resize(static_cast<size_t>(size - 1));
    return bytes;
}

LOGFONTA ToLogFont(const lex::keyboard::FontSettings& f) {
    LOGFONTA lf{};
    lf.lfHeight = f.Height;
    lf.lfWidth = f.Width;
    lf.lfEscapement = f.Escapement;
    lf.lfOrientation = f.Orientation;
    lf.lfWeight = f.Weight;
    lf.lfItalic = f.Italic;
    lf.lfUnderline = f.Underline;
    lf.lfStrikeOut = f.StrikeOut;
    lf.lfCharSet = f.CharSet;
    lf.lfOutPrecision = f.OutPrecision;
    lf.lfClipPrecision = f.ClipPrecision;
    lf.lfQuality = f.Quality;
    lf.lfPitchAndFamily = f.PitchAndFamily;
    lstrcpynA(lf.lfFaceName, f.FaceName.c_str(), LF_FACESIZE);
    return lf;
}

lex::keyboard::FontSettings FromLogFont(const LOGFONTA& lf) {
    lex::keyboard::FontSettings f;
    f.Height = lf.lfHeight;
    f.Width = lf.lfWidth;
    f.Escapement = lf.lfEscapement;
    f.Orientation = lf.lfOrientation;
    f.Weight = lf.lfWeight;
    f.Italic = lf.lfItalic;
    f.Underline = lf.lfUnderline;
    f.StrikeOut = lf.lfStrikeOut;
    f.CharSet = lf.lfCharSet;
    f.OutPrecision = lf.lfOutPrecision;
    f.ClipPrecision = lf.lfClipPrecision;
    f.Quality = lf.lfQuality;
    f.PitchAndFamily = lf.lfPitchAndFamily;
    f.FaceName = std::string(lf.lfFaceName).substr(0, lex::keyboard::kMaxFaceNameLength);
    return f;
}

Program::Program(const ts::CommandLine& line)
    : Line(line), Files(lex::MakePlatformFileSystem()), Store(*Files, *this), texts_(nullptr, strings_) {
    if (EditorOnly()) Store.SetFixedPath(Line.EditorFilePath);
    SetProgramDirectory(Line.ProgramDirectory);
    texts_.SetLanguage(ts::kDefaultUiLanguage);
}

Program::~Program() {
    for (HFONT f : {KeyCaptionFont, LargeKeyFont, ButtonFont})
        if (f) ::DeleteObject(f);
}

void Program::SetProgramDirectory(const std::string& folder) {
    programDirectory_ = folder;
    textFile_ = std::make_unique<lex::keyboard::TextProfileFile>(*Files, programDirectory_ + ts::kUiTextFileName);
    texts_.SetTextFile(textFile_.get());
}

lex::keyboard::KeyboardFileResult Program::LoadKeyboardFile(const std::string& path) {
    const lex::keyboard::KeyboardFileResult result = Store.LoadKeyboardFile(path);
    workIni_.reset();  // the load may have put new contents in the working copy
    return result;
}

lex::keyboard::ProfileFile& Program::WorkIni() {
    if (!workIni_ || workIni_->Path() != Store.WorkIniName()) {
        workIni_ = std::make_unique<lex::keyboard::TextProfileFile>(*Files, Store.WorkIniName());
        workIni_->KeepContents();
    }
    return *workIni_;
}

void Program::MakeKeyFonts(const LOGFONTA& font) {
    KeyFont = font;
    LOGFONTA large = font;
    large.lfHeight = lex::keyboard::kLargeKeyFontHeight;
    // The captions are characters of the font's own set.
    HFONT oldCaption = KeyCaptionFont, oldLarge = LargeKeyFont;
    KeyCaptionFont = wl::CreateFontShowing(font);
    LargeKeyFont = wl::CreateFontShowing(large);
    wl::ReplaceFont(oldCaption, KeyCaptionFont);
    wl::ReplaceFont(oldLarge, LargeKeyFont);
    for (HFONT f : {oldCaption, oldLarge})
        if (f) ::DeleteObject(f);
}

void Program::MakeButtonFont(const LOGFONTA& font) {
    ButtonLogFont = font;
    HFONT old = ButtonFont;
    // The buttons show texts of the UI language, whatever set the font names.
    ButtonFont = wl::CreateFontShowing(font, wl::CharSetOfCodePage(UiCodePage()), UiLetters());
    // Every control still on the old font takes the new one before it goes.
    wl::ReplaceFont(old, ButtonFont);
    if (old) ::DeleteObject(old);
}

namespace {

// The string ids of the program's string table.
BOOL CALLBACK AddStringIds(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR ids) {
    if (!IS_INTRESOURCE(name)) return TRUE;
    // A block of the table holds the sixteen strings from (block - 1) * 16.
    const int first = (static_cast<int>(reinterpret_cast<ULONG_PTR>(name)) - 1) * 16;
    for (int i = 0; i < 16; ++i) reinterpret_cast<std::vector<int>*>(ids)->push_back(first + i);
    return TRUE;
}

}  // namespace

std::wstring Program::UiLetters() {
    std::wstring letters;
    auto add = [&](const std::wstring& text) {
        for (wchar_t c : text)
            if (letters.find(c) == std::wstring::npos) letters += c;
    };
    const int language = texts_.Language();
    const UINT cp = UiCodePage();
    std::vector<int> ids;
    ::EnumResourceNamesW(::GetModuleHandleW(nullptr), RT_STRING, AddStringIds, reinterpret_cast<LONG_PTR>(&ids));
    for (int id : ids)
        if (id % 10 == language && !strings_.LoadString(id, ts::kUiTextSize).empty())
            add(wl::ToWide(Text(id - language), cp));
    const AboutTexts& about = AboutTextsOf(language);
    for (const wchar_t* text :
         {about.LicenceButton, about.SupportButton, about.Rights, about.LicenceTitle, about.SupportTitle})
        add(text);
    for (int i = 0; i < ts::kUiLanguageCount; ++i) add(LanguageItem(i));
    return letters;
}

int Program::MessageBox8(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    const UINT cp = UiCodePage();
    return ::MessageBoxW(owner, wl::ToWide(text, cp).c_str(), wl::ToWide(caption, cp).c_str(), type);
}

void Program::ShowFileMessage(const std::string& text) { MessageBox8(MainWindow, text, "ts", MB_OK); }

bool Program::ConfirmReplaceUnloaded(const std::string&) {
    return MessageBox8(MainWindow, Text(ts::kTextReplaceUnloadedKeyboard), Text(ts::kTextWarningCaption), MB_YESNO) ==
           IDYES;
}

}  // namespace tsapp

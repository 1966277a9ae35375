#include "core/keyboard/keyboard_file.h"

#include <cstdio>
#include <cstring>

namespace lex::keyboard {
namespace {

void PutI16(uint8_t* p, int16_t v) {
    const uint16_t u = static_cast<uint16_t>(v);
    p[0] = static_cast<uint8_t>(u);
    p[1] = static_cast<uint8_t>(u >> 8);
}

int16_t GetI16(const uint8_t* p) { return static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8)); }

void EncodeKeys(const LayoutKey* keys, int count, uint8_t* p) {
    for (int k = 0; k < count; ++k, p += LayoutKey::kSize) {
        PutI16(p, keys[k].ScanCode);
        for (int s = 0; s < kKeyStateCount; ++s) PutI16(p + 2 + 2 * s, keys[k].Chars[s]);
    }
}

void DecodeKeys(const uint8_t* p, int count, LayoutKey* keys) {
    for (int k = 0; k < count; ++k, p += LayoutKey::kSize) {
        keys[k].ScanCode = GetI16(p);
        for (int s = 0; s < kKeyStateCount; ++s) keys[k].Chars[s] = GetI16(p + 2 + 2 * s);
    }
}

bool EndsWithNoCase(const std::string& s, const char* tail) {
    const size_t n = std::strlen(tail);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        char c = s[s.size() - n + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        if (c != tail[i]) return false;
    }
    return true;
}

std::string ReplaceLastThree(const std::string& path, const char* with) {
    if (path.size() < 3) return std::string();
    return path.substr(0, path.size() - 3) + with;
}

}  // namespace

int KeyCount(int group) {
    switch (group) {
        case kMainKeys: return kMainKeyCount;
        case kFunctionKeys: return kFunctionKeyCount;
        case kKeypadKeys: return kKeypadKeyCount;
        default: return 0;
    }
}

int RunFlagsBase(int group) {
    switch (group) {
        case kMainKeys: return 0;
        case kFunctionKeys: return kMainKeyCount;
        case kKeypadKeys: return kMainKeyCount + kFunctionKeyCount;
        default: return -1;
    }
}

int RunFlagCell(int group, int key, int state) {
    if (key < 0 || key >= KeyCount(group) || state < 0 || state >= kKeyStateCount) return -1;
    return (key + RunFlagsBase(group)) * (state + 1);
}

bool LayoutKey::operator==(const LayoutKey& o) const {
    return ScanCode == o.ScanCode && std::memcmp(Chars, o.Chars, sizeof Chars) == 0;
}

LayoutKey* LayoutTables::Key(int group, int key) {
    return const_cast<LayoutKey*>(static_cast<const LayoutTables*>(this)->Key(group, key));
}

const LayoutKey* LayoutTables::Key(int group, int key) const {
    if (key < 0 || key >= KeyCount(group)) return nullptr;
    switch (group) {
        case kMainKeys: return &MainKeys[key];
        case kFunctionKeys: return &FunctionKeys[key];
        default: return &KeypadKeys[key];
    }
}

int LayoutTables::GetRunFlag(int group, int key, int state) const {
    const int cell = RunFlagCell(group, key, state);
    return cell < 0 ? 0 : static_cast<int8_t>(RunFlags[cell]);
}

void LayoutTables::SetRunFlag(int group, int key, int state, int value) {
    const int cell = RunFlagCell(group, key, state);
    if (cell >= 0) RunFlags[cell] = static_cast<uint8_t>(value & 0xFF);
}

bool LayoutTables::operator==(const LayoutTables& o) const {
    for (int k = 0; k < kMainKeyCount; ++k)
        if (!(MainKeys[k] == o.MainKeys[k])) return false;
    for (int p = 0; p < kPrefixCount; ++p)
        if (!(Prefixes[p] == o.Prefixes[p])) return false;
    for (int k = 0; k < kFunctionKeyCount; ++k)
        if (!(FunctionKeys[k] == o.FunctionKeys[k])) return false;
    for (int k = 0; k < kKeypadKeyCount; ++k)
        if (!(KeypadKeys[k] == o.KeypadKeys[k])) return false;
    return std::memcmp(RunFlags, o.RunFlags, sizeof RunFlags) == 0;
}

void EncodeLayout(const LayoutTables& t, uint8_t* image) {
    EncodeKeys(t.MainKeys, kMainKeyCount, image + kMainKeysOffset);
    for (int p = 0; p < kPrefixCount; ++p) {
        uint8_t* q = image + kPrefixesOffset + p * PrefixDef::kSize;
        PutI16(q, t.Prefixes[p].Modifiers);
        PutI16(q + 2, t.Prefixes[p].ScanCode);
    }
    EncodeKeys(t.FunctionKeys, kFunctionKeyCount, image + kFunctionKeysOffset);
    EncodeKeys(t.KeypadKeys, kKeypadKeyCount, image + kKeypadKeysOffset);
    std::memcpy(image + kRunFlagsOffset, t.RunFlags, kRunFlagsSize);
}

void DecodeLayout(const uint8_t* image, LayoutTables& t) {
    DecodeKeys(image + kMainKeysOffset, kMainKeyCount, t.MainKeys);
    for (int p = 0; p < kPrefixCount; ++p) {
        const uint8_t* q = image + kPrefixesOffset + p * PrefixDef::kSize;
        t.Prefixes[p].Modifiers = GetI16(q);
        t.Prefixes[p].ScanCode = GetI16(q + 2);
    }
    DecodeKeys(image + kFunctionKeysOffset, kFunctionKeyCount, t.FunctionKeys);
    DecodeKeys(image + kKeypadKeysOffset, kKeypadKeyCount, t.KeypadKeys);
    std::memcpy(t.RunFlags, image + kRunFlagsOffset, kRunFlagsSize);
}

std::string MakeIniName(const std::string& path) { return ReplaceLastThree(path, "ini"); }
std::string MakeWorkIniName(const std::string& path) { return ReplaceLastThree(path, "in_"); }

bool IsUsableKeyboardName(const std::string& path) {
    return path.size() >= 4 && path.size() <= kMaxKeyboardPathLength && !EndsWithNoCase(path, "ini") &&
           !EndsWithNoCase(path, "in_");
}

std::string RunKeyName(int group, int key, int state) {
    char name[40];
    std::snprintf(name, sizeof name, "%d_%d_%d", group, key, state);
    return name;
}

std::string ReadRunCommand(ProfileFile& ini, int group, int key, int state, int size) {
    return ini.GetString(kRunSection, RunKeyName(group, key, state), "", size);
}

std::vector<std::string> ReadRunCommands(ProfileFile& ini, int group, int state, int size) {
    std::vector<std::string> keys;
    for (int key = 0; key < KeyCount(group); ++key) keys.push_back(RunKeyName(group, key, state));
    return ini.GetStrings(kRunSection, keys, "", size);
}

bool WriteRunCommand(ProfileFile& ini, int group, int key, int state, const std::string& command) {
    return ini.WriteString(kRunSection, RunKeyName(group, key, state), command);
}

bool FontSettings::operator==(const FontSettings& o) const {
    return Height == o.Height && Width == o.Width && Escapement == o.Escapement &&
           Orientation == o.Orientation && Weight == o.Weight && Italic == o.Italic &&
           Underline == o.Underline && StrikeOut == o.StrikeOut && CharSet == o.CharSet &&
           OutPrecision == o.OutPrecision && ClipPrecision == o.ClipPrecision && Quality == o.Quality &&
           PitchAndFamily == o.PitchAndFamily && FaceName == o.FaceName;
}

namespace {

// The numeric keys of [FONT] in the order they are written.
struct FontNumber {
    const char* key;
    int32_t FontSettings::*wide;
    uint8_t FontSettings::*narrow;
};

const FontNumber kFontNumbers[] = {
    {"lfHeight", &FontSettings::Height, nullptr},
    {"lfWidth", &FontSettings::Width, nullptr},
    {"lfEscapement", &FontSettings::Escapement, nullptr},
    {"lfOrientation", &FontSettings::Orientation, nullptr},
    {"lfWeight", &FontSettings::Weight, nullptr},
    {"lfItalic", nullptr, &FontSettings::Italic},
    {"lfUnderline", nullptr, &FontSettings::Underline},
    {"lfStrikeOut", nullptr, &FontSettings::StrikeOut},
    {"lfCharSet", nullptr, &FontSettings::CharSet},
    {"lfOutPrecision", nullptr, &FontSettings::OutPrecision},
    {"lfClipPrecision", nullptr, &FontSettings::ClipPrecision},
    {"lfQuality", nullptr, &FontSettings::Quality},
    {"lfPitchAndFamily", nullptr, &FontSettings::PitchAndFamily},
};
constexpr char kFaceNameKey[] = "lfFaceName";

}  // namespace

FontSettings LoadFontSettings(ProfileFile& ini) {
    FontSettings font;
    for (const FontNumber& n : kFontNumbers) {
        if (n.wide)
            font.*n.wide = ini.GetInt(kFontSection, n.key, font.*n.wide);
        else
            font.*n.narrow = static_cast<uint8_t>(ini.GetInt(kFontSection, n.key, font.*n.narrow));
    }
    font.FaceName = ini.GetString(kFontSection, kFaceNameKey, font.FaceName, kMaxFaceNameLength + 1);
    return font;
}

bool SaveFontSettings(ProfileFile& ini, const FontSettings& font) {
    bool ok = true;
    for (const FontNumber& n : kFontNumbers) {
        const int value = n.wide ? static_cast<int>(font.*n.wide) : static_cast<int>(font.*n.narrow);
        ok = ini.WriteString(kFontSection, n.key, std::to_string(value)) && ok;
    }
    return ini.WriteString(kFontSection, kFaceNameKey, font.FaceName.substr(0, kMaxFaceNameLength)) && ok;
}

int ResultCode(KeyboardFileResult result) {
    switch (result) {
        case KeyboardFileResult::Done: return 0;
        case KeyboardFileResult::ShortFile:
        case KeyboardFileResult::ReadFailed:
        case KeyboardFileResult::WriteFailed: return -2;
        default: return -1;
    }
}

KeyboardFileResult ReadKeyboardFile(lex::FileSystem& files, const std::string& path, LayoutTables& tables) {
    std::string image;
    switch (lex::ReadFileStart(files, path, kLayoutFileSize, image)) {
        case lex::ReadOutcome::Whole: break;
        case lex::ReadOutcome::Short: return KeyboardFileResult::ShortFile;
        case lex::ReadOutcome::ReadError: return KeyboardFileResult::ReadFailed;
        default: return KeyboardFileResult::NotOpened;
    }
    DecodeLayout(reinterpret_cast<const uint8_t*>(image.data()), tables);
    return KeyboardFileResult::Done;
}

bool FinishInterruptedLayoutSave(lex::FileSystem& files, const std::string& path) {
    const std::string companion = MakeIniName(path);
    return companion.empty() || lex::FinishInterruptedPairSave(files, companion, path);
}

std::string CopiedCompanionName(const std::string& path) {
    return path.size() < 4 ? std::string() : path.substr(0, path.size() - 4) + ".ini";
}

NewLayoutName CheckNewLayoutName(lex::FileSystem& files, const std::string& path) {
    if (!IsUsableKeyboardName(path)) return NewLayoutName::Refused;
    FinishInterruptedLayoutSave(files, path);
    if (files.Exists(path)) return NewLayoutName::LayoutExists;
    const std::string probe = lex::TemporaryName(path);
    const lex::FileHandle h = files.Create(probe);
    if (h == lex::kNoFile) return NewLayoutName::Refused;
    files.Close(h);
    files.Remove(probe);
    return files.Exists(CopiedCompanionName(path)) ? NewLayoutName::CompanionExists : NewLayoutName::Free;
}

bool CopyLayoutPair(lex::FileSystem& files, const std::string& source, const std::string& target) {
    const std::string sourceIni = CopiedCompanionName(source);
    const std::string targetIni = CopiedCompanionName(target);
    if (targetIni.empty()) return false;
    // A save of either layout that stopped half way is finished first: the
    // source is copied both old or both new, and the target's leftovers go.
    if (!FinishInterruptedLayoutSave(files, source) ||
        !lex::FinishInterruptedPairSave(files, targetIni, target))
        return false;
    std::string layout, ini;
    if (lex::ReadWholeFile(files, source, layout) != lex::ReadOutcome::Whole) return false;
    const lex::ReadOutcome read =
        sourceIni.empty() ? lex::ReadOutcome::Missing : lex::ReadWholeFile(files, sourceIni, ini);
    if (read == lex::ReadOutcome::Missing)
        return lex::WriteFileReplacing(files, target, layout) == lex::WriteOutcome::Done;
    if (read != lex::ReadOutcome::Whole) return false;
    // The companion goes in place first: a layout is never there without it.
    return lex::SaveFilePair(files, {targetIni, ini}, {target, layout}) == lex::WriteOutcome::Done;
}

KeyboardFileResult KeyboardLayoutStore::LoadKeyboardFile(const std::string& requested) {
    const std::string path = fixedPath_.empty() ? requested : fixedPath_;
    lastPath_ = path;
    KeyboardFileResult result = KeyboardFileResult::NameRefused;
    LayoutTables scratch;
    // A save that stopped half way is finished first, so that the layout and
    // its companion are both old or both new; while it cannot be, the pair
    // may be mixed and is not loaded.
    if (IsUsableKeyboardName(path)) {
        result = KeyboardFileResult::NotOpened;
        if (FinishInterruptedLayoutSave(files_, path))
            result = ReadKeyboardFile(files_, path, scratch);
    }
    if (result != KeyboardFileResult::Done) {
        unloadedPath_ = path;
        messages_.ShowFileMessage(kLoadFailedText);
        return result;
    }
    unloadedPath_.clear();
    Tables = scratch;
    Modified = false;
    workIniName_ = MakeWorkIniName(path);

    std::string companion;
    const lex::ReadOutcome read = lex::ReadWholeFile(files_, MakeIniName(path), companion);
    // A companion that is there but cannot be read must not be replaced later by
    // a working copy that lacks its entries.
    keepCompanion_ = read != lex::ReadOutcome::Whole && read != lex::ReadOutcome::Missing;
    if (read == lex::ReadOutcome::Missing)
        return files_.Remove(workIniName_) ? KeyboardFileResult::CompanionMissing
                                           : KeyboardFileResult::WorkingCopyFailed;
    if (read != lex::ReadOutcome::Whole ||
        lex::WriteFileReplacing(files_, workIniName_, companion) != lex::WriteOutcome::Done) {
        files_.Remove(workIniName_);
        return KeyboardFileResult::WorkingCopyFailed;
    }
    return KeyboardFileResult::Done;
}

KeyboardFileResult KeyboardLayoutStore::SaveKeyboardFile(const std::string& requested) {
    const std::string path = fixedPath_.empty() ? requested : fixedPath_;
    lastPath_ = path;
    auto fail = [&](KeyboardFileResult r) {
        messages_.ShowFileMessage(kSaveFailedText);
        return r;
    };
    if (!IsUsableKeyboardName(path)) return fail(KeyboardFileResult::NameRefused);
    // The tables do not come from a file whose load failed: what that file
    // holds is replaced only at the user's word.
    if (path == unloadedPath_ && files_.Exists(path) && !messages_.ConfirmReplaceUnloaded(path))
        return KeyboardFileResult::Declined;

    std::string image(kLayoutFileSize, '\0');
    EncodeLayout(Tables, reinterpret_cast<uint8_t*>(&image[0]));
    const std::string companion = MakeIniName(path);
    // What an earlier save left half way is finished before this one writes.
    if (!FinishInterruptedLayoutSave(files_, path)) return fail(KeyboardFileResult::WriteFailed);
    std::string work;
    bool haveWork = false;
    if (!workIniName_.empty() && !keepCompanion_) {
        const lex::ReadOutcome read = lex::ReadWholeFile(files_, workIniName_, work);
        if (read != lex::ReadOutcome::Whole && read != lex::ReadOutcome::Missing)
            return fail(KeyboardFileResult::WriteFailed);
        haveWork = read == lex::ReadOutcome::Whole;
    }

    // The companion goes in place first: beside the old layout its new
    // commands do nothing, while a new layout beside the old companion could
    // name a program the companion lacks.
    const lex::WriteOutcome written = haveWork ? lex::SaveFilePair(files_, {companion, work}, {path, image})
                                               : lex::WriteFileReplacing(files_, path, image);
    switch (written) {
        case lex::WriteOutcome::Done: break;
        case lex::WriteOutcome::NotCreated: return fail(KeyboardFileResult::NotOpened);
        default: return fail(KeyboardFileResult::WriteFailed);
    }
    Modified = false;
    if (path == unloadedPath_) unloadedPath_.clear();
    if (!haveWork && files_.Exists(companion)) return KeyboardFileResult::CompanionNotSaved;
    return KeyboardFileResult::Done;
}

}  // namespace lex::keyboard

#include "ts/editor/layout_editor.h"

namespace ts {

int ShownState::KeyState() const {
    return (Shift ? lex::keyboard::kStateShift : 0) + (Alt ? lex::keyboard::kStateAlt : 0) + (Ctrl ? lex::keyboard::kStateCtrl : 0) +
           lex::keyboard::kStatesPerPrefix * (PendingPrefix + 1);
}

bool KeyDisabled(int group, int key, const ShownState& shown) {
    if (group == lex::keyboard::kFunctionKeys) return key == 0 || key == 9;
    if (group == lex::keyboard::kKeypadKeys) return shown.Shift || key == 1;
    return false;
}

KeyboardFaces ComputeFaces(const lex::keyboard::LayoutTables& tables, const ShownState& shown, lex::keyboard::ProfileFile& workIni,
                           const std::string& unusableText) {
    KeyboardFaces faces;
    const int state = shown.KeyState();
    const lex::keyboard::PrefixDef* prefix =
        shown.PendingPrefix >= 0 && shown.PendingPrefix < lex::keyboard::kPrefixCount ? &tables.Prefixes[shown.PendingPrefix] : nullptr;
    for (int group = 0; group < lex::keyboard::kKeyGroupCount; ++group) {
        const int count = lex::keyboard::KeyCount(group);
        const std::vector<std::string> commands = lex::keyboard::ReadRunCommands(workIni, group, state);
        auto& keys = faces.Keys[group];
        keys.resize(count);
        for (int k = 0; k < count; ++k) {
            const lex::keyboard::LayoutKey& key = *tables.Key(group, k);
            KeyFace& face = keys[k];
            const unsigned char c = static_cast<unsigned char>(key.Chars[state] & 0xFF);
            if (c != 0) face.Caption = std::string(1, static_cast<char>(c));
            face.Active = key.ScanCode != 0;
            if (key.ScanCode != 0 && prefix && prefix->ScanCode == key.ScanCode) {
                face.Marked = true;
                faces.MarkShift |= (prefix->Modifiers & lex::keyboard::kStateShift) != 0;
                faces.MarkAlt |= (prefix->Modifiers & lex::keyboard::kStateAlt) != 0;
                faces.MarkCtrl |= (prefix->Modifiers & lex::keyboard::kStateCtrl) != 0;
            }
            face.Disabled = KeyDisabled(group, k, shown);
            const std::string& command = k < static_cast<int>(commands.size()) ? commands[k] : std::string();
            if (command.size() > 1 && tables.GetRunFlag(group, k, state) == 1) {
                face.StartsProgram = true;
                face.Tip = command;
            }
            if (face.Disabled) face.Tip = unusableText;
        }
    }
    return faces;
}

unsigned char KeyCharacter(const lex::keyboard::LayoutTables& tables, const KeyRef& ref) {
    if (!ref.Valid()) return 0;
    return static_cast<unsigned char>(tables.Key(ref.Group, ref.Key)->Chars[ref.State] & 0xFF);
}

bool AssignKey(lex::keyboard::LayoutTables& tables, lex::keyboard::ProfileFile& workIni, const KeyRef& ref, bool startsProgram,
               unsigned char character, const std::string& command) {
    if (!ref.Valid()) return false;
    // The command first: a key must never start a program whose command
    // was not stored.
    if (command.size() > 1 && !lex::keyboard::WriteRunCommand(workIni, ref.Group, ref.Key, ref.State, command)) return false;
    tables.SetRunFlag(ref.Group, ref.Key, ref.State, startsProgram ? 1 : 0);
    tables.Key(ref.Group, ref.Key)->Chars[ref.State] = character;
    return true;
}

int CharacterMapStart(const std::string& caption) {
    const int first = caption.empty() ? 0 : static_cast<unsigned char>(caption[0]);
    return first == 9 || first >= 31 ? first : -1;
}

bool ApplyCharacterPick(lex::keyboard::LayoutTables& tables, const KeyRef& ref, int picked) {
    if (!ref.Valid() || picked < 0) return false;
    tables.SetRunFlag(ref.Group, ref.Key, ref.State, 0);
    tables.Key(ref.Group, ref.Key)->Chars[ref.State] = static_cast<int16_t>(picked & 0xFF);
    return true;
}

namespace {

void ClearState(lex::keyboard::LayoutTables& tables, lex::keyboard::ProfileFile& workIni, const KeyRef& ref, int state) {
    tables.Key(ref.Group, ref.Key)->Chars[state] = 0;
    tables.SetRunFlag(ref.Group, ref.Key, state, 0);
    if (lex::keyboard::ReadRunCommand(workIni, ref.Group, ref.Key, state).size() > 1)
        lex::keyboard::WriteRunCommand(workIni, ref.Group, ref.Key, state, "");
}

}  // namespace

void DeleteStateImage(lex::keyboard::LayoutTables& tables, lex::keyboard::ProfileFile& workIni, const KeyRef& ref) {
    if (ref.Valid()) ClearState(tables, workIni, ref, ref.State);
}

void DeleteAllImages(lex::keyboard::LayoutTables& tables, lex::keyboard::ProfileFile& workIni, const KeyRef& ref) {
    if (!ref.Valid()) return;
    for (int t = 0; t < lex::keyboard::kKeyStateCount; ++t) ClearState(tables, workIni, ref, t);
}

void DeleteWholeKey(lex::keyboard::LayoutTables& tables, lex::keyboard::ProfileFile& workIni, const KeyRef& ref) {
    if (!ref.Valid()) return;
    DeleteAllImages(tables, workIni, ref);
    tables.Key(ref.Group, ref.Key)->ScanCode = 0;
}

void SetScanCode(lex::keyboard::LayoutTables& tables, const KeyRef& ref, int scanCode) {
    if (ref.Valid()) tables.Key(ref.Group, ref.Key)->ScanCode = static_cast<int16_t>(scanCode);
}

void SetPrefix(lex::keyboard::LayoutTables& tables, int prefix, int modifiers, int scanCode) {
    if (prefix < 0 || prefix >= lex::keyboard::kPrefixCount) return;
    tables.Prefixes[prefix].Modifiers = static_cast<int16_t>(modifiers & 7);
    tables.Prefixes[prefix].ScanCode = static_cast<int16_t>(scanCode);
}

void DeletePrefix(lex::keyboard::LayoutTables& tables, int prefix) { SetPrefix(tables, prefix, 0, 0); }

}  // namespace ts

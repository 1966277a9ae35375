// The ini files of the system (lx2000.ini, ts2000.ini, tastrix.ini and any
// other profile file) are read and written through one table-driven class.
//
// A file is described by three things:
//   - an enumeration of its keys, ending in Count;
//   - its key table: one IniKeyDef row per key, in the order of the
//     enumeration (section, key, type, default, buffer size, how the two
//     numbers a, b of a call enter the names);
//   - its file name: a bare name such as "tastrix.ini" puts the file in the
//     Windows directory; tests give a full temporary path instead.
// A specialisation of IniKeyTable ties the three together; IniFile<Key> then
// reads and writes that file:
//
//   enum class TastrixKey : int { LexActive, Count };
//   template <> struct IniKeyTable<TastrixKey> {
//       static constexpr const char* kFileName = "tastrix.ini";
//       static const IniKeyDef<TastrixKey>& Row(TastrixKey id);  // kRows[id]
//   };
//   using TastrixIniFile = IniFile<TastrixKey>;
//
// A missing file or key gives the table's default. Reading never creates or
// changes the file. A write tells whether the profile function wrote the
// value; callers that may go on without it ignore the answer.
#pragma once

#include <cstddef>
#include <string>
#include <utility>

namespace lex {

enum class SettingType { Text, Int };

// How the two numbers a, b of a read or write enter the names.
enum class SettingArgs {
    None,           // fixed section and key
    Index,          // key "...%d..." (or "%i") with a
    PairDirection,  // key "...%d_%d" with a = pair, b = direction
    FontTypeSlot,   // section "TTF%c%d": a = type (0 'O', 1 'T', 2 'V'), b = slot
};

// One key of an ini file.
template <typename Key>
struct IniKeyDef {
    Key id;
    const char* section;      // printf format when args is FontTypeSlot
    const char* key;          // printf format when args is Index or PairDirection
    SettingType type;
    SettingArgs args;
    int intDefault;           // Int keys
    const char* textDefault;  // Text keys
    int bufferSize;           // Text keys: bytes read, terminator included
    // Int keys whose default depends on a and b; nullptr: intDefault.
    int (*intDefaultOf)(int a, int b) = nullptr;
};

// True when a key table has one row per key, in the order of the enumeration
// (for a static_assert beside the table).
template <typename Key, std::size_t N>
constexpr bool IniTableInOrder(const IniKeyDef<Key> (&rows)[N]) {
    if (N != static_cast<std::size_t>(Key::Count)) return false;
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<std::size_t>(rows[i].id) != i) return false;
    return true;
}

// The file a key enumeration belongs to: specialised once per file with
//   static constexpr const char* kFileName;          the programs' file name
//   static const IniKeyDef<Key>& Row(Key id);         the table row of a key
template <typename Key>
struct IniKeyTable;

// The profile functions behind IniFile (one place for the Windows calls).
namespace ini {
std::string SectionName(const char* section, SettingArgs args, int a, int b);
std::string KeyName(const char* key, SettingArgs args, int a, int b);
// At most bufferSize - 1 bytes (bufferSize <= 0: 254 bytes and the terminator).
std::string ReadText(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& defaultText, int bufferSize);
int ReadInt(const std::string& file, const std::string& section, const std::string& key, int defaultValue);
bool WriteText(const std::string& file, const std::string& section, const std::string& key,
               const std::string& value);
}  // namespace ini

template <typename Key>
class IniFile {
public:
    using Table = IniKeyTable<Key>;
    using Def = IniKeyDef<Key>;

    explicit IniFile(std::string fileName = Table::kFileName) : fileName_(std::move(fileName)) {}

    const std::string& FileName() const { return fileName_; }
    static const Def& Definition(Key id) { return Table::Row(id); }

    // Section and key names of a row with its numbers filled in.
    std::string SectionName(Key id, int a = 0, int b = 0) const {
        const Def& def = Definition(id);
        return ini::SectionName(def.section, def.args, a, b);
    }
    std::string KeyName(Key id, int a = 0, int b = 0) const {
        const Def& def = Definition(id);
        return ini::KeyName(def.key, def.args, a, b);
    }

    // The table's default of an Int key.
    int IntDefault(Key id, int a = 0, int b = 0) const {
        const Def& def = Definition(id);
        return def.intDefaultOf ? def.intDefaultOf(a, b) : def.intDefault;
    }

    // Plain access with the table's default (no range check). A Text read of
    // an Int key gives its default as digits; texts are cut to the row's buffer.
    std::string ReadText(Key id, int a = 0, int b = 0) const {
        const Def& def = Definition(id);
        const std::string defaultText =
            def.type == SettingType::Text ? std::string(def.textDefault) : std::to_string(IntDefault(id, a, b));
        return ini::ReadText(fileName_, SectionName(id, a, b), KeyName(id, a, b), defaultText, def.bufferSize);
    }
    int ReadInt(Key id, int a = 0, int b = 0) const { return ReadIntOr(id, IntDefault(id, a, b), a, b); }
    // With the caller's default in place of the table's (for keys whose
    // readers disagree about the default).
    int ReadIntOr(Key id, int defaultValue, int a = 0, int b = 0) const {
        return ini::ReadInt(fileName_, SectionName(id, a, b), KeyName(id, a, b), defaultValue);
    }

    // Range-checked readers: a value that fails the check gives the table's
    // default (ReadIntClamped gives the nearer limit instead).
    template <typename Check>
    int ReadIntIf(Key id, Check valid, int a = 0, int b = 0) const {
        const int value = ReadInt(id, a, b);
        return valid(value) ? value : IntDefault(id, a, b);
    }
    int ReadIntInRange(Key id, int min, int max, int a = 0, int b = 0) const {
        return ReadIntIf(id, [min, max](int value) { return value >= min && value <= max; }, a, b);
    }
    int ReadIntClamped(Key id, int min, int max, int a = 0, int b = 0) const {
        const int value = ReadInt(id, a, b);
        return value < min ? min : value > max ? max : value;
    }

    // False when the value could not be written.
    bool WriteText(Key id, const std::string& value, int a = 0, int b = 0) const {
        return ini::WriteText(fileName_, SectionName(id, a, b), KeyName(id, a, b), value);
    }
    bool WriteInt(Key id, int value, int a = 0, int b = 0) const {  // "%d"
        return WriteText(id, std::to_string(value), a, b);
    }

private:
    std::string fileName_;
};

}  // namespace lex

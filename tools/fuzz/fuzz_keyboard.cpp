// The keyboard files: a layout (.tsb) of any length and contents, its
// companion ini and working copy, and the switch file, under a script of
// reads, loads, edits, saves, ini writes and copies. Properties:
//   - a layout read whole decodes and encodes back to the same kLayoutFileSize bytes;
//   - a load that takes the layout holds the file's tables, and its working
//     copy holds the companion's bytes; a load that does not keeps the tables;
//   - a save that works writes the tables and puts the working copy in the
//     companion's place;
//   - an ini value written plain reads back as written, and no other key
//     changes; the key-caption font reads back as saved;
//   - the switch file reads as its bytes decode, and encodes back to them;
//   - a layout copy that works gives both files of the source.
// Input: the layout (a flag byte: bit 0 there, bit 1 its bytes repeated to
// a 16-bit length; then a 16-bit length and the bytes), the companion and the
// working copy (a flag byte, a 16-bit length and the bytes each), then one
// byte per operation with its arguments.
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>

#include "core/files/testing/faulty_file_system.h"
#include "core/keyboard/keyboard_file.h"
#include "core/keyboard/switch_file.h"
#include "fuzz_support.h"

namespace {

using lexfuzz::Check;

struct Messages : lex::keyboard::KeyboardFileMessages {
    bool Replace = true;
    void ShowFileMessage(const std::string&) override {}
    bool ConfirmReplaceUnloaded(const std::string&) override { return Replace; }
};

struct Harness {
    lexfuzz::RunFolder folder;
    std::string Layout = folder.Sub("ru.tsb"), Copy = folder.Sub("copy.tsb");
};

// A name of letters, digits and '_' (never empty).
std::string Name(lexfuzz::Input& in) {
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_";
    std::string s = in.Bytes(1 + in.Byte() % 6);
    for (char& c : s) c = kChars[static_cast<uint8_t>(c) % (sizeof kChars - 1)];
    return s.empty() ? "K" : s;
}

// A value that reads back as written: no control bytes, no blanks at either
// end, not enclosed in a pair of quotes, not empty.
bool Plain(const std::string& v) {
    if (v.empty() || v.front() == ' ' || v.back() == ' ') return false;
    if (v.size() >= 2 && v.front() == v.back() && (v.front() == '"' || v.front() == '\'')) return false;
    for (unsigned char c : v)
        if (c < 0x20 || c == 0x7f) return false;
    return true;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string Image(const lex::keyboard::LayoutTables& t) {
    std::string image(lex::keyboard::kLayoutFileSize, '\0');
    lex::keyboard::EncodeLayout(t, reinterpret_cast<uint8_t*>(&image[0]));
    return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Harness* harness = new Harness;
    Harness& h = *harness;
    h.folder.Clear();
    lex::testing::FaultyFileSystem files;
    lex::FileSystem& real = *files.Inner;
    lexfuzz::Input in(data, size);
    {
        const uint8_t flag = in.Byte();
        std::string layout = in.Blob();
        if (flag & 2) {
            const size_t length = in.U16();
            std::string tiled;
            while (!layout.empty() && tiled.size() < length) tiled += layout;
            layout = tiled.substr(0, length);
        }
        if (flag & 1) Check(lexfuzz::PutFile(real, h.Layout, layout), "the layout cannot be written");
        for (const std::string& path : {lex::keyboard::MakeIniName(h.Layout), lex::keyboard::MakeWorkIniName(h.Layout)}) {
            const uint8_t there = in.Byte();
            const std::string bytes = in.Blob();
            if (there & 1) Check(lexfuzz::PutFile(real, path, bytes), "an ini cannot be written");
        }
    }
    Messages messages;
    lex::keyboard::KeyboardLayoutStore store(files, messages);
    const std::string ini = lex::keyboard::MakeIniName(h.Layout);
    for (int ops = 0; !in.Empty() && ops < 32; ++ops) {
        const uint8_t op = in.Byte() % 9;
        switch (op) {
        case 0: {  // a reader of the layout (the keyboard hook's)
            lex::keyboard::LayoutTables tables;
            if (lex::keyboard::ReadKeyboardFile(files, h.Layout, tables) == lex::keyboard::KeyboardFileResult::Done)
                Check(Image(tables) == lexfuzz::FileBytes(real, h.Layout).value_or("").substr(0, lex::keyboard::kLayoutFileSize),
                      "a layout does not encode back to its bytes");
            break;
        }
        case 1: {  // the editor's load
            const lex::keyboard::LayoutTables before = store.Tables;
            const std::optional<std::string> companion = lexfuzz::FileBytes(real, ini);
            const lex::keyboard::KeyboardFileResult r = store.LoadKeyboardFile(h.Layout);
            if (lex::keyboard::LayoutTaken(r)) {
                Check(Image(store.Tables) == lexfuzz::FileBytes(real, h.Layout).value_or("").substr(0, lex::keyboard::kLayoutFileSize),
                      "a load took other tables than the file's");
                if (r == lex::keyboard::KeyboardFileResult::Done)
                    Check(lexfuzz::FileBytes(real, store.WorkIniName()) == companion,
                          "the working copy differs from the companion");
            } else {
                Check(store.Tables == before, "a load that failed changed the tables");
            }
            break;
        }
        case 2: {  // an edit of a key or a run flag
            const uint8_t g = in.Byte() % 3, k = in.Byte(), s = in.Byte() % lex::keyboard::kKeyStateCount;
            const int16_t value = static_cast<int16_t>(in.U16());
            if (lex::keyboard::LayoutKey* key = store.Tables.Key(g, k % lex::keyboard::KeyCount(g))) key->Chars[s] = value;
            store.Tables.SetRunFlag(g, k % lex::keyboard::KeyCount(g), s, value);
            store.Modified = true;
            break;
        }
        case 3: {  // a program assignment in the working copy
            if (store.WorkIniName().empty()) break;
            lex::keyboard::TextProfileFile work = store.WorkIni();
            const uint8_t g = in.Byte() % 3, k = in.Byte(), s = in.Byte() % lex::keyboard::kKeyStateCount;
            const std::string command = in.Text();
            if (lex::keyboard::WriteRunCommand(work, g, k % lex::keyboard::KeyCount(g), s, command) && Plain(command) &&
                command.size() < lex::keyboard::kRunCommandSize)
                Check(lex::keyboard::ReadRunCommand(work, g, k % lex::keyboard::KeyCount(g), s) == command,
                      "a command does not read back as written");
            break;
        }
        case 4: {  // the key-caption font
            if (store.WorkIniName().empty()) break;
            lex::keyboard::TextProfileFile work = store.WorkIni();
            lex::keyboard::FontSettings font;
            font.Height = in.I32();
            font.Weight = in.I32();
            font.Italic = in.Byte();
            font.CharSet = in.Byte();
            font.FaceName = Name(in);
            if (lex::keyboard::SaveFontSettings(work, font))
                Check(lex::keyboard::LoadFontSettings(work) == font, "the font does not read back as saved");
            break;
        }
        case 5: {  // the editor's save
            messages.Replace = in.Byte() & 1;
            const std::optional<std::string> work =
                store.WorkIniName().empty() ? std::nullopt : lexfuzz::FileBytes(real, store.WorkIniName());
            const lex::keyboard::KeyboardFileResult r = store.SaveKeyboardFile(h.Layout);
            if (r == lex::keyboard::KeyboardFileResult::Done || r == lex::keyboard::KeyboardFileResult::CompanionNotSaved) {
                Check(lexfuzz::FileBytes(real, h.Layout) == Image(store.Tables), "a save wrote other tables");
                if (r == lex::keyboard::KeyboardFileResult::Done && work)
                    Check(lexfuzz::FileBytes(real, ini) == work, "a save did not put the working copy in place");
            }
            break;
        }
        case 6: {  // any key of the companion written
            lex::keyboard::TextProfileFile file(files, ini);
            const std::string section = in.Byte() & 1 ? Name(in) : "RUN", key = Name(in), value = in.Text();
            const std::pair<std::string, std::string> probes[] = {
                {"RUN", "0_1_0"}, {"RUN", "1_2_3"}, {"FONT", "lfHeight"}, {"FONT", "lfFaceName"}, {section, "K"}};
            std::string before[5];
            for (int i = 0; i < 5; ++i) before[i] = file.GetString(probes[i].first, probes[i].second, "<none>", 300);
            if (!file.WriteString(section, key, value)) break;
            for (int i = 0; i < 5; ++i) {
                const bool written = SameName(probes[i].first, section) && SameName(probes[i].second, key);
                const std::string now = file.GetString(probes[i].first, probes[i].second, "<none>", 300);
                if (!written)
                    Check(now == before[i], "writing [" + section + "] " + key + " changed [" + probes[i].first +
                                                "] " + probes[i].second);
            }
            if (Plain(value))
                Check(file.GetString(section, key, "<none>", 300) == value, "a value does not read back as written");
            break;
        }
        case 7: {  // the switch file
            const std::string path = h.folder.Sub(lex::keyboard::kSwitchFileName);
            const std::string bytes = in.Bytes(in.Byte() % 64);
            Check(lexfuzz::PutFile(real, path, bytes), "the switch file cannot be written");
            const lex::keyboard::HotKeys keys = lex::keyboard::ReadSwitchFile(files, path);
            Check(keys == lex::keyboard::DecodeSwitchFile(bytes), "the switch file reads otherwise than it decodes");
            if (bytes.size() == lex::keyboard::kSwitchFileSize)
                Check(lex::keyboard::EncodeSwitchFile(keys) == bytes, "the switch file does not encode back to its bytes");
            lex::keyboard::HotKeys other;
            for (lex::keyboard::HotKey& k : other) k = {static_cast<int16_t>(in.U16()), static_cast<int16_t>(in.U16())};
            if (lex::keyboard::WriteSwitchFile(files, path, other))
                Check(lex::keyboard::ReadSwitchFile(files, path) == other, "the switch file does not read back as written");
            break;
        }
        default: {  // a new layout copied from this one
            const std::optional<std::string> layout = lexfuzz::FileBytes(real, h.Layout),
                                             companion = lexfuzz::FileBytes(real, ini);
            if (lex::keyboard::CopyLayoutPair(files, h.Layout, h.Copy)) {
                Check(lexfuzz::FileBytes(real, h.Copy) == layout, "the copy's layout differs from its source");
                if (companion)
                    Check(lexfuzz::FileBytes(real, lex::keyboard::CopiedCompanionName(h.Copy)) == companion,
                          "the copy's companion differs from its source's");
            }
            real.Remove(h.Copy);
            real.Remove(lex::keyboard::CopiedCompanionName(h.Copy));
            break;
        }
        }
        Check(files.OpenCount() == 0, "a file stays open");
    }
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    using lexfuzz::BlobOf;
    using lexfuzz::Script;
    lexfuzz::WriteSeedsIfAsked([](const lexfuzz::SeedSink& seed) {
        // A layout of kLayoutFileSize bytes from a repeated pattern, a companion with a
        // command and a font.
        const std::string full = Script({3}) + BlobOf(Script({0x1e, 0, 'a', 0, 'A', 0})) + Script({0x8c, 0x34});
        const std::string companion = "[RUN]\r\n0_1_0=notepad.exe\r\n\r\n[FONT]\r\nlfHeight=-13\r\nlfFaceName=System\r\n";
        const std::string withIni = full + Script({1}) + BlobOf(companion) + Script({0}) + BlobOf("");
        const std::string edits = Script({1, 2, 0, 16, 1, 0xe8, 0, 3, 0, 16, 1, 7}) + "calc.ex" +
                                  Script({4, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 3, 'A', 'r', 'i'}) + Script({5, 1, 1, 0, 8});
        seed("layout-with-companion", withIni + edits);
        seed("layout-without-companion", full + Script({0}) + BlobOf("") + Script({0}) + BlobOf("") + edits);
        // A short layout, then one a byte too long.
        seed("short-layout", Script({3}) + BlobOf("xy") + Script({0x8b, 0x34}) + Script({1}) + BlobOf(companion) +
                                 Script({0}) + BlobOf("") + Script({0, 1, 5, 0, 8}));
        seed("long-layout", Script({3}) + BlobOf("xyz") + Script({0x8d, 0x34}) + Script({0}) + BlobOf("") +
                                Script({0}) + BlobOf("") + Script({0, 1, 8}));
        seed("ini-writes", withIni + Script({6, 0, 0, 5, 0, 0, 0, 0, 0, 3, 'a', 'b', 'c', 6, 1, 3, 'F', 'O', 'N', 'T',
                                             0, 3, 'x', '=', 'y', 6, 0, 2, 0, 0, 2, '"', 'q'}));
        std::string sw = Script({7, 44});
        for (int i = 0; i < 11; ++i) sw += Script({6, 0, 0x3b + i, 0});
        seed("switch-file", full + Script({0}) + BlobOf("") + Script({0}) + BlobOf("") + sw + Script({7, 10, 1, 2}));
    });
    return 0;
}

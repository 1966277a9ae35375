// The lookup session on slot files as a damaged disk or another program may
// leave them: the six files of slot 0 come from the input, then a script of
// the lookup window's steps (look up, select a line, scroll, switch the
// slot, read a shown entry). Properties after every step: no file stays
// open; the scroll bar's position lies in its range; the list holds at most
// the visible rows; a line to select is one of them; the slot is a slot.
// Input: the number of visible rows (2 + the first byte), six files (a 16-bit length and
// the bytes each: key index, nodes, user words, user translations, CD words,
// CD translations), then one byte per step with its arguments.
#include <cstdint>
#include <string>
#include <vector>

#include "core/files/testing/faulty_file_system.h"
#include "core/lookup/lookup_session.h"
#include "fuzz_support.h"

namespace {

using lexfuzz::Check;

const char* const kWords[] = {"apple", "banana", "ch", "", "zebra", "Apfel", "  melon ", "\x9e\x9e"};

using Harness = lexfuzz::EngineHarness;

std::string Word(lexfuzz::Input& in) {
    const uint8_t a = in.Byte();
    return (a & 0x80) ? in.Text() : kWords[a & 7];
}

void CheckView(const lex::LookupSession& session, const lex::LookupView& view, int visible, const char* step,
               lex::testing::FaultyFileSystem& files) {
    const std::string after = std::string(" after ") + step;
    Check(files.OpenCount() == 0, "a file stays open" + after);
    const lex::ScrollBarState& bar = session.ScrollBar();
    Check(bar.Min <= bar.Max && bar.Position >= bar.Min && bar.Position <= bar.Max,
          "the scroll bar's position leaves its range" + after);
    Check(session.Rows().size() <= static_cast<size_t>(visible), "more rows than lines" + after);
    Check(view.SelectLine >= -1 && view.SelectLine < static_cast<int>(session.Rows().size()),
          "a line to select that the list lacks" + after);
    Check(lex::IsValidSlot(session.Slot()), "the session left the slots" + after);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Harness* harness = new Harness;
    Harness& h = *harness;
    h.folder.Clear();
    h.hooks.History.clear();
    h.hooks.Errors.clear();
    lexfuzz::Input in(data, size);
    // The list window shows 25 lines; a list of one line is no list (its
    // selection would leave it at every slide).
    const int visible = 2 + in.Byte() % 29;
    h.settings.VisibleRows = visible;
    h.settings.CurrentSlot = 0;
    const auto& s = h.settings;
    for (const std::string* path : {&s.KeyIndexPaths[0], &s.NodePaths[0], &s.UserWordsPaths[0],
                                    &s.UserTranslationsPaths[0], &s.CdWordsPaths[0], &s.CdTranslationsPaths[0]})
        Check(lexfuzz::PutFile(*h.files.Inner, *path, in.Blob()), "the slot's files cannot be written");
    Check(lex::CreateSlotFiles(h.ctx, 1) == 1, "slot 1 cannot be created");

    int keyChecks = 0, keyFrom = in.Byte() % 8 == 0 ? in.Byte() : -1;
    lex::LookupSession session(h.ctx, h.settings, [&] { return keyFrom >= 0 && keyChecks++ >= keyFrom; });
    for (int steps = 0; !in.Empty() && steps < 48; ++steps) {
        const uint8_t op = in.Byte() % 8;
        lex::LookupView view;
        const char* step = "?";
        switch (op) {
        case 0: step = "a lookup"; view = session.LookUp(Word(in)); break;
        case 1: step = "a pasted lookup"; view = session.LookUpKeepingScrollBar(Word(in)); break;
        case 2:
        case 3:
            step = "a selection";
            view = session.Select(static_cast<int>(in.Byte() % (session.Rows().size() + 2)) - 1);
            break;
        case 4: {
            step = "a scroll";
            const auto move = static_cast<lex::ScrollMove>(in.Byte() % 10);
            view = session.Scroll(move, static_cast<int16_t>(in.U16()));
            break;
        }
        case 5: {
            step = "a switch of the slot";
            const int slot = static_cast<int>(in.Byte() % 24) - 2;
            view = session.GoTo(slot, Word(in));
            break;
        }
        case 6: step = "a new scroll bar"; session.NewScrollBar(); break;
        default: {
            step = "a shown entry read again";
            std::vector<std::string> translations;
            const auto& rows = session.Rows();
            if (!rows.empty()) {
                const lex::ResultRow& row = rows[in.Byte() % rows.size()];
                lex::ReadShownEntry(h.ctx, session.Slot(), row.Offset, row.Word, translations);
            } else {
                lex::ReadShownEntry(h.ctx, 0, in.I32(), Word(in), translations);
            }
            break;
        }
        }
        CheckView(session, view, visible, step, h.files);
    }
    return 0;
}

// Seeds: slots made by the engine, with scripts of lookups, selections,
// scrolls and switches.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lexfuzz::WriteSeedsIfAsked([](const lexfuzz::SeedSink& seed) {
        Harness h;
        auto add = [&](const char* word, const char* tr, const char* pron) {
            std::string t = tr;
            return lex::RunSlotCommand(h.ctx, 0, [&] { return lex::AddEntry(h.ctx, word, pron, t, 1); });
        };
        auto slotBytes = [&](int visible) {
            std::string out(1, static_cast<char>(visible - 2));
            const auto& s = h.settings;
            for (const std::string* path : {&s.KeyIndexPaths[0], &s.NodePaths[0], &s.UserWordsPaths[0],
                                            &s.UserTranslationsPaths[0], &s.CdWordsPaths[0], &s.CdTranslationsPaths[0]})
                out += lexfuzz::BlobOf(lexfuzz::FileBytes(*h.files.Inner, *path).value_or(""));
            return out + lexfuzz::Script({1});  // no key waits
        };
        using lexfuzz::Script;
        // Look up, select, slide at both ends, page, thumb and switch.
        const std::string walk = Script({0, 0, 2, 1, 2, 0, 4, 0, 0, 0, 4, 1, 0, 0, 4, 8, 0, 0, 4, 3, 0, 0,
                                         4, 8, 0, 0, 4, 4, 5, 0, 4, 8, 0, 0, 2, 2, 7, 0, 5, 3, 1, 5, 1, 0,
                                         0, 4, 4, 6, 0, 0, 4, 7, 0, 0, 4, 8, 0, 0, 1, 0x81, 1, 'c'});
        Check(lex::CreateSlotFiles(h.ctx, 0) == 1 && lex::CreateActionLog(h.ctx, h.settings.ActionLogPath) == 1,
              "slot 0 cannot be created");
        seed("empty-slot", slotBytes(3) + walk);
        Check(add("apple", "jablko", "\xe6pl") == 1 && add("apple", ".n. noun", "\xe6pl") == 1 &&
                  add("banana", "ban\xe1n", "") == 1 && add("cherry", "t\xf8" "e\x9a" "e\xf2", "") == 1 &&
                  add("date", "datle", "") == 1 &&
                  lex::RunSlotCommand(h.ctx, 0, [&] { return lex::DeleteWord(h.ctx, "date"); }) == 1 &&
                  add("fig", "f\xedk", "  ") == 1,
              "the entries cannot be added");
        seed("fruit-three-lines", slotBytes(3) + walk);
        seed("fruit-two-lines", slotBytes(2) + walk);
        const char* more[] = {"ant", "bee", "cat", "dog", "eel", "emu", "fox", "gnu", "hen", "ibis", "jay",
                              "koala", "lynx", "mole", "newt", "owl", "pig", "quail", "rat", "seal"};
        for (const char* w : more) Check(add(w, w, "") == 1, "an entry cannot be added");
        seed("thirty-words-five-lines", slotBytes(5) + walk);
        seed("thirty-words-key-waits", slotBytes(25).substr(0, slotBytes(25).size() - 1) + Script({0, 2}) + walk);
    });
    return 0;
}

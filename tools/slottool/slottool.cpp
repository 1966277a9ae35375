// slottool: creates, fills, edits and reads one dictionary slot from the
// command line. Words and texts are bytes and pass through unchanged.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "core/engine/engine.h"
#include "tools/slotgen/generated_slot.h"

namespace {

const char kUsage[] =
    "usage: slottool [--sort-type N] [--separator C] COMMAND ARGS\n"
    "  create CD DISK SLOT\n"
    "  add CD DISK SLOT LOG            (lines: word TAB translation [TAB pronunciation])\n"
    "  delete CD DISK SLOT LOG WORD [TRANSLATION]\n"
    "  undo CD DISK LOG\n"
    "  redo CD DISK LOG\n"
    "  lookup CD DISK SLOT WORD\n"
    "  dump CD DISK SLOT\n"
    "  generate CD DISK SLOT SENSES [SEED]   (a shipped slot of generated entries)\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "slottool: %s\n", message.c_str());
    return 2;
}

bool ParseInt(const std::string& s, int& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || v < -10000000 || v > 10000000) return false;
    out = static_cast<int>(v);
    return true;
}

void Print(const std::string& s) { std::fwrite(s.data(), 1, s.size(), stdout); }

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        parts.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return parts;
}

struct Tool {
    lex::DictionarySettings settings;
    std::unique_ptr<lex::FileSystem> files = lex::MakePlatformFileSystem();
    lex::RecordingDisplay display;
    lex::RecordingHooks hooks;
    lex::EngineContext ctx{settings, *files, display, hooks};
};

// Dumps every live entry of the slot in list order. The translations are
// read with their entries, in the same steps of the walk, so that a step
// that meets another program's writes reads them again whole.
int Dump(Tool& t, int slot) {
    lex::EngineContext& ctx = t.ctx;
    if (lex::OpenSlotFiles(ctx, slot, lex::kOpenReadShared) != 1)
        return Fail("cannot open the files of slot " + std::to_string(slot));
    lex::NodeWalk walk = lex::WalkFromNode(slot, lex::kLowSentinelNode);
    walk.WithTranslations = true;
    while (!walk.End) {
        std::vector<lex::WalkEntry> entries;
        if (lex::StepNodeWalk(ctx, walk, 4096, 0, entries) < 0) {
            lex::CloseSlotFiles(ctx);
            return Fail("the node list of slot " + std::to_string(slot) + " is damaged");
        }
        for (const lex::WalkEntry& entry : entries) {
            std::string line = entry.Word + "\t" + entry.Pronunciation;
            for (const lex::EntryTranslation& tr : entry.Translations) {
                std::string text = tr.Text;
                if (!text.empty() && static_cast<uint8_t>(text[0]) == lex::kGrammarNoteByte)
                    text[0] = t.settings.GrammarSeparator;
                line += "\t" + text;
            }
            Print(line + "\n");
        }
    }
    lex::CloseSlotFiles(ctx);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    int sortType = -1;
    char separator = '.';
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--sort-type") {
            if (i + 1 >= argc || !ParseInt(argv[i + 1], sortType) || sortType < 0 || sortType > 10)
                return Fail("--sort-type needs a number 0..10");
            ++i;
        } else if (a == "--separator") {
            if (i + 1 >= argc || std::strlen(argv[i + 1]) != 1)
                return Fail("--separator needs one character");
            separator = argv[++i][0];
        } else {
            args.push_back(a);
        }
    }
    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string command = args[0];
    struct Shape {
        const char* name;
        size_t minArgs, maxArgs;
        bool hasSlot;
    };
    static const Shape kShapes[] = {
        {"create", 4, 4, true}, {"add", 5, 5, true},   {"delete", 6, 7, true},
        {"undo", 4, 4, false},  {"redo", 4, 4, false}, {"lookup", 5, 5, true},
        {"dump", 4, 4, true},   {"generate", 5, 6, true},
    };
    const Shape* shape = nullptr;
    for (const Shape& s : kShapes)
        if (command == s.name) shape = &s;
    if (!shape) {
        std::fputs(kUsage, stderr);
        return Fail("unknown command \"" + command + "\"");
    }
    if (args.size() < shape->minArgs || args.size() > shape->maxArgs) {
        std::fputs(kUsage, stderr);
        return Fail("wrong number of arguments for " + command);
    }

    Tool t;
    lex::FillSlotPaths(t.settings, args[1], args[2]);
    int slot = 0;
    if (shape->hasSlot && (!ParseInt(args[3], slot) || !lex::IsValidSlot(slot)))
        return Fail("SLOT must be 0..19");
    for (int s = 0; s < lex::kSlotCount; ++s)
        t.settings.SortType[s] = static_cast<int16_t>(sortType >= 0 ? sortType : lex::DefaultSortType(s));
    t.settings.GrammarSeparator = separator;
    t.settings.CurrentSlot = slot;
    lex::EngineContext& ctx = t.ctx;

    if (command == "create") {
        if (lex::CreateSlotFiles(ctx, slot) != 1) return Fail("cannot create the files of the slot");
        return 0;
    }
    if (command == "generate") {
        int senses = 0, seed = 1;
        if (!ParseInt(args[4], senses) || senses < 0 || (args.size() == 6 && !ParseInt(args[5], seed)))
            return Fail("SENSES and SEED must be numbers");
        if (lex::WriteShippedSlot(ctx, slot, lex::GenerateEntries(senses, static_cast<unsigned>(seed))) != 1)
            return Fail("cannot write the files of the slot");
        return 0;
    }
    if (command == "undo" || command == "redo") {
        t.settings.ActionLogPath = args[3];
        int r = command == "undo" ? lex::UndoLastAction(ctx) : lex::RedoAction(ctx);
        std::printf("%d\n", r);
        return 0;
    }
    if (command == "lookup") {
        std::vector<lex::ResultRow> rows;
        int n = lex::LookupWord(ctx, args[4], rows, slot);
        if (n < 0) return Fail("lookup failed: the files of the slot cannot be read");
        Print(t.display.Pronunciation + "\n");
        Print(t.display.Translation);
        Print("--\n");
        for (const lex::ResultRow& row : rows) Print(row.Word + "\t" + row.Pronunciation + "\n");
        return 0;
    }
    if (command == "dump") return Dump(t, slot);

    t.settings.ActionLogPath = args[4];
    // Asked without opening it: a log another writer holds is there all the
    // same, and must never be created anew (that would empty it).
    if (command == "add" && !t.files->Exists(t.settings.ActionLogPath) &&
        lex::CreateActionLog(ctx, t.settings.ActionLogPath) != 1)
        return Fail("cannot create the action log " + t.settings.ActionLogPath);
    // One user command; a log or slot that cannot be opened prints as -1.
    auto run = [&](const std::function<int()>& edit) {
        int r = lex::RunSlotCommand(ctx, slot, edit);
        return r == lex::kCommandNoAccess ? -1 : r;
    };
    if (command == "delete") {
        std::string word = args[5];
        int r;
        if (args.size() == 7) {
            std::string translation = args[6];
            r = run([&] { return lex::DeleteTranslation(ctx, word, translation); });
        } else {
            r = run([&] { return lex::DeleteWord(ctx, word); });
        }
        std::printf("%d\n", r);
        return 0;
    }
    // add
    std::string line;
    int lineNumber = 0;
    while (std::getline(std::cin, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> parts = SplitTabs(line);
        if (parts.size() < 2 || parts.size() > 3)
            return Fail("line " + std::to_string(lineNumber) +
                        ": expected word TAB translation [TAB pronunciation]");
        if (parts[0].empty())
            return Fail("line " + std::to_string(lineNumber) + ": the word is empty");
        std::string translation = parts[1];
        const std::string pronunciation = parts.size() == 3 ? parts[2] : std::string();
        int r = run([&] { return lex::AddEntry(ctx, parts[0], pronunciation, translation, 1); });
        std::printf("%d\n", r);
        std::fflush(stdout);
    }
    return 0;
}

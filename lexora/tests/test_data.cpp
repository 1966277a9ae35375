#include "test_data.h"

#include <cstdio>

#include "core/ui/quiet_display.h"

namespace lexora_test {

TestFolders MakeFolders(const std::string& name) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    TestFolders f;
    f.Base = std::string(temp) + name + "\\";
    RemoveFolder(f.Base);
    ::CreateDirectoryA(f.Base.c_str(), nullptr);
    f.Program = f.Base + "program files\\";
    f.Cd = f.Base + "cd\\";
    f.Disk = f.Base + "disk\\";
    for (const std::string* d : {&f.Program, &f.Cd, &f.Disk}) ::CreateDirectoryA(d->c_str(), nullptr);
    f.ActionLog = f.Program + "akce0.idx";
    return f;
}

void WriteDataFolders(const TestFolders& folders, const std::string& ini) {
    ::WritePrivateProfileStringA("CESTY", "Umisteni slovni zasoby CD", folders.Cd.c_str(), ini.c_str());
    ::WritePrivateProfileStringA("CESTY", "Umisteni slovni zasoby DISK", folders.Disk.c_str(), ini.c_str());
    ::WritePrivateProfileStringA("INDEX", "akce0.idx", folders.Disk.c_str(), ini.c_str());
}

void WriteStartSettings(const TestFolders& folders, const std::string& ini, int uiLanguage) {
    ::WritePrivateProfileStringA("KOMM", "JAZ", std::to_string(uiLanguage).c_str(), ini.c_str());
    WriteDataFolders(folders, ini);
}

void RemoveFolder(const std::string& path) {
    std::string pattern = path + "*";
    WIN32_FIND_DATAA data;
    HANDLE h = ::FindFirstFileA(pattern.c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = path + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(full + "\\");
            } else {
                ::DeleteFileA(full.c_str());
            }
        } while (::FindNextFileA(h, &data));
        ::FindClose(h);
    }
    ::RemoveDirectoryA(path.c_str());
}

namespace {

// An engine over the data of one test.
struct TestEngine {
    explicit TestEngine(const TestFolders& folders) : settings(Settings(folders)) {}

    static lex::DictionarySettings Settings(const TestFolders& folders) {
        lex::DictionarySettings s;
        lex::FillSlotPaths(s, folders.Cd, folders.Disk);
        for (int slot = 0; slot < lex::kSlotCount; ++slot) s.SortType[slot] = lex::DefaultSortType(slot);
        s.ActionLogPath = folders.ActionLog;
        return s;
    }

    lex::DictionarySettings settings;
    std::unique_ptr<lex::FileSystem> files = lex::MakePlatformFileSystem();
    lex::QuietDisplay display;
    lex::RecordingHooks hooks;
    lex::EngineContext ctx{settings, *files, display, hooks};
};

bool Add(lex::EngineContext& ctx, const std::vector<Entry>& list) {
    for (const Entry& e : list) {
        std::string translation = e.Translation;
        if (lex::RunSlotCommand(ctx, e.Slot,
                       [&] { return lex::AddEntry(ctx, e.Word, e.Pronunciation, translation, 1); }) != 1)
            return false;
    }
    return true;
}

}  // namespace

bool MakeDictionary(const TestFolders& folders, const std::vector<int>& slots, const std::vector<Entry>& entries,
                    const std::vector<std::string>& deleted, const std::vector<Entry>& last) {
    TestEngine engine(folders);
    lex::EngineContext& ctx = engine.ctx;
    for (int slot : slots) {
        if (lex::CreateSlotFiles(ctx, slot) != 1) return false;
    }
    if (lex::CreateActionLog(ctx, engine.settings.ActionLogPath) != 1) return false;
    if (!Add(ctx, entries)) return false;
    for (const std::string& word : deleted) {
        if (lex::RunSlotCommand(ctx, 0, [&] { return lex::DeleteWord(ctx, word); }) != 1) return false;
    }
    return Add(ctx, last);
}

bool AddEntries(const TestFolders& folders, const std::vector<Entry>& entries) {
    TestEngine engine(folders);
    return Add(engine.ctx, entries);
}

std::vector<int> StandardSlots() { return {0, 1, 2, 3, 4, 5}; }

std::vector<Entry> StandardEntries() {
    std::vector<Entry> e = {
        {0, "cat", "ko\xE8ka", "ket"},
        {0, "do", "d\xEClat", "d\xFA"},
        {0, "do", "\xE8init", "d\xFA"},
        {0, "dog", "pes", "dog"},
        {0, "door", "dve\xF8" "e", "d\xF3r"},
    };
    for (int i = 0; i < 40; ++i) {
        char word[16];
        std::snprintf(word, sizeof word, "fill%02d", i);
        e.push_back({0, word, "v\xFDpl\xF2", ""});
    }
    e.push_back({1, "\xE8" "aj", "tea", ""});
    e.push_back({1, "pes", "dog", ""});
    e.push_back({3, "pes", "Hund", ""});
    e.push_back({4, "\xE4\xEE\xEC", "d\xF9m", ""});  // дом (1251) -> dům (1250)
    return e;
}

Entry LastEntry() { return {0, "zebra", "zebra", "z\xED" "bra"}; }

std::vector<std::string> LiveEntries(const TestFolders& folders, int slot) {
    lex::DictionarySettings s;
    lex::FillSlotPaths(s, folders.Cd, folders.Disk);
    for (int i = 0; i < lex::kSlotCount; ++i) s.SortType[i] = static_cast<int16_t>(lex::DefaultSortType(i));
    s.ActionLogPath = folders.ActionLog;
    auto files = lex::MakePlatformFileSystem();
    lex::RecordingDisplay display;
    lex::RecordingHooks hooks;
    lex::EngineContext ctx(s, *files, display, hooks);
    std::vector<std::string> out;
    if (lex::OpenSlotFiles(ctx, slot, lex::kOpenReadShared) != 1) return {"<cannot open>"};
    int32_t offset = lex::kLowSentinelNode;
    for (int guard = 0; offset != 0 && guard < 100000; ++guard) {
        if (lex::ReadNodeAt(ctx, offset) != 1) break;
        const lex::NodeBuffer e = ctx.Node;
        if (!e.Node.Deleted()) {
            std::vector<std::string> translations;
            lex::ReadLiveTranslations(ctx, e.Node.FirstTranslation, e.Node.Flags, translations);
            std::string line = e.Word + "|" + e.Pronunciation;
            for (const std::string& t : translations) line += "|" + t;
            out.push_back(line);
        }
        offset = e.Node.Next;
    }
    lex::CloseSlotFiles(ctx);
    return out;
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace lexora_test

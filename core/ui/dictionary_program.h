// The program-wide state that the dictionary program and the bulk utility
// share: lx2000.ini and what was read from it, the UI texts, the message
// buffers, the history, the file layer and the fonts of the slots. Each
// program's Program object derives from it and adds its own parts (its
// engine context, its windows' state).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "core/files/file_system.h"
#include "core/history/history_list.h"
#include "core/settings/settings.h"
#include "core/ui/slot_fonts.h"
#include "core/texts/text_loader.h"
#include "core/ui/message_boxes.h"

namespace lex {

class DictionaryProgramState : public SlotFonts {
public:
    DictionaryProgramState(HINSTANCE instance, const std::string& settingsFile)
        : Instance(instance), Settings(settingsFile), Texts(instance), Files(MakePlatformFileSystem()) {
        // The code page of a side follows the sort types in memory.
        UseSortTypes(&Config.Dictionary.SortType);
    }

    HINSTANCE Instance;
    SettingsFile Settings;   // lx2000.ini
    ProgramSettings Config;  // what was read from it
    TextLoader Texts;
    MessageBuffers Messages;
    HistoryList History;
    std::unique_ptr<FileSystem> Files;

    UINT UiCodePage() const { return Texts.CodePage(); }
    // Reads the fonts of every slot (lx2000.ini font sections).
    void CreateFonts() { ReadSlotFonts(Settings); }
};

}  // namespace lex

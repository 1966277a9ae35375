// A small dictionary for the tests of lexora: slots made and filled through
// the engine, in a folder of their own.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/engine/engine.h"

namespace lexora_test {

struct Entry {
    int Slot;
    std::string Word;  // bytes in the slot's code page
    std::string Translation;
    std::string Pronunciation;
};

// Folders of one test: the program folder (with a space in its name), the
// CD and disk folders of the data.
struct TestFolders {
    std::string Base;
    std::string Program;
    std::string Cd;
    std::string Disk;
    std::string ActionLog;  // Program + "akce0.idx"
};

// A fresh set of folders under the temporary folder.
TestFolders MakeFolders(const std::string& name);
void RemoveFolder(const std::string& path);

// Writes the data folders of `folders` to the settings file `ini`: the CD and
// disk folders and the disk folder's action log.
void WriteDataFolders(const TestFolders& folders, const std::string& ini);
// The UI language, then the data folders.
void WriteStartSettings(const TestFolders& folders, const std::string& ini, int uiLanguage);

// Creates the files of `slots` and adds `entries` (one command each) with
// the action log of `folders`; then deletes the words of `deleted` (slot 0)
// and adds `last`. False when the engine reports a failure.
bool MakeDictionary(const TestFolders& folders, const std::vector<int>& slots, const std::vector<Entry>& entries,
                    const std::vector<std::string>& deleted = {}, const std::vector<Entry>& last = {});

// Adds `entries` to slot files made by MakeDictionary, one command each,
// logged in the action log of `folders`: what another program writing the
// same data does. False when the engine reports a failure.
bool AddEntries(const TestFolders& folders, const std::vector<Entry>& entries);

// The standard test dictionary: slot 0 English (cat deleted, do with two
// translations, dog, door,
// fill00..fill39), slot 1 Czech (čaj, pes), slot 3 Czech for German, slot 4
// Russian (дом); and the entry added by the log's last command (zebra).
std::vector<Entry> StandardEntries();
Entry LastEntry();
std::vector<int> StandardSlots();

// Every live entry of `slot` in node order, read with the engine:
// "word|pronunciation|translation1|translation2...", the texts as bytes.
std::vector<std::string> LiveEntries(const TestFolders& folders, int slot);

// Size of a file, -1 when it is not there.
long long FileSize(const std::string& path);

}  // namespace lexora_test

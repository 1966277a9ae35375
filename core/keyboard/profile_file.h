// One ini file read and written key by key, as the Windows profile functions
// do it (GetPrivateProfileString, GetPrivateProfileInt,
// WritePrivateProfileString). The keyboard files' companion ini and its working
// copy go through this interface; TextProfileFile is the portable
// implementation used in both builds, so the keyboard module needs no
// windows.h and its tests run natively.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/files/whole_files.h"

namespace lex::keyboard {

class ProfileFile {
public:
    virtual ~ProfileFile() = default;
    // The value of section/key, or `fallback` when the file, the section, the key
    // or its value is missing; at most size - 1 characters, as a profile read
    // into a buffer of `size` bytes.
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& fallback, int size) = 0;
    // GetString of several keys of one section; TextProfileFile reads the file once.
    virtual std::vector<std::string> GetStrings(const std::string& section, const std::vector<std::string>& keys,
                                                const std::string& fallback, int size);
    // Sets section/key to `value` (an empty value stays as "key="), creating the
    // key, the section or the file as needed. False when the file could not be
    // written or a text holds a line break.
    virtual bool WriteString(const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    // The value read as a decimal integer: leading blanks, a sign and the leading
    // digits count ("12abc" is 12, "abc" is 0); an empty or missing value gives
    // `fallback`.
    int GetInt(const std::string& section, const std::string& key, int fallback);
};

// The profile rules over a text file read and written whole through a file layer:
// - sections "[NAME]" and keys "key=value", names compared without regard to
//   ASCII case, blanks around names and values ignored;
// - a value enclosed in a pair of the same quotes (" or ') is read without them;
// - only the first section of a name is searched, and in it the first key;
// - a line without "=" is kept but has no value;
// - a write changes the key's line in place, or adds the key after the last
//   line of the section, or adds the section at the end; the other lines stay
//   byte for byte. The new contents replace the file only when written whole.
class TextProfileFile : public ProfileFile {
public:
    TextProfileFile(lex::FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}

    const std::string& Path() const { return path_; }

    // Keeps the file's lines from the first read on: later reads of this
    // object and of its copies come from memory, and their own writes keep
    // them current. For a file nothing else changes meanwhile (the working
    // copy of a layout's companion ini), so a large one is read once.
    void KeepContents();

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& fallback, int size) override;
    std::vector<std::string> GetStrings(const std::string& section, const std::vector<std::string>& keys,
                                        const std::string& fallback, int size) override;
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;

private:
    struct Kept;
    lex::FileSystem& files_;
    std::string path_;
    std::shared_ptr<Kept> kept_;  // shared by the copies
};

}  // namespace lex::keyboard

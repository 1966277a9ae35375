// Whole-file and temporary-folder helpers of the tests, portable: a test sets
// up and inspects real files directly, beside the file layer it checks.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace lex {
namespace testing {

// The bytes of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Replaces the contents of a file with `bytes`, creating it when missing.
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// A fresh folder under the system's temporary folder, named `prefix` and a
// random number, with the given subfolders; removed with all it holds when
// the object goes.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix, std::initializer_list<const char*> subfolders = {});
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The path of `name` in the folder.
    std::string Sub(const std::string& name) const;
    // The names of the files in the folder, sorted.
    std::vector<std::string> Names() const;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace testing
}  // namespace lex

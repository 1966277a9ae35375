#include "core/files/testing/test_files.h"

#include <algorithm>
#include <fstream>
#include <random>

namespace lex {
namespace testing {

std::string ReadFileBytes(const std::string& path) {
    // In one read of the size the file has (fault runs read many files).
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return std::string();
    const std::streamoff size = in.tellg();
    if (size <= 0) return std::string();
    std::string out(static_cast<size_t>(size), '\0');
    in.seekg(0);
    in.read(&out[0], static_cast<std::streamsize>(out.size()));
    out.resize(static_cast<size_t>(in.gcount()));
    return out;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

TempFolder::TempFolder(const std::string& prefix, std::initializer_list<const char*> subfolders) {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / (prefix + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
    for (const char* sub : subfolders) std::filesystem::create_directories(path_ / sub);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempFolder::Sub(const std::string& name) const { return (path_ / name).string(); }

std::vector<std::string> TempFolder::Names() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace testing
}  // namespace lex

#include "core/files/testing/faulty_file_system.h"

namespace lex {
namespace testing {
namespace {

bool Contains(const std::string& path, const std::string& part) {
    return !part.empty() && path.find(part) != std::string::npos;
}

}  // namespace

void FaultyFileSystem::FailNth(FileOp op, int nth, const std::string& pathPart) {
    faults_.push_back({op, nth, Effect::Fail, pathPart});
}

void FaultyFileSystem::ShortNthWrite(int nth, const std::string& pathPart) {
    faults_.push_back({FileOp::Write, nth, Effect::Short, pathPart});
}

void FaultyFileSystem::FailNthChange(int nth) { failChangeAt_ = nth; }

void FaultyFileSystem::StopAtChange(int nth) {
    stopAt_ = nth;
    stopped_ = false;
}

void FaultyFileSystem::ClearFaults() {
    faults_.clear();
    failChangeAt_ = 0;
    stopAt_ = 0;
    stopped_ = false;
}

FaultyFileSystem::Effect FaultyFileSystem::Strike(FileOp op, const std::string& path) {
    Effect effect = Effect::None;
    for (Fault& f : faults_) {
        if (f.op != op || f.left <= 0 || (!f.pathPart.empty() && !Contains(path, f.pathPart))) continue;
        if (--f.left == 0 && effect == Effect::None) effect = f.effect;
    }
    return effect;
}

bool FaultyFileSystem::Change() {
    ++Changes;
    if (stopAt_ > 0 && --stopAt_ == 0) stopped_ = true;
    const bool failed = failChangeAt_ > 0 && --failChangeAt_ == 0;
    return !stopped_ && !failed;
}

std::string FaultyFileSystem::PathOf(FileHandle h) const {
    const auto it = Open_.find(h);
    return it == Open_.end() ? std::string() : it->second;
}

FileHandle FaultyFileSystem::Track(FileHandle h, const std::string& path) {
    if (h != kNoFile) Open_[h] = path;
    return h;
}

FileHandle FaultyFileSystem::Open(const std::string& path, int mode) {
    if (Strike(FileOp::Open, path) != Effect::None || Contains(path, FailOpenOf)) return kNoFile;
    const FileHandle h = Track(Inner->Open(path, mode), path);
    if (h != kNoFile) ++Opens;
    return h;
}

FileHandle FaultyFileSystem::Create(const std::string& path) {
    if (!Change() || Strike(FileOp::Create, path) != Effect::None) return kNoFile;
    return Track(Inner->Create(path), path);
}

FileHandle FaultyFileSystem::CreateNew(const std::string& path) {
    if (!Change() || Strike(FileOp::Create, path) != Effect::None) return kNoFile;
    return Track(Inner->CreateNew(path), path);
}

int32_t FaultyFileSystem::Read(FileHandle h, void* buffer, uint32_t count) {
    ++Reads;
    const std::string path = PathOf(h);
    if (BeforeRead) BeforeRead(path);
    if (Strike(FileOp::Read, path) != Effect::None || Contains(path, FailReadsFrom)) return -1;
    return Inner->Read(h, buffer, count);
}

int32_t FaultyFileSystem::Write(FileHandle h, const void* buffer, uint32_t count) {
    const std::string path = PathOf(h);
    if (BeforeWrite) BeforeWrite(path);
    ++Writes;
    if (!Change()) return -1;
    Effect effect = Strike(FileOp::Write, path);
    if (effect == Effect::None && Contains(path, FailWritesTo) && !FailClose) {
        if (FailAfterWrites <= 0)
            effect = ShortWrites ? Effect::Short : Effect::Fail;
        else
            --FailAfterWrites;
    }
    if (effect == Effect::Fail) return -1;
    if (effect == Effect::Short) {
        const int32_t half = Inner->Write(h, buffer, count / 2);
        return half < 0 ? -1 : half;
    }
    return Inner->Write(h, buffer, count);
}

bool FaultyFileSystem::Truncate(FileHandle h, int64_t size) {
    // A truncation is a write that cannot be cut short.
    const std::string path = PathOf(h);
    if (BeforeWrite) BeforeWrite(path);
    ++Writes;
    if (!Change() || Strike(FileOp::Truncate, path) != Effect::None) return false;
    if (Contains(path, FailWritesTo) && !FailClose && FailAfterWrites <= 0) return false;
    return Inner->Truncate(h, size);
}

bool FaultyFileSystem::Close(FileHandle h) {
    const bool fail = FailClose && Contains(PathOf(h), FailWritesTo);
    Open_.erase(h);
    return Inner->Close(h) && !fail;
}

bool FaultyFileSystem::Exists(const std::string& path) {
    ++ExistsChecks;
    return Inner->Exists(path);
}

bool FaultyFileSystem::Replace(const std::string& from, const std::string& to) {
    if (!Change() || Strike(FileOp::Replace, to) != Effect::None || Contains(to, FailReplaceOf)) return false;
    return Inner->Replace(from, to);
}

bool FaultyFileSystem::Remove(const std::string& path) {
    if (!Change() || Strike(FileOp::Remove, path) != Effect::None) return false;
    return Inner->Remove(path);
}

std::string FaultCase::Name() const {
    const char* what = kind == kFailed ? "change failed" : kind == kShort ? "write short" : "killed before change";
    return std::string(what) + " " + std::to_string(nth);
}

void FaultCase::Apply(FaultyFileSystem& files) const {
    switch (kind) {
    case kFailed: files.FailNthChange(nth); break;
    case kShort: files.ShortNthWrite(nth); break;
    case kKilled: files.StopAtChange(nth); break;
    }
}

std::vector<FaultCase> FaultCases(int changes, int writes) {
    std::vector<FaultCase> cases;
    for (int k = 1; k <= changes; ++k) cases.push_back({FaultCase::kFailed, k});
    for (int k = 1; k <= writes; ++k) cases.push_back({FaultCase::kShort, k});
    for (int k = 1; k <= changes; ++k) cases.push_back({FaultCase::kKilled, k});
    return cases;
}

}  // namespace testing
}  // namespace lex

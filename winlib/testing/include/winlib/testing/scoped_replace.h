// Scope guards for tests: whatever a test replaces (a hook, a callback
// function, a file name, a global) comes back when the guard's scope ends,
// also when a failed assertion returns early from the test.
#pragma once

#include <utility>

namespace wl::testing {

// Replaces `target` by `value` for the guard's lifetime and puts the old value
// back at its end:
//   wl::testing::ScopedReplace record(restarts, std::vector<std::string>{});
template <typename T>
class ScopedReplace {
public:
    template <typename U>
    ScopedReplace(T& target, U&& value) : target_(target), saved_(std::move(target)) {
        target_ = std::forward<U>(value);
    }
    ~ScopedReplace() { target_ = std::move(saved_); }
    ScopedReplace(const ScopedReplace&) = delete;
    ScopedReplace& operator=(const ScopedReplace&) = delete;

    const T& Saved() const { return saved_; }

private:
    T& target_;
    T saved_;
};

template <typename T, typename U>
ScopedReplace(T&, U&&) -> ScopedReplace<T>;

// Runs `undo` when the scope ends: for state behind a setter, not a variable.
//   wl::Dialog::SetTestHook(hook);
//   wl::testing::AtScopeEnd clear([] { wl::Dialog::SetTestHook(nullptr); });
template <typename F>
class AtScopeEnd {
public:
    explicit AtScopeEnd(F undo) : undo_(std::move(undo)) {}
    ~AtScopeEnd() { undo_(); }
    AtScopeEnd(const AtScopeEnd&) = delete;
    AtScopeEnd& operator=(const AtScopeEnd&) = delete;

private:
    F undo_;
};

}  // namespace wl::testing

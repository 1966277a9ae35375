// Answers the dialogs that the code under test opens in this thread, one
// step per dialog, in the order they finish their set-up. A step runs inside
// its dialog's own loop, so it may drive the dialog with real messages and
// open further dialogs, which take the following steps.
//
//   wl::testing::DialogScript script({
//       [&](wl::Dialog& d) { ClickButton(d.Handle(), IDOK); },       // the first dialog
//       [&](wl::Dialog& box) { ClickButton(box.Handle(), IDOK); },   // the message it shows
//   });
//   ::SendMessageW(frame, WM_COMMAND, CM_SOMETHING, 0);
//   EXPECT_EQ(script.StepsRun(), 2u);
//
// A dialog still open long after its step (a step that failed to close it)
// ends with kAbandoned, so that the test fails instead of hanging.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "winlib/dialog.h"

namespace wl::testing {

class DialogScript {
public:
    using Step = std::function<void(Dialog&)>;

    DialogScript() = default;
    // Armed at once.
    explicit DialogScript(std::vector<Step> steps);
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // Adds a step after the others; Arm() before the dialogs come.
    void Then(Step step);
    // Waits for the next dialog (again, after steps were added).
    void Arm();
    // Steps that have run, and whether every step has run.
    size_t StepsRun() const { return next_; }
    bool Done() const { return next_ >= steps_.size(); }

private:
    std::vector<Step> steps_;
    size_t next_ = 0;
};

}  // namespace wl::testing

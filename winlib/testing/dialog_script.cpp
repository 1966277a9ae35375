#include "winlib/testing/dialog_script.h"

#include "winlib/testing.h"

namespace wl::testing {

namespace {
constexpr UINT_PTR kWatchdogTimer = 0x7E57;
void CALLBACK Watchdog(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(hwnd, id);
    ::EndDialog(hwnd, kAbandoned);
}
}  // namespace

DialogScript::DialogScript(std::vector<Step> steps) : steps_(std::move(steps)) { Arm(); }

DialogScript::~DialogScript() { Dialog::SetTestHook(nullptr); }

void DialogScript::Then(Step step) { steps_.push_back(std::move(step)); }

void DialogScript::Arm() {
    if (Done()) {
        Dialog::SetTestHook(nullptr);
        return;
    }
    Dialog::SetTestHook([this](Dialog& d) {
        Step step = steps_[next_++];
        Arm();
        ::SetTimer(d.Handle(), kWatchdogTimer, kWatchdogMs, &Watchdog);
        step(d);
    });
}

}  // namespace wl::testing

#include "winlib/application.h"

#include "winlib/dialog.h"
#include "winlib/exception_barrier.h"
#include "winlib/frame.h"

namespace wl {

std::string ModulePath(HINSTANCE module) {
    char path[MAX_PATH + 1] = {};
    const DWORD n = ::GetModuleFileNameA(module, path, MAX_PATH);
    return std::string(path, n);
}

std::string ProgramFolderOf(const std::string& programPath) {
    const size_t slash = programPath.find_last_of('\\');
    if (slash == std::string::npos) return programPath;
    return programPath.substr(0, slash + 1);
}

namespace {
Application* g_current = nullptr;
}

Application::Application(HINSTANCE instance) : instance_(instance ? instance : GetModuleHandleW(nullptr)) {
    g_current = this;
}

Application::~Application() {
    if (g_current == this) g_current = nullptr;
}

Application* Application::Current() { return g_current; }

bool Application::LoadAcceleratorTable(int resourceId) {
    accelerators_ = ::LoadAcceleratorsW(instance_, MAKEINTRESOURCEW(resourceId));
    return accelerators_ != nullptr;
}

int Application::Run() {
    InitMainWindow();
    if (!mainWindow_ || !mainWindow_->Handle()) return -1;
    ShowWindow(mainWindow_->Handle(), cmdShow_);
    UpdateWindow(mainWindow_->Handle());
    return MessageLoop();
}

void Application::IdleAction() {
    if (auto* frame = dynamic_cast<FrameWindow*>(mainWindow_)) frame->UpdateCommands();
}

int Application::MessageLoop() {
    MSG msg;
    for (;;) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            // The idle updates run enablers: behind the same barrier as handlers.
            HWND main = mainWindow_ ? mainWindow_->Handle() : nullptr;
            CallGuarded(main, WM_NULL, [&] {
                IdleAction();
                return LRESULT(0);
            });
        }
        BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r == 0) return static_cast<int>(msg.wParam);
        if (r == -1) return -1;
        HWND main = mainWindow_ ? mainWindow_->Handle() : nullptr;
        if (accelerators_ && main && TranslateAcceleratorW(main, accelerators_, &msg)) continue;
        if (Dialog::IsModelessDialogMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace wl

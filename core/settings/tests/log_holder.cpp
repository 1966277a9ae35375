// Holds a file open the way a program writing its action log does (read and
// write, no sharing) until told to let go.
//   log_holder FILE READY-EVENT RELEASE-EVENT
// Exit code 0 after holding the file, 2 when it cannot be opened, 1 on bad use.
#include <windows.h>

int main(int argc, char** argv) {
    if (argc != 4) return 1;
    HANDLE file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, argv[3]);
    if (!ready || !release) return 1;
    if (file == INVALID_HANDLE_VALUE) {
        SetEvent(ready);
        return 2;
    }
    SetEvent(ready);
    WaitForSingleObject(release, 60000);
    CloseHandle(file);
    return 0;
}

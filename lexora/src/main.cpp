#include <windows.h>

#include "app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    lexora::Program program(instance);
    return lexora::OwlMain(instance, program);
}

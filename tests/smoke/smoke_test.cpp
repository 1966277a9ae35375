#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
TEST(Smoke, CreatesAWindow) {
  HWND w = CreateWindowExW(0, L"STATIC", L"x", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(w, nullptr);
  DestroyWindow(w);
}
#else
TEST(Smoke, Runs) { SUCCEED(); }
#endif

// The real Vantrel.exe as a second process: exit codes of the headless modes, and the
// single-instance rule between two copies. Windowed runs always pass a loopback scan range.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/support/test_support.h"

namespace {
const wchar_t* kWindowArgs = L"/scanrange 127.0.0.0/24";
const wchar_t* kMainClass = L"CorvalenVantrel";

struct RunningCopy {
    HANDLE process = nullptr;
    DWORD pid = 0;
    HWND window = nullptr;
    explicit RunningCopy(const std::wstring& args) {
        process = start_vantrel(args, &pid);
        if (process) window = wait_for_window(pid, kMainClass, 20000);
    }
    ~RunningCopy() {
        if (process) {
            close_and_wait(window, process, 10000);
            CloseHandle(process);
        }
    }
    bool exited_within(DWORD ms, DWORD* code) const {
        if (WaitForSingleObject(process, ms) != WAIT_OBJECT_0) return false;
        GetExitCodeProcess(process, code);
        return true;
    }
};
} // namespace

TEST(Process, TaskModeAnswersUnknownVerbsWith87) {
    EXPECT_EQ(87u, run_vantrel(L"/task Unknown x", 30000));
    EXPECT_EQ(87u, run_vantrel(L"/task Pause \"Some printer\"", 30000)) << "verbs are case-sensitive";
    EXPECT_EQ(87u, run_vantrel(L"/task Unknown", 30000)) << "a verb without an argument";
}

TEST(Process, TheMainWindowHasTheTitleAndTheScaledSize) {
    RunningCopy copy(std::wstring(L"/demo ") + kWindowArgs);
    ASSERT_NE(nullptr, copy.window);
    wchar_t title[200] = L"";
    GetWindowTextW(copy.window, title, 200);
    std::wstring text = title;
    EXPECT_EQ(0u, text.find(L"Vantrel 1.1.0 \x2014 Why Won't It Print?"));
    EXPECT_NE(std::wstring::npos, text.find(L"  [DEMO DATA]"));
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT r = {};
    GetWindowRect(copy.window, &r);
    EXPECT_EQ(MulDiv(1360, dpi, 96), r.right - r.left);
    EXPECT_EQ(MulDiv(880, dpi, 96), r.bottom - r.top);
}

// Wine takes the screen's DPI from the per-user LogPixels value when a process starts. The window
// is made, then sized for the DPI of the monitor it landed on: read once its layout has run.
TEST(Process, TheWindowIsScaledFor144Dpi) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                                             KEY_READ | KEY_WRITE, nullptr, &key, nullptr));
    DWORD old = 0, size = sizeof(old), type = 0;
    bool had = RegQueryValueExW(key, L"LogPixels", nullptr, &type, (BYTE*)&old, &size) == ERROR_SUCCESS;
    DWORD dpi = 144;
    RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, (const BYTE*)&dpi, sizeof(dpi));
    {
        RunningCopy copy(std::wstring(L"/demo ") + kWindowArgs);
        ASSERT_NE(nullptr, copy.window);
        use_physical_pixels();
        RECT b = {};
        for (int i = 0; i < 200 && (GetWindowRect(GetDlgItem(copy.window, 100), &b), b.bottom - b.top) != 66;
             i++)
            Sleep(50);
        EXPECT_EQ(66, b.bottom - b.top) << "44 at 96 DPI";
        RECT r = {};
        GetWindowRect(copy.window, &r);
        EXPECT_EQ(2040, r.right - r.left);
        EXPECT_EQ(1320, r.bottom - r.top);
    }
    if (had)
        RegSetValueExW(key, L"LogPixels", 0, type, (const BYTE*)&old, sizeof(old));
    else
        RegDeleteValueW(key, L"LogPixels");
    RegCloseKey(key);
}

TEST(Process, NetTestWritesItsFileAndExitsZero) {
    wchar_t folder[MAX_PATH + 1];
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, folder), 0u);
    std::wstring path = std::wstring(folder) + L"Vantrel-nettest.txt";
    DeleteFileW(path.c_str());
    EXPECT_EQ(0u, run_vantrel(L"/nettest 127.0.0.1 /quiet", 60000));
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    char bytes[4096];
    DWORD got = 0;
    ReadFile(file, bytes, sizeof(bytes), &got, nullptr);
    CloseHandle(file);
    std::string text(bytes, got);
    EXPECT_NE(0, text.compare(0, 3, "\xEF\xBB\xBF")) << "no byte-order mark";
    EXPECT_NE(std::string::npos, text.find("127.0.0.1"));
    EXPECT_NE(std::string::npos, text.find("\xE2\x80\x94")) << "UTF-8";
    EXPECT_NE(std::string::npos, text.find("\r\n"));
}

TEST(Process, ASecondCopyHandsOverToTheFirstAndExits) {
    RunningCopy first(kWindowArgs);
    ASSERT_NE(nullptr, first.window);
    ShowWindow(first.window, SW_MINIMIZE);
    for (int i = 0; i < 40 && !IsIconic(first.window); i++)
        Sleep(50);
    ASSERT_TRUE(IsIconic(first.window));

    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(0u, run_vantrel(kWindowArgs, 20000));
    EXPECT_LT(GetTickCount64() - start, 8000u) << "a normal second start does not wait";
    for (int i = 0; i < 100 && IsIconic(first.window); i++)
        Sleep(50);
    EXPECT_FALSE(IsIconic(first.window)) << "the first window was asked to come forward";
    EXPECT_TRUE(IsWindowVisible(first.window));
}

TEST(Process, AnElevatedCopyWaitsForTheOldOneToGo) {
    RunningCopy first(kWindowArgs);
    ASSERT_NE(nullptr, first.window);
    DWORD pid = 0;
    HANDLE second = start_vantrel(std::wstring(L"/admin ") + kWindowArgs, &pid);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(second, 2000)) << "still waiting for the mutex";
    close_and_wait(first.window, first.process, 10000);
    HWND window = wait_for_window(pid, kMainClass, 15000);
    EXPECT_NE(nullptr, window) << "took over once the first copy was gone";
    close_and_wait(window, second, 10000);
    CloseHandle(second);
}

TEST(Process, AnElevatedCopyGivesUpAfterTenSeconds) {
    RunningCopy first(kWindowArgs);
    ASSERT_NE(nullptr, first.window);
    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(0u, run_vantrel(std::wstring(L"/admin ") + kWindowArgs, 30000));
    ULONGLONG waited = GetTickCount64() - start;
    EXPECT_GE(waited, 9500u);
    EXPECT_LT(waited, 25000u);
}

// The parts test program's entry point: GoogleTest, or, when started as the elevated copy with
// "/task verb argument", that one task after a pause, so a test can act on the window while the
// copy runs.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "fixes/tasks.h"

int main(int argc, char** argv) {
    int wargc = 0;
    wchar_t** wargv = CommandLineToArgvW(GetCommandLineW(), &wargc);
    if (wargv && wargc >= 3 && wcscmp(wargv[1], L"/task") == 0) {
        Sleep(1500);
        return (int)run_task_command(wargv[2], wargc >= 4 ? wargv[3] : L"");
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

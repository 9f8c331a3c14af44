// The test program's entry point: GoogleTest, or one task when started as the elevated copy.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "fixes/tasks.h"

int main(int argc, char** argv) {
    int wargc = 0;
    wchar_t** wargv = CommandLineToArgvW(GetCommandLineW(), &wargc);
    if (wargv && wargc >= 3 && wcscmp(wargv[1], L"/task") == 0)
        return (int)run_task_command(wargv[2], wargc >= 4 ? wargv[3] : L"");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

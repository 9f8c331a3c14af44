// Keeps Wine's desktop open for a whole test run. Wine closes a desktop (and ends its desktop
// process) about a second after its last user leaves; between two test programs that happens, and
// the next program's first window then either races the closing desktop (CreateWindow fails with
// 1400) or starts a new desktop process that inherits that program's output. This program is a
// user of the desktop from the first test on, started with its output on /dev/null by
// tools/wine-run.sh. Not a test.
#include <windows.h>

#include <stdio.h>

int wmain(int argc, wchar_t** argv) {
    HWND window = CreateWindowExW(0, L"STATIC", L"desktop keeper", 0, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) return 1;
    if (argc > 1) { // the file that says the desktop is held
        FILE* ready = _wfopen(argv[1], L"w");
        if (ready) fclose(ready);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}

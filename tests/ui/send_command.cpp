// For the screenshot script: sends one command id to the running Vantrel window and, with a second
// argument, selects that row of the printer list first; "tab N" turns the ribbon's wheel N notches
// (positive: to the right). Not a test.
#include <windows.h>

#include <stdlib.h>
#include <wchar.h>

#include "tests/support/remote_controls.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 87;
    HWND window = FindWindowW(L"CorvalenVantrel", nullptr);
    if (!window) return 2;
    if (wcscmp(argv[1], L"tab") == 0 && argc > 2) {
        ribbon_wheel(window, _wtoi(argv[2]));
        return 0;
    }
    if (argc > 2) list_select_row(GetDlgItem(window, 102), _wtoi(argv[2]));
    SendMessageW(window, WM_COMMAND, (WPARAM)_wtoi(argv[1]), 0);
    return 0;
}

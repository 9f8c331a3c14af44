// For the start-time benchmark: starts Vantrel.exe with the given arguments and prints how many
// milliseconds pass until its main window exists and until the banner shows the first verdict.
// With no arguments it only prints 0, which times a bare Wine process start (the anchor). Not a test.
#include <windows.h>

#include <stdio.h>
#include <string>

#include "tests/support/remote_controls.h"
#include "tests/support/test_support.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        printf("0\n");
        return 0;
    }
    std::wstring arguments;
    for (int i = 2; i < argc; i++)
        arguments += std::wstring(i > 2 ? L" " : L"") + argv[i];
    std::wstring command = L"\"" + std::wstring(argv[1]) + L"\" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ULONGLONG t0 = GetTickCount64();
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 2;
    HWND window = wait_for_window(pi.dwProcessId, L"CorvalenVantrel", 60000);
    ULONGLONG shown = GetTickCount64() - t0;
    bool verdict = window && wait_until(
                                 [&] {
                                     std::wstring text = control_text(GetDlgItem(window, 100));
                                     return text.size() > 3 &&
                                            text.find(L"Checking the printers") == std::wstring::npos &&
                                            text.find(L"Starting") == std::wstring::npos;
                                 },
                                 60000);
    ULONGLONG first_verdict = GetTickCount64() - t0;
    // Closed before the answer is printed: a caller that starts the next copy as soon as it reads the
    // line must not find this one still holding the single-instance mutex.
    close_and_wait(window, pi.hProcess, 10000);
    printf("%llu %llu\n", shown, verdict ? first_verdict : 0ull);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return verdict ? 0 : 1;
}

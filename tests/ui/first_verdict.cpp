// For the start-time benchmark: starts Vantrel.exe with the given arguments and prints how many
// milliseconds pass until its main window exists and until the banner shows the first verdict.
// With no arguments it only prints 0, which times a bare Wine process start (the anchor). Not a test.
#include <windows.h>

#include <stdio.h>
#include <string>

#include "tests/support/remote_controls.h"
#include "tests/support/test_support.h"

// Polls more finely than the tests' wait_until: the figures here are what is being measured.
template <typename Predicate> static bool poll(Predicate predicate, DWORD timeout_ms) {
    ULONGLONG end = GetTickCount64() + timeout_ms;
    for (;;) {
        if (predicate()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(2);
    }
}

struct Found {
    DWORD pid;
    const wchar_t* className;
    HWND window;
};

static BOOL CALLBACK match_visible(HWND window, LPARAM param) {
    Found* found = reinterpret_cast<Found*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64];
    if (owner != found->pid || !IsWindowVisible(window) || !GetClassNameW(window, name, 64) ||
        lstrcmpiW(name, found->className) != 0)
        return TRUE;
    found->window = window;
    return FALSE;
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        printf("0\n");
        return 0;
    }
    const bool empty = lstrcmpiW(argv[1], L"/empty") == 0;
    const int first = empty ? 2 : 1;
    if (argc <= first) return 2;
    std::wstring arguments;
    for (int i = first + 1; i < argc; i++)
        arguments += std::wstring(i > first + 1 ? L" " : L"") + argv[i];
    std::wstring command = L"\"" + std::wstring(argv[first]) + L"\" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ULONGLONG t0 = GetTickCount64();
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 2;
    Found found = {pi.dwProcessId, empty ? L"VantrelBenchEmpty" : L"CorvalenVantrel", nullptr};
    poll(
        [&] {
            EnumWindows(match_visible, reinterpret_cast<LPARAM>(&found));
            return found.window != nullptr;
        },
        60000);
    HWND window = found.window;
    ULONGLONG shown = GetTickCount64() - t0;
    bool verdict =
        window && (empty || poll(
                                [&] {
                                    std::wstring text = control_text(GetDlgItem(window, 100));
                                    return text.size() > 3 &&
                                           text.find(L"Checking the printers") == std::wstring::npos &&
                                           text.find(L"Starting") == std::wstring::npos;
                                },
                                60000));
    ULONGLONG first_verdict = GetTickCount64() - t0;
    // Closed before the answer is printed: a caller that starts the next copy as soon as it reads the
    // line must not find this one still holding the single-instance mutex.
    close_and_wait(window, pi.hProcess, 10000);
    printf("%llu %llu\n", shown, verdict ? first_verdict : 0ull);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return verdict ? 0 : 1;
}

// What the update tests share: the release server's address and files (tests/update/update_server.py,
// started by CTest around this program), the test certificate authority trusted in this Wine prefix
// only, a message-only window standing in for the main window, and the interface services
// replaced by recorders.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The server's state folder (from VANTREL_UPDATE_SERVER) and its base address, "" when not set.
std::wstring server_dir();
std::wstring server_url(const wchar_t* path);
// The 1.2.0 file's SHA-256 as the server computed it.
std::wstring good_sha256();
// Adds the test CA to the prefix's ROOT store once; false when it could not.
bool trust_test_ca();
// The server's request log, for what a program asked for.
std::string server_requests();

// A SHA-256 of a file in lower-case hex through the program's own function; "" when unreadable.
std::wstring file_sha256(const std::wstring& path);
bool file_exists(const std::wstring& path);

// The interface services pointed at recorders and at a message-only window whose procedure hands
// the update messages to the main window's handlers, as the real window does.
struct UiRecorder {
    std::vector<std::wstring> boxes; // "caption|flags|text"
    std::vector<std::wstring> status;
    std::vector<int> progress;
    int answer = IDNO;
    int downloadsDone = 0;
    int downloadsPassed = 0; // not handed to the window: see update_fixture_win.cpp
    int checksDone = 0;
    HWND window = nullptr;
};
UiRecorder& recorder();
void install_recorder(); // resets it
void remove_recorder();
// Pumps this thread's messages until the predicate holds or the time runs out.
template <typename Predicate> bool pump_until(Predicate predicate, DWORD timeout_ms) {
    ULONGLONG end = GetTickCount64() + timeout_ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (predicate()) return true;
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

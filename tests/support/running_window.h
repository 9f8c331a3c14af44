// The real Vantrel.exe driven from this process: starting it, finding and answering its message
// boxes, and reading the clipboard, for the tests of the running window, the share and the update.
#pragma once

#include <windows.h>

#include <string>

// A running Vantrel.exe with those arguments and its main window; closed (with any box left open
// by a failed expectation cancelled first) when it goes.
struct VantrelWindow {
    HANDLE process = nullptr;
    DWORD pid = 0;
    HWND window = nullptr;
    explicit VantrelWindow(const std::wstring& arguments);
    ~VantrelWindow();
    void post(int id) const { PostMessageW(window, WM_COMMAND, id, 0); }
    void send(int id) const { SendMessageW(window, WM_COMMAND, id, 0); }
    HWND control(int id) const { return GetDlgItem(window, id); }
    std::wstring status() const;
    bool checked() const; // the check has finished
    // Its message box or dialog, once shown; null when none showed within timeout_ms.
    HWND box(DWORD timeout_ms = 15000) const;
};

// A message box's message (its text control).
std::wstring box_message(HWND box);

// Presses a box's button by its id (IDOK, IDNO, ...) and waits (bounded) until the box is gone.
bool answer_box(HWND box, int button_id);

// The text on the clipboard ("" when there is none).
std::wstring clipboard_text();

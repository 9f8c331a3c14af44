// The real Vantrel.exe driven from this process: starting it, finding its message boxes and
// dialogs and answering them, and reading the clipboard, for the tests of the running window.
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
    bool checked() const;                 // the check has finished
    HWND box(const wchar_t* title) const; // its message box or dialog with that title
};

// The top-level window of the process with that class and title (null: any title), waiting at
// most timeout_ms.
HWND wait_for_titled_window(DWORD pid, const wchar_t* class_name, const wchar_t* title, DWORD timeout_ms);

// A message box's message: the longest static text in it.
std::wstring box_message(HWND box);

// Presses a dialog's button by its id (IDOK, IDNO, ...) and waits (bounded) until the box is gone.
bool answer_box(HWND box, int button_id);

// The text on the clipboard ("" when there is none).
std::wstring clipboard_text();

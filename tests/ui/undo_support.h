// Answering another process's message boxes and dialogs, and ticking a list view's check boxes,
// for the History & Undo and report window tests.
#pragma once

#include <windows.h>

#include <string>

// The top-level window of the process with that class and title (null: any title), waiting at
// most timeout_ms.
HWND wait_for_titled_window(DWORD pid, const wchar_t* class_name, const wchar_t* title, DWORD timeout_ms);

// The process's message box or dialog that takes input now (visible and enabled), waiting at most
// timeout_ms: the one in front when a question is shown over a dialog.
HWND wait_for_enabled_box(DWORD pid, DWORD timeout_ms);

// How many top-level windows of that class the process has.
int count_windows(DWORD pid, const wchar_t* class_name);

// A message box's message: the longest static text in it.
std::wstring box_message(HWND box);

// Presses a dialog's button by its id (IDOK, IDNO, ...) and waits (bounded) until the box is gone.
bool answer_box(HWND box, int button_id);

// Ticks or unticks a row's check box; reads it back.
void list_set_checked(HWND list, int row, bool checked);
bool list_is_checked(HWND list, int row);

// The text on the clipboard ("" when there is none).
std::wstring clipboard_text();

// Reading another process's controls back, as a user's assistive tool would: list views through a
// buffer allocated inside the target process, everything else through WM_GETTEXT.
#pragma once

#include <windows.h>

#include <string>

std::wstring control_text(HWND control);
int list_row_count(HWND list);
int list_column_count(HWND list);
std::wstring list_cell(HWND list, int row, int column);
int list_selected_row(HWND list);
void list_select_row(HWND list, int row);
// Ticks or unticks a row's check box; reads it back.
void list_set_checked(HWND list, int row, bool checked);
bool list_is_checked(HWND list, int row);

// Clicks a list row as the mouse would (button down and up over its first column), so the list
// takes the focus and selects the row itself.
void list_click_row(HWND list, int row);

// One part of a status bar (WM_GETTEXT reads only the first).
std::wstring status_part_text(HWND bar, int part);

// Turns the ribbon's mouse wheel over its tab row, one notch per step: positive steps move to the
// tabs on the right. Sent, so the layout has run when it returns.
void ribbon_wheel(HWND main_window, int steps);

// Waits (bounded) until the predicate holds; returns whether it did.
template <typename Predicate> bool wait_until(Predicate predicate, DWORD timeout_ms) {
    ULONGLONG end = GetTickCount64() + timeout_ms;
    for (;;) {
        if (predicate()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(50);
    }
}

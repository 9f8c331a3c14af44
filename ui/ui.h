// The interface's entry points for the frame: its window classes, the main window, and the
// services other parts call (status line, list and banner refreshes).
#pragma once

#include <windows.h>

// Registers the seven window classes; returns 0 when the main window's class could not be made.
int register_window_classes(HINSTANCE instance);

// Creates the main window with its title at the scaled default size; null on failure.
HWND create_main_window(HINSTANCE instance, const wchar_t* title);

// Makes the main window topmost or not, without moving, sizing or activating it.
void apply_topmost(HWND window, int topmost);

// Restores a minimised window, shows it and brings it to the foreground.
void bring_to_front(HWND window);

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK ribbon_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK update_bar_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK share_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK notes_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK settings_page_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK undo_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The interface's entry points for the frame: its window classes, the main window with its title
// and size, and the message loop.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

#include "res/version.h"

#define VANTREL_MAIN_CLASS L"CorvalenVantrel"
#define VANTREL_TITLE L"Vantrel " VANTREL_VERSION_TEXT L" \x2014 Why Won't It Print?"

struct Session;

// What the main window is made with.
struct WindowStart {
    HINSTANCE instance;
    Session* session;           // the checks the window shows and drives; lives as long as the window
    const wchar_t* updatedFrom; // the version before a self-update, or null
    int show;                   // ShowWindow's command from the entry point
};

// The main window's title with its "(Administrator)" and "[DEMO DATA]" marks.
void build_window_title(wchar_t* buf, size_t cap, int elevated, int demo);

// The DPI a window is drawn at: its monitor's with per-monitor awareness, else the system's.
int window_dpi(HWND window);

// Registers the seven window classes; returns 0 when the main window's class could not be made.
int register_window_classes(HINSTANCE instance);

// Creates the main window at the scaled default size (capped to its monitor's work area), with its title,
// topmost as the setting says, and shows it; null on failure.
HWND create_main_window(const WindowStart* start);

// The message loop until the main window closes: the Share and History & Undo windows' dialog keys
// first, then the main window's.
int run_message_loop();

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

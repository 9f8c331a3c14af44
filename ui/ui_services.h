// What the window offers the rest of the interface and the frame above it (the check cycle): the
// status line, message boxes, the selected printer, notes, the clipboard and the refreshes. Nothing
// below the interface uses it: lower layers return outcomes instead. The main window installs its
// entries when it is created; until then, and in the headless modes, the defaults do nothing
// harmful, so no caller tests for null and tests swap the table freely.
#pragma once

#include <stdint.h>
#include <wchar.h>

// What a refresh redraws.
enum RefreshFlags : uint32_t {
    RefreshLists = 0x1,        // printer list and bottom list
    RefreshBanner = 0x2,       // verdict banner and status line
    RefreshRibbon = 0x4,       // ribbon layout (view button, labels, expert group)
    RefreshSettingsPage = 0x8, // the Settings page's check boxes
};

struct UiServices {
    void* (*main_window)();                            // the HWND, or null before it exists
    void (*status_text)(const wchar_t* text);          // "  %ls" in the status bar
    void (*share_or_status_text)(const wchar_t* text); // the Share window's line while it is open
    int32_t (*message_box)(const wchar_t* text, const wchar_t* title, uint32_t flags); // owned by the window
    int32_t (*selected_printer)();     // index into the snapshot, or -1
    int32_t (*bottom_selection)();     // the bottom list's selected row while it was
                                       // the list last used, else -1
    void (*switch_view)(int32_t view); // BottomView; stored as "View"
    void (*show_notes)(const wchar_t* title, const wchar_t* header, const wchar_t* body);
    int32_t (*copy_to_clipboard)(const wchar_t* text); // 1 when the text is on the clipboard
    void (*refresh)(uint32_t flags);                   // RefreshFlags
    void (*set_topmost)(int32_t topmost);
};

extern UiServices g_ui;

// The harmless defaults: no window, no text shown, a message box answers 0 (as if it could not be
// shown, which every caller treats as "not confirmed"), no printer selected, no check started.
void ui_services_defaults(UiServices* out);

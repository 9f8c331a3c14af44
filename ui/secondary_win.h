// The secondary windows: the update bar under the ribbon, the notes window for long texts, and the
// Settings page shown on the Settings tab. The main window creates the bar and the page once and
// forwards their commands to on_command.
#pragma once

#include <windows.h>

#include <stdint.h>

// What the update bar shows; written by the update check and the download on the interface thread.
struct UpdateBarState {
    wchar_t newVersion[40];
    wchar_t releaseDate[40];
    wchar_t notes[20000]; // the new version's release notes
    int32_t downloading;  // a download runs: "Update now" and "What's new" hidden, "Later" reads "Cancel"
    int32_t percent;      // -1 before the first progress message
};
extern UpdateBarState g_update_bar;

// The bar with its three buttons (142, 143, 144) and their tooltips; stored in g_main.updateBar.
void create_update_bar(HWND parent);
// Switches the buttons for a download running or ended, and repaints.
void update_bar_set_downloading(int32_t downloading);
void update_bar_repaint();

// Opens the notes window (closing any open one): header as it is, body with LF turned into CR LF.
void show_notes(const wchar_t* title, const wchar_t* header, const wchar_t* body);
HWND notes_window(); // the open notes window, or null

// The Settings page with every check box and the "Check now" button; stored in g_main.settingsPage.
void create_settings_page(HWND parent);
// Sets every check box from its setting and repaints the ribbon.
void sync_check_boxes();
// A Settings check box was clicked (ids 110-117, 140): store the setting and apply it.
void on_setting_clicked(int32_t id);

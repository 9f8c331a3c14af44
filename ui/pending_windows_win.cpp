// Window procedures of the windows whose contents are not built yet: the classes exist so that
// everything the frame registers and creates is already in place, and each procedure moves to its
// own file when its window is written.
#include "ui.h"

LRESULT CALLBACK ribbon_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }
LRESULT CALLBACK update_bar_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }
LRESULT CALLBACK share_window_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }
LRESULT CALLBACK notes_window_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }
LRESULT CALLBACK settings_page_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

// Until the ribbon, the update bar, the notes window and the Settings page are in: nothing drawn.
#include "ui/main_window.h"
#include "ui/ribbon_win.h"
#include "ui/secondary_win.h"

UpdateBarState g_update_bar = {};
void create_ribbon(HWND) {}
void ribbon_layout() {}
int32_t ribbon_tab() { return 0; }
void create_glyph_fonts() {}
void create_update_bar(HWND) {}
void update_bar_set_downloading(int32_t) {}
void update_bar_repaint() {}
void show_notes(const wchar_t*, const wchar_t*, const wchar_t*) {}
HWND notes_window() { return nullptr; }
void create_settings_page(HWND) {}
void sync_check_boxes() {}
void on_setting_clicked(int32_t) {}

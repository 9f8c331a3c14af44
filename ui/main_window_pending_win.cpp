// Stand-ins for the main window's record and services, which the update bar, the notes window and
// the Settings page use, until the main window defines them itself; that file replaces this one.
#include "main_window.h"

#include "secondary_win.h"

MainWindow g_main;

int scaled(int value_at_96) {
    return MulDiv(value_at_96, g_main.dpi > 0 ? g_main.dpi : 96, 96);
}

void add_control_tooltip(HWND, const wchar_t*) {}

void on_command(int32_t id) {
    if ((id >= 110 && id <= 117) || id == 140) on_setting_clicked(id);
}

// The keyboard alone: the keys the message loop hands here before the dialog manager sees them.
// Alt shows the ribbon's key tips; F5 checks again and F1 opens How to Use; on a list row Enter does
// what a double-click does, Shift+F10 and the context-menu key open the row's menu at the row and
// Ctrl+C copies the row; in a notes window Esc closes it and Tab moves between its text and Close.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "share/share_send.h"
#include "ui/commands.h"
#include "ui/main_window.h"
#include "ui/ribbon_win.h"
#include "ui/secondary_win.h"
#include "ui/ui_services.h"

namespace {

int32_t s_alt_alone; // Alt went down and nothing else has been pressed since

bool down(int vk) {
    return GetKeyState(vk) < 0;
}

int32_t selected_row(HWND list) {
    return (int32_t)SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

// The row's cells, tab-separated, as a spreadsheet takes them.
void copy_row(HWND list, int32_t row) {
    HWND header = (HWND)SendMessageW(list, LVM_GETHEADER, 0, 0);
    int columns = header ? (int)SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) : 1;
    std::wstring text;
    for (int c = 0; c < columns; c++) {
        wchar_t cell[1024] = L"";
        LVITEMW item = {};
        item.iSubItem = c;
        item.pszText = cell;
        item.cchTextMax = _countof(cell);
        SendMessageW(list, LVM_GETITEMTEXTW, (WPARAM)row, (LPARAM)&item);
        if (c) text += L'\t';
        text += cell;
    }
    if (copy_text_to_clipboard(g_main.window, text.c_str())) g_ui.status_text(L"Copied the selected row.");
}

// The row's menu just below the row's text, where the keyboard user is looking.
void menu_at_row(HWND list, int32_t row) {
    RECT r = {};
    r.left = LVIR_LABEL;
    if (!SendMessageW(list, LVM_GETITEMRECT, (WPARAM)row, (LPARAM)&r)) return;
    POINT at = {r.left + scaled(20), r.bottom};
    ClientToScreen(list, &at);
    open_printer_menu(at);
}

// A list row's keys; only the rows have menus in the printer list, as with the mouse.
int32_t list_key(const MSG* msg) {
    HWND list = msg->hwnd;
    const int32_t bottom = list == g_main.bottomList;
    const int32_t row = selected_row(list);
    const WPARAM vk = msg->wParam;
    if (msg->message == WM_KEYUP && vk == VK_APPS) return 1; // the menu opened on the key going down
    const bool context = (msg->message == WM_KEYDOWN && vk == VK_APPS) ||
                         (msg->message == WM_SYSKEYDOWN && vk == VK_F10 && down(VK_SHIFT));
    if (context) {
        g_main.bottomLastUsed = bottom;
        if (!bottom && row >= 0) menu_at_row(list, row);
        return 1;
    }
    if (msg->message != WM_KEYDOWN) return 0;
    if (vk == VK_RETURN) {
        if (!(msg->lParam & (1 << 30))) activate_row(bottom, row); // a held key acts once
        return 1;
    }
    if (vk == 'C' && down(VK_CONTROL) && !down(VK_MENU)) {
        if (row >= 0) copy_row(list, row);
        return 1;
    }
    return 0;
}

// Esc closes the notes window; Tab and Shift+Tab move between its text and its Close button (the
// read-only text would otherwise keep Tab); the rest is the dialog manager's (Enter and Space on Close).
int32_t notes_key(HWND notes, MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
        DestroyWindow(notes);
        return 1;
    }
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_TAB && !down(VK_CONTROL)) {
        HWND next = GetNextDlgTabItem(notes, GetFocus(), down(VK_SHIFT));
        if (next) SetFocus(next);
        return 1;
    }
    return IsDialogMessageW(notes, msg) ? 1 : 0;
}

} // namespace

int32_t main_window_key(MSG* msg) {
    const UINT m = msg->message;
    if (m < WM_KEYFIRST || m > WM_KEYLAST || !msg->hwnd) return 0;
    HWND root = GetAncestor(msg->hwnd, GA_ROOT);
    HWND notes = notes_window();
    if (notes && root == notes) return notes_key(notes, msg);
    if (!g_main.window || root != g_main.window || !IsWindowEnabled(g_main.window)) return 0;

    // Alt pressed and let go on its own shows the key tips (or takes them away); DefWindowProc would
    // otherwise enter the window menu's keyboard mode. Alt with a letter goes straight to that tab.
    const bool alt = msg->wParam == VK_MENU || msg->wParam == VK_LMENU || msg->wParam == VK_RMENU;
    if (m == WM_SYSKEYDOWN && alt) {
        if (!(msg->lParam & (1 << 30))) s_alt_alone = 1;
        return 1;
    }
    if (m == WM_SYSKEYUP && alt) {
        const int32_t alone = s_alt_alone;
        s_alt_alone = 0;
        if (!alone) return 0;
        if (ribbon_key_tips_shown())
            ribbon_stop_key_tips();
        else
            ribbon_start_key_tips();
        return 1;
    }
    if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) s_alt_alone = 0;
    // F10 on its own does what Alt does, as it opens a menu bar elsewhere.
    if (m == WM_SYSKEYDOWN && msg->wParam == VK_F10 && !down(VK_SHIFT) && !down(VK_CONTROL) &&
        msg->hwnd != g_main.printerList && msg->hwnd != g_main.bottomList) {
        if (ribbon_key_tips_shown())
            ribbon_stop_key_tips();
        else
            ribbon_start_key_tips();
        return 1;
    }
    if (m == WM_SYSKEYDOWN && msg->wParam >= 'A' && msg->wParam <= 'Z' && !down(VK_CONTROL)) {
        if (!ribbon_key_tips_shown()) ribbon_start_key_tips();
        if (g_main.ribbon) SendMessageW(g_main.ribbon, WM_CHAR, msg->wParam, 0);
        return 1;
    }
    if (ribbon_key_tips_shown()) return 0; // the ribbon has the focus and takes every key

    if (m == WM_KEYDOWN && msg->wParam == VK_F5) {
        on_command(CmdCheckNow);
        return 1;
    }
    if (m == WM_KEYDOWN && msg->wParam == VK_F1) {
        on_command(CmdHowToUse);
        return 1;
    }
    if (msg->hwnd == g_main.printerList || msg->hwnd == g_main.bottomList) return list_key(msg);
    return 0;
}

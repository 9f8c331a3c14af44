// The notes window (class "NSNotes"): one read-only text with a Close button, used for every long
// text: help, release notes and details. Only one is open at a time; opening another replaces it.
#include "secondary_win.h"

#include "commands.h"
#include "main_window.h"
#include "ui/notes.h"
#include "ui.h"

namespace {

HWND s_notes;
// The edit control keeps its own copy; one buffer serves every window in turn.
wchar_t s_text[kNotesTextCapacity];

void on_size(HWND window, int32_t width, int32_t height) {
    if (HWND text = GetDlgItem(window, IdNotesText))
        MoveWindow(text, scaled(10), scaled(10), width - scaled(20), height - scaled(58), TRUE);
    if (HWND close = GetDlgItem(window, IdNotesClose))
        MoveWindow(close, width - scaled(110), height - scaled(40), scaled(100), scaled(30), TRUE);
}

// Centred on the main window's lists, clear of its ribbon, inside the screen.
LayoutRect place_of(int32_t width, int32_t height) {
    RECT top = {0, 0, 0, 0}, bottom = {0, 0, 0, 0}, ribbon = {0, 0, 0, 0};
    HWND first = IsWindowVisible(g_main.printerList) ? g_main.printerCaption : g_main.settingsPage;
    HWND last = IsWindowVisible(g_main.printerList) ? g_main.bottomList : g_main.settingsPage;
    if (first) GetWindowRect(first, &top);
    if (last) GetWindowRect(last, &bottom);
    if (g_main.ribbon) GetWindowRect(g_main.ribbon, &ribbon);
    const LayoutRect lists = {top.left, top.top, top.right - top.left, bottom.bottom - top.top};
    const LayoutRect work = g_main.window ? work_area_of(g_main.window) : LayoutRect{0, 0, 0, 0};
    return secondary_window_place(lists, ribbon.bottom, work, width, height);
}

HWND child(HWND parent, DWORD ex_style, const wchar_t* cls, const wchar_t* text, DWORD style, int32_t id) {
    HWND w =
        CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                        (HMENU)(INT_PTR)id, (HINSTANCE)GetWindowLongPtrW(parent, GWLP_HINSTANCE), nullptr);
    if (w && g_main.normal) SendMessageW(w, WM_SETFONT, (WPARAM)g_main.normal, FALSE);
    return w;
}
} // namespace

HWND notes_window() {
    return s_notes;
}

void show_notes(const wchar_t* title, const wchar_t* header, const wchar_t* body) {
    if (s_notes) DestroyWindow(s_notes);
    build_notes_text(header, body, s_text, _countof(s_text));

    const LayoutRect at = place_of(scaled(760), scaled(600));
    HWND window = CreateWindowExW(WS_EX_DLGMODALFRAME, L"NSNotes", title ? title : L"",
                                  WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, at.x, at.y, at.width, at.height,
                                  g_main.window, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) return;
    s_notes = window;
    HWND text = child(window, WS_EX_CLIENTEDGE, L"EDIT", L"",
                      WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY, IdNotesText);
    if (text) {
        // Up to 40,000 characters: more than an edit control takes by default.
        SendMessageW(text, EM_SETLIMITTEXT, kNotesTextCapacity, 0);
        SetWindowTextW(text, s_text);
        SendMessageW(text, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(scaled(8), scaled(8)));
    }
    HWND close = child(window, 0, L"BUTTON", L"Close", WS_TABSTOP | BS_DEFPUSHBUTTON, IdNotesClose);
    RECT client;
    GetClientRect(window, &client);
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    ShowWindow(window, SW_SHOW);
    if (close) SetFocus(close);
}

LRESULT CALLBACK notes_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
        on_size(window, LOWORD(lparam), HIWORD(lparam));
        return 0;
    case WM_COMMAND:
        if ((LOWORD(wparam) == IdNotesClose || LOWORD(wparam) == IDCANCEL) && HIWORD(wparam) == 0)
            DestroyWindow(window);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (s_notes == window) s_notes = nullptr;
        return 0;
    case WM_CTLCOLORSTATIC: // the read-only text box
        SetBkColor((HDC)wparam, RGB(255, 255, 255));
        return (LRESULT)GetStockObject(WHITE_BRUSH);
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

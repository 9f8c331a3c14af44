// The Share window: a small modal window in which the user fills in what they know about the
// person, checks the message and picks a way to send it. The message rewrites itself from the name
// and the link until the user edits it by hand. The ribbon's one-click share commands live here too.
#include <windows.h>
#include <commctrl.h>

#include "core/settings.h"
#include "core/text.h"
#include "ui/ui_services.h"
#include "share/share_message.h"
#include "share/share_send.h"
#include "ui/command_handlers.h"
#include "ui/main_window.h"
#include "ui/share_window.h"
#include "ui/share_window_win.h"
#include "ui/ui.h"

struct ShareWindowState {
    HWND window;
    int32_t edited;       // the user changed the message: it is no longer rewritten
    int32_t programmatic; // the window itself is writing the message
};
static ShareWindowState s_share = {};

static HWND item(int32_t id) {
    return GetDlgItem(s_share.window, id);
}

static void get_text(int32_t id, wchar_t* buf, size_t cap) {
    buf[0] = 0;
    GetWindowTextW(item(id), buf, (int)cap);
}

static void set_status(const wchar_t* text) {
    SetWindowTextW(item(ShareStatus), text);
}

void share_or_status_text(const wchar_t* text) {
    if (s_share.window && item(ShareStatus))
        set_status(text);
    else
        g_ui.status_text(text);
}

static HWND create_control(const ShareControl& c) {
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE, ex = 0;
    switch (c.kind) {
    case ShareKindText:
        style |= c.tooltip ? SS_RIGHT | SS_NOTIFY : SS_LEFT;
        break;
    case ShareKindLabel:
        style |= SS_RIGHT | SS_CENTERIMAGE | SS_NOTIFY;
        break;
    case ShareKindStatus:
        style |= SS_LEFT | SS_CENTERIMAGE | SS_ENDELLIPSIS | SS_NOPREFIX;
        break;
    case ShareKindEdit:
        cls = L"EDIT";
        style |= WS_TABSTOP | ES_AUTOHSCROLL;
        ex = WS_EX_CLIENTEDGE;
        break;
    case ShareKindMessage:
        cls = L"EDIT";
        style |= WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        ex = WS_EX_CLIENTEDGE;
        break;
    case ShareKindButton:
        cls = L"BUTTON";
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
    case ShareKindGroup:
        cls = L"BUTTON";
        style |= BS_GROUPBOX;
        break;
    }
    const wchar_t* text = c.text;
    if (c.id == ShareYourName) text = g_settings.shareYourName;
    if (c.id == ShareLink) text = g_settings.shareLink;
    HWND control =
        CreateWindowExW(ex, cls, text ? text : L"", style, scaled(c.x), scaled(c.y), scaled(c.width),
                        scaled(c.height), s_share.window, (HMENU)(INT_PTR)c.id, g_main.instance, nullptr);
    SendMessageW(control, WM_SETFONT, (WPARAM)(c.kind == ShareKindGroup ? g_main.bold : g_main.normal),
                 FALSE);
    if (c.tooltip) add_control_tooltip(control, c.tooltip);
    return control;
}

// The main tooltip outlives this window, so its tools for these controls go when the window does.
static void remove_tooltips() {
    int32_t count = 0;
    const ShareControl* controls = share_controls(&count);
    HWND child = GetWindow(s_share.window, GW_CHILD);
    for (int32_t i = 0; i < count && child; i++, child = GetWindow(child, GW_HWNDNEXT)) {
        if (!controls[i].tooltip || !g_main.mainTooltip) continue;
        TOOLINFOW tool = {};
        tool.cbSize = sizeof(tool);
        tool.hwnd = g_main.window;
        tool.uId = (UINT_PTR)child;
        SendMessageW(g_main.mainTooltip, TTM_DELTOOLW, 0, (LPARAM)&tool);
    }
}

static void refresh_message(int32_t forced) {
    if (!forced && s_share.edited) return;
    wchar_t name[128], message[ShareMessageCap];
    static wchar_t shown[6000];
    get_text(ShareTheirName, name, _countof(name));
    compose_share_message(name, 0, message, _countof(message));
    share_to_crlf(message, shown, _countof(shown));
    s_share.programmatic = 1;
    SetWindowTextW(item(ShareMessageEdit), shown);
    s_share.programmatic = 0;
    s_share.edited = 0;
}

static void on_edit_change(int32_t id) {
    switch (id) {
    case ShareTheirName:
        refresh_message(0);
        break;
    case ShareYourName:
        get_text(ShareYourName, g_settings.shareYourName, _countof(g_settings.shareYourName));
        write_setting_string(L"ShareYourName", g_settings.shareYourName);
        refresh_message(0);
        break;
    case ShareLink:
        get_text(ShareLink, g_settings.shareLink, _countof(g_settings.shareLink));
        write_setting_string(L"ShareLink", g_settings.shareLink);
        refresh_message(0);
        break;
    case ShareMessageEdit:
        if (!s_share.programmatic) s_share.edited = 1;
        break;
    default:
        break;
    }
}

static void send_method(int32_t method) {
    wchar_t to[256], phone[64], subject[300], name[128];
    static wchar_t edit_text[12000], message[6000];
    get_text(ShareTheirEmail, to, _countof(to));
    get_text(ShareTheirPhone, phone, _countof(phone));
    get_text(ShareSubject, subject, _countof(subject));
    get_text(ShareTheirName, name, _countof(name));
    get_text(ShareMessageEdit, edit_text, _countof(edit_text));
    share_message_to_send(method, s_share.edited, edit_text, name, message, _countof(message));
    wchar_t result[300];
    share_send(s_share.window, method, to, phone, share_subject_or_default(subject), message, result,
               _countof(result));
    if (result[0]) share_or_status_text(result);
}

static void close_share_window() {
    if (!s_share.window) return;
    HWND main = g_main.window;
    // The owner is enabled first, so Windows hands the activation back to it rather than elsewhere.
    if (main) EnableWindow(main, TRUE);
    DestroyWindow(s_share.window);
    if (main) SetForegroundWindow(main);
}

static void on_command(int32_t id, int32_t code) {
    if (code == EN_CHANGE) {
        on_edit_change(id);
        return;
    }
    if (code != BN_CLICKED) return;
    if (id >= ShareFirstMethod && id < ShareFirstMethod + ShareMethodCount) {
        send_method(id - ShareFirstMethod);
    } else if (id == ShareReset) {
        refresh_message(1);
        SetWindowTextW(item(ShareSubject), VANTREL_SHARE_SUBJECT);
        set_status(L"Message reset.");
    } else if (id == ShareShowFile) {
        show_program_file(s_share.window);
        set_status(L"Vantrel.exe is selected in File Explorer \x2014 drag it into an email or chat.");
    } else if (id == ShareClose || id == IDCANCEL) { // IDCANCEL: Esc through the dialog keyboard handling
        close_share_window();
    }
}

LRESULT CALLBACK share_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
        on_command(LOWORD(wparam), HIWORD(wparam));
        return 0;
    case WM_CTLCOLORSTATIC:
        if (GetDlgCtrlID((HWND)lparam) == ShareStatus) {
            HDC dc = (HDC)wparam;
            SetTextColor(dc, RGB(0, 104, 192));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return (LRESULT)GetSysColorBrush(COLOR_BTNFACE);
        }
        break;
    case WM_CLOSE:
        close_share_window();
        return 0;
    case WM_DESTROY:
        remove_tooltips();
        s_share = {};
        g_main.shareWindow = nullptr;
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// Centred over the main window, but never with its caption above the top of the screen.
static void window_position(int width, int height, int* x, int* y) {
    RECT main = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (g_main.window) GetWindowRect(g_main.window, &main);
    *x = main.left + ((main.right - main.left) - width) / 2;
    *y = main.top + ((main.bottom - main.top) - height) / 2;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromRect(&main, MONITOR_DEFAULTTONEAREST), &monitor) &&
        *y < monitor.rcMonitor.top)
        *y = monitor.rcMonitor.top;
}

void open_share_window() {
    if (s_share.window) {
        SetForegroundWindow(s_share.window);
        return;
    }
    const DWORD style = WS_POPUPWINDOW | WS_DLGFRAME, ex = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
    RECT r = {0, 0, scaled(ShareClientWidth96), scaled(ShareClientHeight96)};
    AdjustWindowRectEx(&r, style, FALSE, ex);
    int width = r.right - r.left, height = r.bottom - r.top, x = 0, y = 0;
    window_position(width, height, &x, &y);
    HWND window = CreateWindowExW(ex, L"NSShare", L"Share Vantrel", style, x, y, width, height, g_main.window,
                                  nullptr, g_main.instance, nullptr);
    if (!window) return;
    s_share = {};
    s_share.window = window;
    g_main.shareWindow = window;
    int32_t count = 0;
    const ShareControl* controls = share_controls(&count);
    for (int32_t i = 0; i < count; i++)
        create_control(controls[i]);
    refresh_message(1);
    if (g_main.window) EnableWindow(g_main.window, FALSE);
    ShowWindow(window, SW_SHOW);
    SetFocus(item(ShareTheirName));
}

void share_shortcut(int32_t method) {
    wchar_t message[ShareMessageCap];
    compose_share_message(L"", 0, message, _countof(message));
    wchar_t result[300];
    share_send(g_main.window, method, L"", L"", VANTREL_SHARE_SUBJECT, message, result, _countof(result));
    if (result[0]) share_or_status_text(result);
}

void copy_share_link() {
    // An empty link is not copied over whatever the clipboard holds, and not reported as copied.
    if (share_link_present(g_settings.shareLink)) copy_text_to_clipboard(g_main.window, g_settings.shareLink);
    g_ui.share_or_status_text(copy_link_result_line(g_settings.shareLink));
}

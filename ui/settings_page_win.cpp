// The Settings page (class "NSPage"): the white page shown instead of the lists on the Settings tab,
// one check box per switch with its explanation. Every click takes effect at once; there is no OK.
// On a screen too small for the page it scrolls vertically (and, when even one column of text would
// be cut at the right, the right column moves under the left) rather than cutting rows off.
#include "secondary_win.h"

#include "core/diagnose.h"
#include "core/session.h"
#include "core/settings.h"
#include "ui/commands.h"
#include "ui/frame_services.h"
#include "ui/ui_services.h"
#include "main_window.h"
#include "ui/settings_page.h"
#include "ui.h"

namespace {
struct SettingsPage {
    PageLayout layout;
    HWND controls[kMaxPageItems]; // one per layout item, in the same order
    int32_t scroll;               // pixels of content above the page's top edge
    int32_t inLayout;             // showing or hiding the scroll bar resizes the page again
};
SettingsPage s_page;

const int32_t kLineStep = 20; // one scroll-bar arrow click, at 96 DPI

void place_controls(HWND page) {
    HDWP batch = BeginDeferWindowPos(s_page.layout.count);
    for (int32_t i = 0; i < s_page.layout.count; i++) {
        const PageItem& it = s_page.layout.items[i];
        if (!s_page.controls[i]) continue;
        if (batch)
            batch = DeferWindowPos(batch, s_page.controls[i], nullptr, it.x, it.y - s_page.scroll, it.w, it.h,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
        else
            MoveWindow(s_page.controls[i], it.x, it.y - s_page.scroll, it.w, it.h, TRUE);
    }
    if (batch) EndDeferWindowPos(batch);
    InvalidateRect(page, nullptr, TRUE);
}

void set_scroll_bar(HWND page, int32_t client_height) {
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = s_page.layout.contentHeight - 1;
    si.nPage = (UINT)(client_height > 0 ? client_height : 0);
    si.nPos = s_page.scroll;
    SetScrollInfo(page, SB_VERT, &si, TRUE); // hides the bar when everything fits
}

// Lays the page out for its current size: columns side by side or stacked, the scroll range, and the
// controls moved to their places under the scroll position.
void relayout(HWND page) {
    if (s_page.inLayout) return;
    s_page.inLayout = 1;
    RECT client;
    GetClientRect(page, &client);
    settings_page_layout(g_main.dpi, client.right, &s_page.layout);
    set_scroll_bar(page, client.bottom);
    RECT after;
    GetClientRect(page, &after);
    if (after.right != client.right) settings_page_layout(g_main.dpi, after.right, &s_page.layout);
    if (after.right != client.right || after.bottom != client.bottom) set_scroll_bar(page, after.bottom);
    s_page.scroll = page_scroll_clamp(s_page.scroll, s_page.layout.contentHeight, after.bottom);
    SetScrollPos(page, SB_VERT, s_page.scroll, TRUE);
    place_controls(page);
    s_page.inLayout = 0;
}

void scroll_to(HWND page, int32_t position) {
    RECT client;
    GetClientRect(page, &client);
    position = page_scroll_clamp(position, s_page.layout.contentHeight, client.bottom);
    if (position == s_page.scroll) return;
    s_page.scroll = position;
    SetScrollPos(page, SB_VERT, position, TRUE);
    place_controls(page);
}

void on_vscroll(HWND page, int32_t request) {
    RECT client;
    GetClientRect(page, &client);
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_TRACKPOS;
    GetScrollInfo(page, SB_VERT, &si);
    int32_t line = scaled(kLineStep), pos = s_page.scroll;
    switch (request) {
    case SB_LINEUP:
        pos -= line;
        break;
    case SB_LINEDOWN:
        pos += line;
        break;
    case SB_PAGEUP:
        pos -= client.bottom - line;
        break;
    case SB_PAGEDOWN:
        pos += client.bottom - line;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        pos = si.nTrackPos;
        break;
    case SB_TOP:
        pos = 0;
        break;
    case SB_BOTTOM:
        pos = s_page.layout.contentHeight;
        break;
    default:
        return;
    }
    scroll_to(page, pos);
}

LRESULT control_colours(HDC dc, HWND control) {
    int32_t id = GetDlgCtrlID(control);
    COLORREF text = id == IdSettingExplanation ? RGB(110, 110, 110)
                    : id == IdSettingHeading   ? RGB(0, 103, 192)
                                               : RGB(30, 30, 30);
    SetTextColor(dc, text);
    SetBkColor(dc, RGB(255, 255, 255));
    return (LRESULT)GetStockObject(WHITE_BRUSH);
}

HWND create_control(HWND page, const PageItem& it) {
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    HFONT font = g_main.normal;
    switch (it.kind) {
    case PageHeading:
        font = g_main.bold;
        break;
    case PageCheckBox:
        cls = L"BUTTON";
        style |= BS_AUTOCHECKBOX | WS_TABSTOP;
        break;
    case PageExplanation:
        style |= SS_NOTIFY;
        break;
    case PageButton:
        cls = L"BUTTON";
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
    }
    HWND w = CreateWindowExW(0, cls, it.text, style, it.x, it.y, it.w, it.h, page, (HMENU)(INT_PTR)it.id,
                             (HINSTANCE)GetWindowLongPtrW(page, GWLP_HINSTANCE), nullptr);
    if (!w) return nullptr;
    if (font) SendMessageW(w, WM_SETFONT, (WPARAM)font, FALSE);
    if (it.tooltip) add_control_tooltip(w, it.tooltip);
    return w;
}

// Only the check boxes and "Check now" are commands; the explanations' clicks are not.
int is_page_command(int32_t id) {
    return id == CmdCheckUpdatesNow || setting_row(id) != nullptr;
}
} // namespace

void create_settings_page(HWND parent) {
    s_page = SettingsPage{};
    HWND page = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_CLIENTEDGE, L"NSPage", L"",
                                WS_CHILD | WS_CLIPCHILDREN, 0, 0, scaled(1100), scaled(500), parent, nullptr,
                                (HINSTANCE)GetWindowLongPtrW(parent, GWLP_HINSTANCE), nullptr);
    g_main.settingsPage = page;
    if (!page) return;
    RECT client;
    GetClientRect(page, &client);
    settings_page_layout(g_main.dpi, client.right, &s_page.layout);
    for (int32_t i = 0; i < s_page.layout.count; i++)
        s_page.controls[i] = create_control(page, s_page.layout.items[i]);
    sync_check_boxes();
    relayout(page);
}

void sync_check_boxes() {
    HWND page = g_main.settingsPage;
    if (page) {
        for (int32_t i = 0; i < kSettingRowCount; i++) {
            const SettingRow& row = kSettingRows[i];
            CheckDlgButton(page, row.id, g_settings.*row.member ? BST_CHECKED : BST_UNCHECKED);
        }
        if (HWND ask = GetDlgItem(page, 112)) EnableWindow(ask, TRUE);
    }
    if (g_main.ribbon) InvalidateRect(g_main.ribbon, nullptr, FALSE);
}

// What a changed switch sets in motion, in the order apply_setting names it.
static void carry_out_setting(uint32_t effects, int32_t value) {
    Session* session = g_main.session;
    if (effects & SettingTopmost) g_ui.set_topmost(value);
    if (effects & SettingRibbon) g_ui.refresh(RefreshRibbon);
    if (effects & SettingRediagnose) {
        diagnose(session);
        g_ui.refresh(RefreshLists | RefreshBanner);
    }
    if (effects & SettingCheckAsConfigured) g_frame.start_check(session, g_settings.autoNetTest, nullptr);
    if (effects & SettingCheckWithNetwork) g_frame.start_check(session, 1, nullptr);
    if (effects & SettingCheckWithout) g_frame.start_check(session, 0, nullptr);
    if (effects & SettingBanner) g_ui.refresh(RefreshBanner);
    if (effects & SettingPage) g_ui.refresh(RefreshSettingsPage);
}

void on_setting_clicked(int32_t id) {
    const SettingRow* row = setting_row(id);
    if (!row || !g_main.settingsPage) return;
    int32_t on = IsDlgButtonChecked(g_main.settingsPage, id) == BST_CHECKED ? 1 : 0;
    carry_out_setting(apply_setting(&(g_settings.*row->member), on, row->valueName), on);
    if (id == 140 && on) g_main.nextUpdateCheck = GetTickCount64() + 2000;
    sync_check_boxes();
}

LRESULT CALLBACK settings_page_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
        if (window == g_main.settingsPage) relayout(window);
        return 0;
    case WM_VSCROLL:
        on_vscroll(window, LOWORD(wparam));
        return 0;
    case WM_MOUSEWHEEL: {
        int32_t delta = GET_WHEEL_DELTA_WPARAM(wparam);
        scroll_to(window, s_page.scroll - delta * scaled(3 * kLineStep) / WHEEL_DELTA);
        return 0;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return control_colours((HDC)wparam, (HWND)lparam);
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED && lparam && is_page_command(LOWORD(wparam)))
            on_command(LOWORD(wparam));
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

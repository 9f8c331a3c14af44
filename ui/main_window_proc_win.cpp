// The main window's creation sequence and its window procedure: list notifications, the context
// menu, the timers and the messages worker threads post.
#include <windows.h>
#include <commctrl.h>

#include <stdlib.h>

#include <initializer_list>

#include "core/log_file.h"
#include "core/messages.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "res/version.h"
#include "ui/command_handlers.h"
#include "ui/commands.h"
#include "ui/frame_services.h"
#include "ui/icon_font_win.h"
#include "ui/lists_win.h"
#include "ui/main_window.h"
#include "ui/ribbon_win.h"
#include "ui/secondary_win.h"
#include "ui/ui.h"
#include "ui/ui_services.h"
#include "update/version.h"

#define PRINTER_CAPTION                                                                                      \
    L"Printers on this PC \x2014 click one, then use the buttons above (double-click for details; "          \
    L"right-click for a menu)"

static HFONT font_from(const LOGFONTW& base, LONG weight, LONG height) {
    LOGFONTW f = base;
    f.lfWeight = weight;
    f.lfHeight = height;
    return CreateFontIndirectW(&f);
}

static void create_fonts() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics); // 504 bytes: the size with iPaddedBorderWidth
    LOGFONTW base = {};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        base = metrics.lfMessageFont;
    else
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(base), &base);
    // The system gives its font at the system DPI; the window may be on a monitor of another.
    if (g_main.systemDpi > 0 && g_main.dpi != g_main.systemDpi)
        base.lfHeight = MulDiv(base.lfHeight, g_main.dpi, g_main.systemDpi);
    g_main.normal = CreateFontIndirectW(&base);
    g_main.bold = font_from(base, FW_BOLD, base.lfHeight);
    g_main.bannerFont = font_from(base, FW_BOLD, MulDiv(base.lfHeight, 13, 10));
    create_glyph_fonts();
}

static HWND child(const wchar_t* cls, const wchar_t* text, DWORD style, DWORD ex_style, int id, HFONT font) {
    HWND w = CreateWindowExW(ex_style, cls, text, WS_CHILD | style, 0, 0, 10, 10, g_main.window,
                             (HMENU)(INT_PTR)id, g_main.instance, nullptr);
    if (w && font) SendMessageW(w, WM_SETFONT, (WPARAM)font, FALSE);
    return w;
}

static HWND create_list(int id) {
    HWND list =
        child(WC_LISTVIEWW, L"", WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
              WS_EX_CLIENTEDGE, id, g_main.normal);
    const DWORD ex = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
    return list;
}

HWND create_tooltip(HWND owner, int initial_ms) {
    HWND tip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0,
                        0, 0, 0, owner, nullptr, g_main.instance, nullptr);
    if (!tip) return nullptr;
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, scaled(440));
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 32000);
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, initial_ms);
    return tip;
}

// SPI_GETHIGHCONTRAST: HCF_HIGHCONTRASTON in dwFlags while the user's high contrast theme is on.
static int32_t system_high_contrast() {
    HIGHCONTRASTW hc = {};
    hc.cbSize = sizeof(hc);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) &&
           (hc.dwFlags & HCF_HIGHCONTRASTON);
}
int32_t (*g_high_contrast)() = system_high_contrast;

void apply_system_colours() {
    g_main.highContrast = g_high_contrast() != 0;
    HWND headers[2] = {};
    for (int i = 0; i < 2; i++) {
        HWND list = i ? g_main.bottomList : g_main.printerList;
        if (list) headers[i] = (HWND)SendMessageW(list, LVM_GETHEADER, 0, 0);
    }
    for (HWND control : {g_main.printerList, g_main.bottomList, headers[0], headers[1], g_main.statusBar,
                         g_main.ribbonTooltip, g_main.mainTooltip})
        if (control) SendMessageW(control, WM_SYSCOLORCHANGE, 0, 0);
    if (g_main.window)
        RedrawWindow(g_main.window, nullptr, nullptr,
                     RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
}

static void on_create(HWND window) {
    g_main.window = window;
    g_main.layoutDone = 0;
    g_main.bannerColour = -1;
    g_main.highContrast = g_high_contrast() != 0;
    HDC dc = GetDC(nullptr);
    g_main.systemDpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    if (g_main.systemDpi <= 0) g_main.systemDpi = 96;
    g_main.dpi = window_dpi(window);
    install_ui_services();
    create_fonts();

    g_main.mainTooltip = create_tooltip(window, 400);
    g_main.white = CreateSolidBrush(RGB(255, 255, 255));
    create_ribbon(window);

    g_main.paleYellow = CreateSolidBrush(RGB(255, 243, 205));
    create_update_bar(window);

    g_main.banner =
        child(L"STATIC", L"Starting\x2026", WS_VISIBLE | SS_NOTIFY | SS_CENTERIMAGE | SS_ENDELLIPSIS, 0,
              IdBanner, g_main.bannerFont);
    banner_mark_live(g_main.banner);
    g_main.printerCaption =
        child(L"STATIC", PRINTER_CAPTION, WS_VISIBLE | SS_NOTIFY, 0, IdPrinterCaption, g_main.bold);
    g_main.printerList = create_list(IdPrinterList);
    build_printer_columns();
    g_main.bottomCaption = child(L"STATIC", L"", WS_VISIBLE | SS_NOTIFY, 0, IdBottomCaption, g_main.bold);
    g_main.bottomList = create_list(IdBottomList);
    build_bottom_columns();
    add_control_tooltip(g_main.banner, kBannerTooltip);
    add_control_tooltip(g_main.printerCaption, kPrinterCaptionTooltip);
    add_control_tooltip(g_main.bottomCaption, kBottomCaptionTooltip);

    create_settings_page(window);
    sync_check_boxes();

    g_main.statusBar =
        child(STATUSCLASSNAMEW, L"", WS_VISIBLE | SBARS_SIZEGRIP, 0, IdStatusBar, g_main.normal);
    show_verdict();

    SetTimer(window, TimerCheckTick, 1000, nullptr);
    SetTimer(window, TimerUpdateTick, 30000, nullptr);
    SetTimer(window, TimerOldCopy, 3000, nullptr);
    g_main.nextUpdateCheck = GetTickCount64() + 8000;

    log_line(L"Vantrel %ls started%ls", VANTREL_VERSION_TEXT,
             g_process.elevated ? L" (as administrator)" : L"");
    if (g_main.updatedFrom)
        log_line(L"Vantrel was updated from %ls to %ls", g_main.updatedFrom, VANTREL_VERSION_TEXT);

    wchar_t last_seen[41] = L"";
    read_setting_string(L"LastSeenVersion", last_seen, _countof(last_seen));
    if (last_seen[0] && compare_versions(last_seen, VANTREL_VERSION_TEXT) < 0)
        PostMessageW(window, MsgShowWhatsNew, 0, 0);
    write_setting_string(L"LastSeenVersion", VANTREL_VERSION_TEXT);

    g_frame.first_check(g_main.session);
}

void open_printer_menu(POINT at) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    AppendMenuW(menu, MF_STRING, CmdFixThis, L"Fix This\x2026");
    AppendMenuW(menu, MF_STRING, CmdDetails, L"Details");
    AppendMenuW(menu, MF_STRING, CmdNetworkTest, L"Network Test");
    AppendMenuW(menu, MF_STRING, CmdTestPage, L"Print a Test Page");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, CmdOpenQueue, L"Open Windows' queue window");
    AppendMenuW(menu, MF_STRING, CmdProperties, L"Printer Properties");
    AppendMenuW(menu, MF_STRING, CmdPreferences, L"Printing Preferences");
    AppendMenuW(menu, MF_STRING, CmdWebPage, L"Open the printer's web page");
    AppendMenuW(menu, MF_STRING, CmdFindDriver, L"Find the maker's driver\x2026");
    SetMenuDefaultItem(menu, CmdDetails, FALSE);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, g_main.window, nullptr);
    DestroyMenu(menu);
}

void activate_row(int32_t bottom, int32_t row) {
    g_main.bottomLastUsed = bottom;
    if (row < 0) return;
    if (bottom && g_settings.view == ViewProblems)
        apply_fix(row);
    else
        show_details();
}

static LRESULT on_notify(HWND window, UINT message, WPARAM wparam, NMHDR* hdr) {
    if (hdr->idFrom != IdPrinterList && hdr->idFrom != IdBottomList)
        return DefWindowProcW(window, message, wparam, (LPARAM)hdr);
    const int bottom = hdr->idFrom == IdBottomList;
    switch (hdr->code) {
    case LVN_ITEMCHANGED: {
        // A row the user selects, by mouse or keyboard, makes its list the one the printer commands
        // act on. A list refilled by a check, or given the focus back when the window is activated
        // again, does not.
        const NMLISTVIEW* change = reinterpret_cast<NMLISTVIEW*>(hdr);
        if ((change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED) &&
            GetFocus() == hdr->hwndFrom)
            g_main.bottomLastUsed = bottom;
        return 0;
    }
    case LVN_KEYDOWN:
        g_main.bottomLastUsed = bottom;
        return DefWindowProcW(window, message, wparam, (LPARAM)hdr);
    case NM_CLICK:
    case NM_RCLICK:
        g_main.bottomLastUsed = bottom;
        if (hdr->code == NM_RCLICK && !bottom && reinterpret_cast<NMITEMACTIVATE*>(hdr)->iItem >= 0) {
            POINT at;
            GetCursorPos(&at);
            open_printer_menu(at);
        }
        return 0;
    case NM_DBLCLK:
        activate_row(bottom, reinterpret_cast<NMITEMACTIVATE*>(hdr)->iItem);
        return 0;
    case NM_CUSTOMDRAW:
        return list_custom_draw(reinterpret_cast<NMLVCUSTOMDRAW*>(hdr));
    }
    return DefWindowProcW(window, message, wparam, (LPARAM)hdr);
}

static void delete_old_copy() {
    wchar_t path[MAX_PATH + 8];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    text_append(path, _countof(path), L".old");
    DeleteFileW(path);
}

static void on_timer(HWND window, UINT_PTR id) {
    switch (id) {
    case TimerCheckTick:
        g_frame.check_tick(g_main.session);
        return;
    case TimerTestPage:
        KillTimer(window, TimerTestPage);
        g_frame.start_check(g_main.session, 0, nullptr);
        return;
    case TimerUpdateTick:
        if (g_settings.autoUpdate && GetTickCount64() >= g_main.nextUpdateCheck) {
            g_main.nextUpdateCheck = GetTickCount64() + 21600000;
            start_update_check(0);
        }
        return;
    case TimerOldCopy:
        delete_old_copy();
        if (++g_main.oldCopyAttempts >= 5) KillTimer(window, TimerOldCopy);
        return;
    }
}

static LRESULT on_ctl_color_static(HWND window, WPARAM wparam, LPARAM lparam) {
    if ((HWND)lparam == g_main.banner && g_main.highContrast) {
        // The verdict's colour gives way to the user's: window text on the window colour.
        SetTextColor((HDC)wparam, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor((HDC)wparam, GetSysColor(COLOR_WINDOW));
        return (LRESULT)GetSysColorBrush(COLOR_WINDOW);
    }
    if ((HWND)lparam != g_main.banner || g_main.bannerColour < 0 || !g_main.bannerBrush)
        return DefWindowProcW(window, WM_CTLCOLORSTATIC, wparam, lparam);
    HDC dc = (HDC)wparam;
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, banner_rgb((BannerColour)g_main.bannerColour));
    return (LRESULT)g_main.bannerBrush;
}

static void on_search_progress(int percent) {
    wchar_t text[100];
    text_format(text, _countof(text), L"Searching the network for printers\x2026 %d%%", percent);
    g_ui.status_text(text);
}

// A font handed to a child, and what replaces it after a DPI change.
struct FontSwap {
    HFONT from[5], to[5];
};

static BOOL CALLBACK swap_child_font(HWND child, LPARAM lparam) {
    const FontSwap* swap = reinterpret_cast<const FontSwap*>(lparam);
    HFONT now = (HFONT)SendMessageW(child, WM_GETFONT, 0, 0);
    for (int i = 0; i < 5; i++)
        if (now && now == swap->from[i]) SendMessageW(child, WM_SETFONT, (WPARAM)swap->to[i], FALSE);
    return TRUE;
}

static BOOL CALLBACK swap_window_fonts(HWND top, LPARAM lparam) {
    swap_child_font(top, lparam);
    EnumChildWindows(top, swap_child_font, lparam);
    return TRUE;
}

static void rescale_columns(HWND list, int from_dpi, int to_dpi) {
    HWND header = list ? (HWND)SendMessageW(list, LVM_GETHEADER, 0, 0) : nullptr;
    const int count = header ? (int)SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) : 0;
    for (int i = 0; i < count; i++) {
        const int width = (int)SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0);
        SendMessageW(list, LVM_SETCOLUMNWIDTH, i, MulDiv(width, to_dpi, from_dpi));
    }
}

// The window moved to a monitor of another scale (or the scale changed): fonts, the icon font,
// column widths and tooltips are made again at the new DPI, every window of the program takes the
// new fonts, and the window takes the rectangle Windows suggests, which lays it out again.
static void on_dpi_changed(HWND window, int dpi, const RECT* suggested) {
    if (dpi <= 0) dpi = 96;
    const int old = g_main.dpi > 0 ? g_main.dpi : 96;
    if (dpi != old) {
        FontSwap swap = {
            {g_main.normal, g_main.bold, g_main.bannerFont, g_main.glyphLarge, g_main.glyphSmall}, {}};
        g_main.dpi = dpi;
        g_main.normal = g_main.bold = g_main.bannerFont = g_main.glyphLarge = g_main.glyphSmall = nullptr;
        create_fonts();
        HFONT made[5] = {g_main.normal, g_main.bold, g_main.bannerFont, g_main.glyphLarge, g_main.glyphSmall};
        for (int i = 0; i < 5; i++)
            swap.to[i] = made[i];
        EnumThreadWindows(GetCurrentThreadId(), swap_window_fonts, (LPARAM)&swap);
        rescale_columns(g_main.printerList, old, dpi);
        rescale_columns(g_main.bottomList, old, dpi);
        const HWND tips[] = {g_main.mainTooltip, g_main.ribbonTooltip};
        for (HWND tip : tips)
            if (tip) SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, scaled(440));
        for (HFONT f : swap.from)
            if (f) DeleteObject(f);
    }
    if (suggested)
        SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    ribbon_layout();
    layout_main_window();
    if (g_main.settingsPage) SendMessageW(g_main.settingsPage, WM_SIZE, 0, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        on_create(window);
        return 0;
    case WM_SIZE:
        layout_main_window();
        return 0;
    case WM_GETMINMAXINFO: {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lparam);
        WindowPlacement place;
        main_window_placement(g_main.dpi, work_area_of(window), &place);
        info->ptMinTrackSize.x = place.minWidth;
        info->ptMinTrackSize.y = place.minHeight;
        return 0;
    }
    case WM_DPICHANGED:
        on_dpi_changed(window, HIWORD(wparam), reinterpret_cast<const RECT*>(lparam));
        return 0;
    case WM_NOTIFY:
        return on_notify(window, message, wparam, reinterpret_cast<NMHDR*>(lparam));
    case WM_COMMAND:
        if (!command_row(LOWORD(wparam))) break;
        on_command(LOWORD(wparam));
        return 0;
    case WM_TIMER:
        on_timer(window, wparam);
        return 0;
    case WM_CTLCOLORSTATIC:
        return on_ctl_color_static(window, wparam, lparam);
    case WM_SYSCOLORCHANGE:
        apply_system_colours();
        return 0;
    case WM_SETTINGCHANGE:
        if (wparam == SPI_SETHIGHCONTRAST) apply_system_colours();
        return DefWindowProcW(window, message, wparam, lparam);
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        KillTimer(window, TimerCheckTick);
        g_main.window = nullptr;
        ui_services_defaults(&g_ui);
        PostQuitMessage(0);
        return 0;
    case MsgUpdateChecked:
        on_update_checked(reinterpret_cast<void*>(lparam));
        return 0;
    case MsgDownloadProgress:
        on_download_progress((int32_t)wparam);
        return 0;
    case MsgDownloadDone:
        on_download_done(reinterpret_cast<wchar_t*>(lparam));
        return 0;
    case MsgShowWhatsNew:
        show_whats_new();
        return 0;
    case MsgBringToFront:
        bring_to_front(window);
        return 0;
    case MsgCheckDone:
        g_ui.refresh(g_frame.check_done(g_main.session, reinterpret_cast<Snapshot*>(lparam)));
        return 0;
    case MsgSearchDone:
        g_ui.refresh(g_frame.search_done(g_main.session, reinterpret_cast<NetworkSearchResult*>(lparam)));
        return 0;
    case MsgSearchName:
        g_ui.refresh(g_frame.search_name(g_main.session, reinterpret_cast<SearchName*>(lparam)));
        return 0;
    case MsgSearchProgress:
        on_search_progress((int)wparam);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

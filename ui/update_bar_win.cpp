// The update bar (class "NSUpdBar"): the yellow strip under the ribbon that offers a new version and
// shows the download's progress. Its buttons only send their ids to the main window's command handler.
#include "secondary_win.h"

#include "res/version.h"
#include "ui/ui.h"
#include "core/text.h"
#include "main_window.h"
#include "ui/update_bar.h"
#include "ui.h"

UpdateBarState g_update_bar = {{0}, {0}, {0}, 0, -1};

namespace {
const int32_t kButtonIds[3] = {142, 143, 144};

const wchar_t* const kButtonTips[3] = {
    L"Downloads the new version, checks it isn't damaged or tampered with (SHA-256 checksum and version "
    L"check), swaps it in place of this copy and restarts Vantrel \u2014 usually in a few seconds. Your "
    L"settings "
    L"are kept. The event log starts fresh.",
    L"Shows the full list of what changed in the new version.",
    L"Hides this bar for now. Vantrel will remind you at the next check (every 6 hours), or use Help \u2192 "
    L"Check "
    L"for Updates any time.",
};

HWND button(int32_t index) {
    return g_main.updateBar ? GetDlgItem(g_main.updateBar, kButtonIds[index]) : nullptr;
}

RECT to_rect(const BarRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

void on_size(HWND bar) {
    RECT client;
    GetClientRect(bar, &client);
    BarRect places[3];
    update_bar_buttons(client.right, client.bottom, g_main.dpi, places);
    for (int32_t i = 0; i < 3; i++) {
        HWND b = GetDlgItem(bar, kButtonIds[i]);
        if (b)
            MoveWindow(b, places[i].left, places[i].top, places[i].right - places[i].left,
                       places[i].bottom - places[i].top, TRUE);
    }
    InvalidateRect(bar, nullptr, FALSE);
}

// Drawn into a memory bitmap first: the bar repaints on every percent of a download.
void paint(HWND bar, HDC target) {
    RECT client;
    GetClientRect(bar, &client);
    int32_t width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) return;
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ old_bitmap = SelectObject(dc, bitmap);

    FillRect(dc, &client, g_main.paleYellow ? g_main.paleYellow : (HBRUSH)GetStockObject(WHITE_BRUSH));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(230, 200, 120));
    HGDIOBJ old_pen = SelectObject(dc, pen);
    MoveToEx(dc, 0, height - 1, nullptr);
    LineTo(dc, width, height - 1);
    SelectObject(dc, old_pen);
    DeleteObject(pen);

    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    if (g_main.glyphSmall) {
        RECT glyph = to_rect(update_bar_glyph_rect(height, g_main.dpi));
        SelectObject(dc, g_main.glyphSmall);
        SetTextColor(dc, RGB(176, 110, 0));
        DrawTextW(dc, L"\uE895", 1, &glyph, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    wchar_t text[600];
    update_bar_text(g_update_bar.newVersion, VANTREL_VERSION_TEXT, g_update_bar.notes,
                    g_update_bar.downloading, g_update_bar.percent, text, _countof(text));
    RECT area = to_rect(update_bar_text_rect(width, height, g_main.dpi));
    if (g_main.bold) SelectObject(dc, g_main.bold);
    SetTextColor(dc, RGB(60, 45, 0));
    DrawTextW(dc, text, -1, &area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old_font);

    BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old_bitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
} // namespace

void create_update_bar(HWND parent) {
    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrW(parent, GWLP_HINSTANCE);
    g_update_bar.percent = -1;
    g_main.updateBar = CreateWindowExW(WS_EX_CONTROLPARENT, L"NSUpdBar", L"", WS_CHILD | WS_CLIPCHILDREN, 0,
                                       0, scaled(800), scaled(44), parent, nullptr, instance, nullptr);
    if (!g_main.updateBar) return;
    const wchar_t* const labels[3] = {L"Update now", L"What's new", L"Later"};
    for (int32_t i = 0; i < 3; i++) {
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        HWND b = CreateWindowExW(0, L"BUTTON", labels[i], style, 0, 0, scaled(104), scaled(28),
                                 g_main.updateBar, (HMENU)(INT_PTR)kButtonIds[i], instance, nullptr);
        HFONT font = i == 0 ? g_main.bold : g_main.normal;
        if (b && font) SendMessageW(b, WM_SETFONT, (WPARAM)font, FALSE);
        if (b) add_control_tooltip(b, kButtonTips[i]);
    }
    on_size(g_main.updateBar);
}

void update_bar_set_downloading(int32_t downloading) {
    g_update_bar.downloading = downloading ? 1 : 0; // the percentage belongs to the download
    for (int32_t i = 0; i < 2; i++)
        if (HWND b = button(i)) ShowWindow(b, downloading ? SW_HIDE : SW_SHOWNA);
    if (HWND later = button(2)) SetWindowTextW(later, downloading ? L"Cancel" : L"Later");
    update_bar_repaint();
}

void update_bar_repaint() {
    if (g_main.updateBar) InvalidateRect(g_main.updateBar, nullptr, FALSE);
}

LRESULT CALLBACK update_bar_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
        on_size(window);
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        paint(window, dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_CTLCOLORBTN: // the corners around the push buttons
        SetBkColor((HDC)wparam, RGB(255, 243, 205));
        return (LRESULT)(g_main.paleYellow ? g_main.paleYellow : GetStockObject(WHITE_BRUSH));
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED && lparam) on_command(LOWORD(wparam));
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// The lists and the banner on screen.
#include "ui/lists_win.h"

#include "core/findings.h"
#include "core/session.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "ui/ui_services.h"
#include "net/search.h"
#include "ui/commands.h"
#include "ui/main_window.h"
#include "ui/ribbon_win.h"

static const Snapshot* current_snapshot() {
    return g_main.session ? g_main.session->snapshot : nullptr;
}

ListSource current_list_source() {
    ListSource src = {};
    const Session* session = g_main.session;
    src.snapshot = session ? session->snapshot : nullptr;
    src.findings = session ? &session->findings : nullptr;
    src.search = session ? session->search : nullptr;
    src.settings = &g_settings;
    src.searchRunning = network_search_in_progress();
    src.demo = g_process.demo;
    src.scanRange = g_process.scanRange;
    return src;
}

int list_sync(HWND list, const ListSource* src, int32_t view, int32_t rows, int32_t columns, CellText cell) {
    int changed = 0;
    int32_t have = (int32_t)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    // Rows added or taken away one by one make a visible list lay itself out (and, under Wine,
    // wait for the display) after each; with redrawing held, it does so once at the end. Only a
    // visible list is held: turning redrawing back on may make a hidden window visible.
    const bool hold = have != rows && IsWindowVisible(list);
    if (hold) SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (; have > rows; have--) {
        SendMessageW(list, LVM_DELETEITEM, (WPARAM)(have - 1), 0);
        changed = 1;
    }
    for (; have < rows; have++) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = have;
        item.pszText = const_cast<wchar_t*>(L"");
        SendMessageW(list, LVM_INSERTITEMW, 0, (LPARAM)&item);
        changed = 1;
    }
    static wchar_t want[kCellCapacity];
    static wchar_t shown[kCellCapacity];
    for (int32_t row = 0; row < rows; row++) {
        for (int32_t column = 0; column < columns; column++) {
            want[0] = 0;
            cell(src, view, row, column, want, _countof(want));
            LVITEMW item = {};
            item.iSubItem = column;
            item.pszText = shown;
            item.cchTextMax = _countof(shown);
            shown[0] = 0;
            SendMessageW(list, LVM_GETITEMTEXTW, (WPARAM)row, (LPARAM)&item);
            if (wcscmp(shown, want) == 0) continue;
            item.pszText = want;
            SendMessageW(list, LVM_SETITEMTEXTW, (WPARAM)row, (LPARAM)&item);
            changed = 1;
        }
    }
    if (hold) {
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        // Redrawn with its frame: the list has a client edge, which InvalidateRect would leave out.
        RedrawWindow(list, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    } else if (changed) {
        InvalidateRect(list, nullptr, FALSE);
    }
    return changed;
}

static void add_columns(HWND list, const ColumnDef* columns, int32_t count) {
    for (int32_t i = 0; i < count; i++) {
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = LVCFMT_LEFT;
        column.cx = scaled(columns[i].width96);
        column.pszText = const_cast<wchar_t*>(columns[i].header);
        SendMessageW(list, LVM_INSERTCOLUMNW, (WPARAM)i, (LPARAM)&column);
    }
}

void build_printer_columns() {
    add_columns(g_main.printerList, kPrinterColumns, kPrinterColumnCount);
}

void build_bottom_columns() {
    HWND list = g_main.bottomList;
    if (!list) return;
    const ViewDef* view = bottom_view(g_settings.view);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    while (SendMessageW(list, LVM_DELETECOLUMN, 0, 0)) {
    }
    add_columns(list, view->columns, view->columnCount);
    SetWindowTextW(g_main.bottomCaption, view->caption);
}

static void printer_cell_of(const ListSource* src, int32_t, int32_t row, int32_t column, wchar_t* out,
                            size_t cap) {
    printer_cell(src, row, column, out, cap);
}

void fill_lists() {
    if (!current_snapshot() || !g_main.printerList) return;
    ListSource src = current_list_source();
    list_sync(g_main.printerList, &src, 0, printer_row_count(&src), kPrinterColumnCount, printer_cell_of);
    const int32_t view = g_settings.view;
    list_sync(g_main.bottomList, &src, view, bottom_row_count(&src, view), bottom_view(view)->columnCount,
              bottom_cell);
}

void set_banner(BannerColour colour, const wchar_t* text) {
    wchar_t shown[800];
    text_format(shown, _countof(shown), L"   %ls", text);
    if (g_main.bannerColour == colour && wcscmp(g_main.bannerText, shown) == 0) return;
    if (g_main.bannerColour != colour || !g_main.bannerBrush) {
        if (g_main.bannerBrush) DeleteObject(g_main.bannerBrush);
        g_main.bannerBrush = CreateSolidBrush(banner_rgb(colour));
        g_main.bannerColour = colour;
    }
    text_copy(g_main.bannerText, _countof(g_main.bannerText), shown);
    SetWindowTextW(g_main.banner, shown);
    InvalidateRect(g_main.banner, nullptr, TRUE);
    // Only a verdict that changed is announced; an unchanged refresh returned above.
    banner_announce(g_main.banner);
}

void show_verdict() {
    ListSource src = current_list_source();
    wchar_t text[700];
    BannerColour colour = verdict_of(&src, text, _countof(text));
    set_banner(colour, text);
    if (!current_snapshot()) return;
    wchar_t line[700];
    status_line_of(&src, line, _countof(line));
    g_ui.status_text(line);
}

LRESULT list_custom_draw(NMLVCUSTOMDRAW* draw) {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT || !current_snapshot()) return CDRF_DODEFAULT;
    ListSource src = current_list_source();
    const int32_t row = (int32_t)draw->nmcd.dwItemSpec;
    RowColourName name = draw->nmcd.hdr.idFrom == IdPrinterList
                             ? printer_row_colour(&src, row)
                             : bottom_row_colour(&src, g_settings.view, row);
    RowColour colour = row_colour_of(name);
    // In high contrast the lists keep the system's colours (the first column still names the
    // severity); a selected row keeps the highlight, focused or not.
    if (g_main.highContrast) {
        if (!(draw->nmcd.uItemState & CDIS_SELECTED)) return CDRF_DODEFAULT;
        draw->nmcd.uItemState &= ~CDIS_SELECTED;
        draw->clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        draw->clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
        return CDRF_NEWFONT;
    }
    // Windows draws a selected row in the highlight colour while the list has the focus and near
    // white when it has not, hiding the row's colour either way; the row is drawn selected here.
    if (draw->nmcd.uItemState & CDIS_SELECTED) {
        colour = selected_row_colour(colour, GetSysColor(COLOR_HIGHLIGHT));
        draw->nmcd.uItemState &= ~CDIS_SELECTED;
    }
    if (!colour.apply) return CDRF_DODEFAULT;
    draw->clrText = colour.text;
    if (colour.hasBack) draw->clrTextBk = colour.back;
    return CDRF_NEWFONT;
}

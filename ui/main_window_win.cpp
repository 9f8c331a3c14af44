// The main window. Its procedure only dispatches; the handlers are small. The ribbon, lists, banner
// and status bar are created here as they are built.
#include "ui.h"

#include "app/app.h"
#include "app/check.h"
#include "history/log_file.h"
#include "net/search.h"
#include "core/state.h"
#include "core/text.h"
#include "ui/main_window.h"

MainWindow g_main;

void apply_topmost(HWND window, int topmost) {
    if (!window) return;
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void bring_to_front(HWND window) {
    ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window);
}

HWND create_main_window(HINSTANCE instance, const wchar_t* title) {
    int width = 0, height = 0;
    main_window_size(g_app.dpi, &width, &height);
    return CreateWindowExW(WS_EX_CONTROLPARENT, VANTREL_MAIN_CLASS, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, width, height, nullptr, nullptr, instance, nullptr);
}

// A finished network search: the new result replaces the old one (a failed search keeps the old),
// is matched to the installed printers, and the diagnosis runs again.
static void on_search_done(NetworkSearchResult* result) {
    network_search_finished();
    if (result) {
        search_result_free(g_search_result);
        g_search_result = result;
    }
    refresh_findings();
    if (g_services.refresh_lists) g_services.refresh_lists();
    if (!result) return;
    int installed = 0;
    for (int32_t i = 0; i < result->count && i < kMaxFoundPrinters; i++) installed += result->printers[i].installedAs[0] != 0;
    wchar_t line[700];
    text_format(line, _countof(line),
                L"Network search done: %d printer%ls found among %d addresses (%ls); %d of them installed on this PC.",
                result->count, result->count == 1 ? L"" : L"s", result->addressesSwept, result->rangesText, installed);
    if (g_services.status_text) g_services.status_text(line);
    log_line(L"%ls", line);
}

static LRESULT on_min_max_info(MINMAXINFO* info) {
    info->ptMinTrackSize.x = scale(1120);
    info->ptMinTrackSize.y = scale(700);
    return 0;
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        g_app.mainWindow = window;
        g_services.set_topmost = [](int on) { apply_topmost(g_app.mainWindow, on); };
        check_cycle_start(window);
        return 0;
    case WM_TIMER:
        on_check_timer(window, wparam);
        return 0;
    case MsgCheckDone:
        on_check_done(reinterpret_cast<Snapshot*>(lparam));
        return 0;
    case MsgSearchDone:
        on_search_done(reinterpret_cast<NetworkSearchResult*>(lparam));
        return 0;
    case WM_GETMINMAXINFO:
        return on_min_max_info(reinterpret_cast<MINMAXINFO*>(lparam));
    case MsgBringToFront:
        bring_to_front(window);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        KillTimer(window, 1);
        g_app.mainWindow = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

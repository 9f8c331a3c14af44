// The entry point: chooses the mode, guards against a second windowed copy, loads the settings,
// registers the window classes, creates the main window at a DPI-scaled size and runs the loop.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include "app/app.h"
#include "collect/net_cache.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui_services.h"
#include "fixes/tasks.h"
#include "ui/ui.h"

static int screen_dpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

static void init_common_controls() {
    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&icc);
}

// A message goes to the Share window's and then the History & Undo window's dialog handling, so
// Tab and Enter work there, before the main window gets it.
static int run_message_loop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (g_app.shareWindow && IsDialogMessageW(g_app.shareWindow, &msg)) continue;
        if (g_app.undoWindow && IsDialogMessageW(g_app.undoWindow, &msg)) continue;
        HWND main = static_cast<HWND>(g_ui.main_window());
        if (main && IsDialogMessageW(main, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return (int)msg.wParam;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    g_app.instance = instance;
    g_app.rawCommandLine = GetCommandLineW();
    g_app.dpi = 96;
    g_process.elevated = process_is_elevated();

    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(g_app.rawCommandLine, &argc);
    parse_command_line(argc, argv, &g_app.cmd);
    const CommandLine& cmd = g_app.cmd;

    if (cmd.mode == ModeTask) {
        // "spool-start" is the bare spooler start; every other verb goes through the dispatcher.
        if (wcscmp(cmd.taskVerb, L"spool-start") == 0) return (int)cycle_spooler(0, 0);
        return (int)run_task(cmd.taskVerb, cmd.taskArgument);
    }
    if (cmd.mode == ModeNetTest) return run_nettest_mode(&cmd);

    g_process.demo = cmd.demo;
    text_copy(g_process.scanRange, _countof(g_process.scanRange), cmd.scanRange);
    if (cmd.mode == ModeReport) return run_report_mode(&cmd); // headless: no mutex, no window
    if (!take_single_instance(cmd.mayWait)) return 0;

    init_common_controls();
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    WSADATA wsa;
    int sockets = WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
    net_cache_init();

    load_settings(&g_settings, g_process.demo);
    if (!register_window_classes(instance)) return 1;
    g_app.dpi = screen_dpi();

    wchar_t title[200];
    build_window_title(title, _countof(title), g_process.elevated, g_process.demo);
    HWND window = create_main_window(instance, title);
    if (!window) return 1;
    apply_topmost(window, g_settings.topmost);
    ShowWindow(window, show);
    UpdateWindow(window);

    int code = run_message_loop();
    (void)code;
    if (sockets) WSACleanup();
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}

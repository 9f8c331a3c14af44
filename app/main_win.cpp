// The entry point: chooses the mode, guards against a second windowed copy, loads the settings,
// registers the window classes, hands the interface the check cycle it drives, creates the main
// window and runs the loop.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include "app/app.h"
#include "app/check.h"
#include "collect/net_cache.h"
#include "core/session.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "fixes/tasks.h"
#include "ui/frame_services.h"
#include "ui/ui.h"
#include "update/update.h"

// The window's session: static, because the finding list is far too large for the stack.
static Session g_window_session;

static void init_common_controls() {
    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&icc);
}

// What the window asks of the frame: the check cycle and the single-instance mutex.
static void install_frame_services() {
    frame_services_defaults(&g_frame);
    g_frame.start_check = start_check;
    g_frame.start_search = start_network_search;
    g_frame.check_done = on_check_done;
    g_frame.search_done = on_search_done;
    g_frame.search_name = on_search_name;
    g_frame.check_tick = on_check_tick;
    g_frame.first_check = check_cycle_start;
    g_frame.release_instance = release_single_instance;
    g_frame.retake_instance = retake_single_instance;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    g_app.instance = instance;
    g_app.rawCommandLine = GetCommandLineW();
    g_process.elevated = process_is_elevated();

    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(g_app.rawCommandLine, &argc);
    parse_command_line(argc, argv, &g_app.cmd);
    const CommandLine& cmd = g_app.cmd;

    if (cmd.mode == ModeTask) return (int)run_task_command(cmd.taskVerb, cmd.taskArgument);
    if (cmd.mode == ModeNetTest) return run_nettest_mode(&cmd);
    if (cmd.mode == ModeUpdateCheck) return run_manifest_fetch_mode(cmd.manifestUrl);

    g_process.demo = cmd.demo;
    text_copy(g_process.scanRange, _countof(g_process.scanRange), cmd.scanRange);
    if (cmd.mode == ModeReport) return run_report_mode(&cmd); // headless: no mutex, no window
    if (cmd.mode == ModeCheck || cmd.mode == ModeFix) return run_fleet_mode(&cmd);
    if (!take_single_instance(cmd.mayWait)) return 0;

    init_common_controls();
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    WSADATA wsa;
    int sockets = WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
    net_cache_init();

    load_settings(&g_settings, g_process.demo);
    if (!register_window_classes(instance)) return 1;
    install_frame_services();
    session_init(&g_window_session);

    WindowStart start = {};
    start.instance = instance;
    start.session = &g_window_session;
    start.updatedFrom = cmd.updated ? cmd.updatedFrom : nullptr;
    start.show = show;
    if (!create_main_window(&start)) return 1;

    run_message_loop();
    if (sockets) WSACleanup();
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}

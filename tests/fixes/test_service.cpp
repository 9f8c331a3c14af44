// A tiny Windows service for the spooler-cycle tests: it runs until it is told to stop and writes
// "start NAME" and "stop NAME" lines to the file named on its command line, so a test can read the
// order in which the service manager started and stopped a tree of services.
// Command line: EVENTS-FILE SERVICE-NAME [nostop]; with "nostop" it refuses to be stopped and ends
// only on the user-defined control 128, which the test sends when it is done with it.
#include <windows.h>

#include <stdio.h>
#include <wchar.h>

static wchar_t g_name[256];
static wchar_t g_events[MAX_PATH];
static SERVICE_STATUS_HANDLE g_handle;
static HANDLE g_stop;
static int g_refuse_stop;

static void note(const wchar_t* what) {
    HANDLE f = CreateFileW(g_events, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    char line[600];
    int n = _snprintf(line, sizeof(line), "%ls %ls\r\n", what, g_name);
    DWORD written = 0;
    if (n > 0) WriteFile(f, line, (DWORD)n, &written, nullptr);
    CloseHandle(f);
}

static void report(DWORD state) {
    SERVICE_STATUS status = {};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING && !g_refuse_stop ? SERVICE_ACCEPT_STOP : 0;
    SetServiceStatus(g_handle, &status);
}

static DWORD WINAPI control(DWORD code, DWORD, void*, void*) {
    if (code == SERVICE_CONTROL_STOP || code == 128) {
        report(SERVICE_STOP_PENDING);
        SetEvent(g_stop);
    }
    return NO_ERROR;
}

static void WINAPI service_main(DWORD, wchar_t**) {
    g_handle = RegisterServiceCtrlHandlerExW(g_name, control, nullptr);
    if (!g_handle) return;
    g_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    note(L"start");
    report(SERVICE_RUNNING);
    // Never outlive the test run, even when nobody stops it.
    WaitForSingleObject(g_stop, 600000);
    note(L"stop");
    report(SERVICE_STOPPED);
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return ERROR_INVALID_PARAMETER;
    wcsncpy(g_events, argv[1], MAX_PATH - 1);
    wcsncpy(g_name, argv[2], 255);
    g_refuse_stop = argc >= 4 && wcscmp(argv[3], L"nostop") == 0;
    SERVICE_TABLE_ENTRYW table[] = {{g_name, service_main}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherW(table) ? 0 : (int)GetLastError();
}

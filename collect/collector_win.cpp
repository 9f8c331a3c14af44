// The collector's Windows side: each operation asks Windows once (a listing twice: size, then
// data), hands the answer over as plain records and frees its buffer. No decisions are made here.
#include <windows.h>
#include <winspool.h>
#include <wtsapi32.h>
#include <sddl.h>

#include <stdlib.h>
#include <string.h>

#include "core/messages.h"
#include "collect/collector_win.h"
#include "collect/net_cache.h"
#include "collect/printlog.h"
#include "collect/service_log_win.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/parallel.h"
#include "net/net_test.h"

static HKEY root_key(RegistryRoot root) {
    return root == RootCurrentUser ? HKEY_CURRENT_USER : root == RootUsers ? HKEY_USERS : HKEY_LOCAL_MACHINE;
}

static Snapshot* win_new_snapshot(void*) {
    return snapshot_new();
}

static void win_local_time(void*, LocalTime* out) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    *out = {st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

// The service manager's handles are kept from one check to the next: opening them is an RPC
// connection to the service manager each time (under Wine about 1.6 ms of CPU, four fifths of the
// whole read). A handle that stops answering (the service was deleted and made again, say) is
// closed, and the read opens fresh ones once.
static SRWLOCK g_spooler_lock = SRWLOCK_INIT;
static SC_HANDLE g_service_manager = nullptr, g_spooler_service = nullptr;

static void close_spooler_handles() {
    if (g_spooler_service) CloseServiceHandle(g_spooler_service);
    if (g_service_manager) CloseServiceHandle(g_service_manager);
    g_spooler_service = g_service_manager = nullptr;
}

static int read_spooler_with(SC_HANDLE service, RawService* out) {
    SERVICE_STATUS status = {};
    if (!QueryServiceStatus(service, &status)) return 0;
    out->statusRead = 1;
    out->currentState = status.dwCurrentState;
    void* config = malloc(8192);
    DWORD needed = 0;
    if (config && QueryServiceConfigW(service, static_cast<QUERY_SERVICE_CONFIGW*>(config), 8192, &needed)) {
        out->configRead = 1;
        out->startType = static_cast<QUERY_SERVICE_CONFIGW*>(config)->dwStartType;
    }
    free(config);
    return 1;
}

static void win_read_spooler(void*, RawService* out) {
    AcquireSRWLockExclusive(&g_spooler_lock);
    for (int attempt = 0; attempt < 2; attempt++) {
        if (!g_service_manager) g_service_manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
        if (!g_service_manager) break;
        if (!g_spooler_service)
            g_spooler_service =
                OpenServiceW(g_service_manager, L"Spooler", SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG);
        if (!g_spooler_service) break; // no Print Spooler service: nothing to read
        if (read_spooler_with(g_spooler_service, out)) break;
        close_spooler_handles(); // no longer answering: asked once more with new handles
    }
    ReleaseSRWLockExclusive(&g_spooler_lock);
}

static int win_read_string(void*, RegistryRoot root, const wchar_t* path, const wchar_t* name, wchar_t* buf,
                           size_t cap) {
    return read_registry_string(root_key(root), path, name, buf, cap);
}

static int win_read_dword(void*, RegistryRoot root, const wchar_t* path, const wchar_t* name, uint32_t* out) {
    return read_registry_dword(root_key(root), path, name, out);
}

static void win_system_directory(void*, wchar_t* buf, size_t cap) {
    UINT n = GetSystemDirectoryW(buf, (UINT)cap);
    if (n == 0 || n >= cap) buf[0] = 0;
}

static int win_list_folder(void*, const wchar_t* pattern, TakeFolderEntry take, void* arg) {
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(pattern, &fd);
    if (find == INVALID_HANDLE_VALUE) return 0;
    // A folder cannot list more entries than this in any sane state; stops a looping file system.
    for (int n = 0; n < 1000000; n++) {
        uint64_t size = ((uint64_t)fd.nFileSizeHigh << 32) | fd.nFileSizeLow;
        take(arg, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0, size);
        if (!FindNextFileW(find, &fd)) break;
    }
    FindClose(find);
    return 1;
}

// A spooler listing in one call where one suffices. The buffer starts at the size the last listing
// of its kind needed (at least 16 KB), and only a listing too long for it is asked again, with the
// size Windows names (pcbNeeded: the bytes copied on success, the bytes required when the call
// fails with ERROR_INSUFFICIENT_BUFFER). Asking for the size first would double every listing's
// cost each check, which under Wine walks the spooler's registry keys once more every time. A
// listing that keeps growing between the calls gives up after three. The buffer is malloc'ed (the
// caller frees it); null when the listing could not be read.
template <typename Call> static BYTE* spooler_listing(volatile LONG* last_size, Call call, DWORD* returned) {
    DWORD size = *last_size > 16384 ? (DWORD)*last_size : 16384;
    for (int attempt = 0; attempt < 3; attempt++) {
        BYTE* buffer = static_cast<BYTE*>(malloc(size));
        if (!buffer) return nullptr;
        DWORD needed = 0;
        *returned = 0;
        if (call(buffer, size, &needed, returned)) {
            InterlockedExchange(last_size, (LONG)size);
            return buffer;
        }
        DWORD error = GetLastError();
        free(buffer);
        if (error != ERROR_INSUFFICIENT_BUFFER || needed <= size || needed > (1u << 30)) return nullptr;
        size = needed;
    }
    return nullptr;
}

// An empty listing counts as not made, as a listing that needs no bytes always has.
static int win_list_ports(void*, TakePort take, void* arg) {
    static volatile LONG last_size = 0;
    DWORD returned = 0;
    BYTE* buffer = spooler_listing(
        &last_size,
        [](BYTE* b, DWORD n, DWORD* needed, DWORD* count) {
            return EnumPortsW(nullptr, 2, b, n, needed, count);
        },
        &returned);
    int made = buffer && returned > 0;
    const PORT_INFO_2W* ports = reinterpret_cast<const PORT_INFO_2W*>(buffer);
    for (DWORD i = 0; made && i < returned; i++) {
        RawPort port = {ports[i].pPortName, ports[i].pMonitorName};
        take(arg, &port);
    }
    free(buffer);
    return made;
}

static void win_default_printer(void*, wchar_t* buf, size_t cap) {
    DWORD n = (DWORD)cap;
    if (!GetDefaultPrinterW(buf, &n)) buf[0] = 0;
}

static int win_list_printers(void*, TakePrinter take, void* arg) {
    static volatile LONG last_size = 0;
    DWORD returned = 0;
    BYTE* buffer = spooler_listing(
        &last_size,
        [](BYTE* b, DWORD n, DWORD* needed, DWORD* count) {
            return EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, b, n, needed,
                                 count);
        },
        &returned);
    int made = buffer && returned > 0;
    const PRINTER_INFO_2W* printers = reinterpret_cast<const PRINTER_INFO_2W*>(buffer);
    for (DWORD i = 0; made && i < returned; i++) {
        const PRINTER_INFO_2W& p = printers[i];
        RawPrinter raw = {p.pServerName, p.pPrinterName, p.pShareName, p.pPortName, p.pDriverName,
                          p.pComment,    p.pLocation,    p.Attributes, p.Status,    p.cJobs};
        take(arg, &raw);
    }
    free(buffer);
    return made;
}

static uint64_t file_time_value(const FILETIME& ft) {
    return ((uint64_t)ft.dwHighDateTime << 32) | ft.dwLowDateTime;
}

static uint64_t win_now(void*) {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return file_time_value(ft);
}

static int win_list_jobs(void*, const wchar_t* printer, TakeJob take, void* arg) {
    wchar_t name[260];
    text_copy(name, _countof(name), printer);
    HANDLE handle = nullptr;
    if (!OpenPrinterW(name, &handle, nullptr) || !handle) return 0;
    static volatile LONG last_size = 0;
    DWORD returned = 0;
    int made = 0;
    BYTE* buffer = spooler_listing(
        &last_size,
        [handle](BYTE* b, DWORD n, DWORD* needed, DWORD* count) {
            return EnumJobsW(handle, 0, kJobsAskedPerPrinter, 2, b, n, needed, count);
        },
        &returned);
    if (buffer && returned > 0) {
        made = 1;
        const JOB_INFO_2W* jobs = reinterpret_cast<const JOB_INFO_2W*>(buffer);
        for (DWORD i = 0; i < returned; i++) {
            const JOB_INFO_2W& j = jobs[i];
            RawJob raw = {j.JobId,      j.pDocument, j.pUserName, j.pStatus, j.Status,
                          j.TotalPages, j.Size,      j.Position,  0,         0};
            FILETIME submitted;
            if (SystemTimeToFileTime(&j.Submitted, &submitted)) {
                raw.submittedValid = 1;
                raw.submitted = file_time_value(submitted);
            }
            take(arg, &raw);
        }
    }
    free(buffer);
    ClosePrinter(handle);
    return made;
}

static int win_list_drivers(void*, TakeDriver take, void* arg) {
    static volatile LONG last_size = 0;
    DWORD returned = 0;
    BYTE* buffer = spooler_listing(
        &last_size,
        [](BYTE* b, DWORD n, DWORD* needed, DWORD* count) {
            wchar_t environment[] = L"all";
            return EnumPrinterDriversW(nullptr, environment, 6, b, n, needed, count);
        },
        &returned);
    int made = buffer && returned > 0;
    const DRIVER_INFO_6W* drivers = reinterpret_cast<const DRIVER_INFO_6W*>(buffer);
    for (DWORD i = 0; made && i < returned; i++) {
        const DRIVER_INFO_6W& d = drivers[i];
        RawDriver raw = {};
        raw.version = d.cVersion;
        raw.name = d.pName;
        raw.environment = d.pEnvironment;
        raw.driverPath = d.pDriverPath;
        raw.manufacturer = d.pszMfgName;
        raw.driverDate = file_time_value(d.ftDriverDate);
        SYSTEMTIME st;
        if (raw.driverDate && FileTimeToSystemTime(&d.ftDriverDate, &st)) {
            raw.dateValid = 1;
            raw.dateYear = st.wYear;
            raw.dateMonth = st.wMonth;
            raw.dateDay = st.wDay;
        }
        raw.driverVersion = d.dwlDriverVersion;
        take(arg, &raw);
    }
    free(buffer);
    return made;
}

static int win_file_missing(void*, const wchar_t* path) {
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) return 0;
    return GetLastError() == ERROR_FILE_NOT_FOUND;
}

static void win_read_print_logs(void*, Snapshot* s) {
    read_print_logs(s, &g_windows_print_log);
}

static void win_user_name(void*, wchar_t* buf, size_t cap) {
    DWORD n = (DWORD)cap;
    if (!GetUserNameW(buf, &n)) buf[0] = 0;
}

static int win_running_as_system(void*) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return 0;
    union {
        TOKEN_USER user;
        BYTE bytes[256];
    } info;
    DWORD length = 0;
    int system = 0;
    if (GetTokenInformation(token, TokenUser, &info, sizeof(info), &length))
        system = IsWellKnownSid(info.user.User.Sid, WinLocalSystemSid) ? 1 : 0;
    CloseHandle(token);
    return system;
}

static void win_session_user_name(void*, int console, wchar_t* buf, size_t cap) {
    buf[0] = 0;
    DWORD session = WTS_CURRENT_SESSION;
    if (console) {
        session = WTSGetActiveConsoleSessionId();
        if (session == 0xFFFFFFFF) return; // nobody is attached to the console
    }
    LPWSTR name = nullptr;
    DWORD bytes = 0;
    if (!WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, session, WTSUserName, &name, &bytes)) return;
    if (name) {
        // The answer is as long as Windows made it; never read past the bytes it reported.
        size_t chars = bytes / sizeof(wchar_t);
        size_t n = text_length(name, chars);
        if (n >= cap) n = cap - 1;
        wmemcpy(buf, name, n);
        buf[n] = 0;
        WTSFreeMemory(name);
    }
}

// Windows' own words for an error, on one line; empty when it has none.
static void windows_message(uint32_t error, wchar_t* out, size_t cap) {
    out[0] = 0;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                             out, (DWORD)cap, nullptr);
    if (n == 0 || n >= cap) out[0] = 0;
    for (wchar_t* c = out; *c; c++)
        if (*c == L'\r' || *c == L'\n') *c = L' ';
    for (size_t len = wcslen(out); len > 0 && out[len - 1] == L' ';)
        out[--len] = 0;
}

static uint32_t win_open_connection(void*, const wchar_t* printer, wchar_t* message, size_t cap) {
    wchar_t name[260];
    text_copy(name, _countof(name), printer);
    HANDLE handle = nullptr;
    message[0] = 0;
    if (OpenPrinterW(name, &handle, nullptr) && handle) {
        ClosePrinter(handle);
        return 0;
    }
    uint32_t error = GetLastError();
    if (error == 0) error = ERROR_INVALID_PRINTER_NAME; // refused without saying why
    windows_message(error, message, cap);
    return error;
}

// WTSQueryUserToken answers only a caller that runs as LocalSystem with SE_TCB_NAME; anyone else
// gets 1314 and the console user stays unknown, which is right: only SYSTEM lacks their printers.
static int win_console_user_sid(void*, wchar_t* buf, size_t cap) {
    if (cap) buf[0] = 0;
    const DWORD session = WTSGetActiveConsoleSessionId();
    if (session == 0xFFFFFFFF) return 0;
    HANDLE token = nullptr;
    if (!WTSQueryUserToken(session, &token)) return 0;
    union {
        TOKEN_USER user;
        BYTE bytes[256];
    } info;
    DWORD length = 0;
    LPWSTR text = nullptr;
    int ok = GetTokenInformation(token, TokenUser, &info, sizeof(info), &length) &&
             ConvertSidToStringSidW(info.user.User.Sid, &text);
    CloseHandle(token);
    if (ok) text_copy(buf, cap, text);
    if (text) LocalFree(text);
    return ok;
}

static int win_list_subkeys(void*, RegistryRoot root, const wchar_t* path, TakeName take, void* arg) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root_key(root), path, 0, KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS) return 0;
    // A registry key name holds at most 255 characters.
    wchar_t name[256];
    for (DWORD i = 0; i < 1000; i++) {
        DWORD n = _countof(name);
        LONG rc = RegEnumKeyExW(key, i, name, &n, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc == ERROR_SUCCESS) take(arg, name);
    }
    RegCloseKey(key);
    return 1;
}

static void win_service_display_name(void*, const wchar_t* service, wchar_t* buf, size_t cap) {
    buf[0] = 0;
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return;
    DWORD n = (DWORD)cap;
    if (!GetServiceDisplayNameW(manager, service, buf, &n)) buf[0] = 0;
    CloseServiceHandle(manager);
}

static int win_net_test(void*, NetTestResult* result, const wchar_t* target, int ask_snmp,
                        const wchar_t* community) {
    return net_test_printer(result, target, ask_snmp, community);
}

static int win_cache_put(void*, const NetTestResult* result) {
    return net_cache_put(result);
}

static int win_cache_get(void*, const wchar_t* target, NetTestResult* out) {
    return net_cache_get(target, out);
}

static int win_post(void* ctx, Snapshot* s) {
    const CheckWorker* worker = static_cast<const CheckWorker*>(ctx);
    return worker->window && PostMessageW(worker->window, MsgCheckDone, 0, (LPARAM)s);
}

static void win_check_finished(void* ctx) {
    const CheckWorker* worker = static_cast<const CheckWorker*>(ctx);
    if (worker->checkRunning) InterlockedExchange(worker->checkRunning, 0);
}

static void win_free_request(void*, CheckRequest* request) {
    free(request);
}

void windows_collector_platform(const CheckWorker* worker, CollectorPlatform* out) {
    *out = CollectorPlatform{
        const_cast<CheckWorker*>(worker),
        win_new_snapshot,
        win_local_time,
        win_read_spooler,
        win_read_string,
        win_read_dword,
        win_system_directory,
        win_list_folder,
        win_list_ports,
        win_default_printer,
        win_list_printers,
        win_now,
        win_list_jobs,
        win_list_drivers,
        win_file_missing,
        win_read_print_logs,
        win_user_name,
        win_running_as_system,
        win_session_user_name,
        worker->netTest ? worker->netTest : win_net_test,
        win_cache_put,
        win_cache_get,
        win_post,
        win_check_finished,
        win_free_request,
        kNetworkWorkers,
        win_open_connection,
        list_service_crashes,
        win_service_display_name,
        win_console_user_sid,
        win_list_subkeys,
    };
}

// The worker reads only the copy it was given; without one it judges by the built-in settings,
// never by the live ones the interface thread may be changing meanwhile.
static const Settings* worker_settings(const CheckWorker* worker) {
    static Settings built_in;
    if (worker->settings) return worker->settings;
    settings_defaults(&built_in);
    return &built_in;
}

Snapshot* run_check_worker(CheckRequest* request, const CheckWorker* worker) {
    CollectorPlatform platform;
    windows_collector_platform(worker, &platform);
    return collector_run(request, worker_settings(worker), &platform, worker->buildDemo);
}

Snapshot* collect_now(CheckRequest* request, const CheckWorker* worker) {
    CollectorPlatform platform;
    windows_collector_platform(worker, &platform);
    platform.post = [](void*, Snapshot*) { return 1; }; // the caller takes it straight from the return
    return collector_run(request, worker_settings(worker), &platform, worker->buildDemo);
}

DWORD WINAPI check_worker_thread(LPVOID param) {
    CheckStart* start = static_cast<CheckStart*>(param);
    start->worker.settings = &start->settings;
    run_check_worker(start->request, &start->worker);
    free(start);
    return 0;
}

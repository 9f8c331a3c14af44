// Benchmark (not a test): one check without network tests over 64 installed printers, against the
// floor of the bare Windows calls such a check makes, as a ratio; and the size of one snapshot.
// Run through tools/bench-collect.sh, which starts it inside the harness.
#include <windows.h>
#include <winevt.h>
#include <winspool.h>
#include <wtsapi32.h>

#include <stdio.h>
#include <stdlib.h>

#include <vector>

#include "app/app.h"
#include "collect/collector_win.h"
#include "collect/net_cache.h"
#include "core/settings.h"
#include "core/text.h"

static const wchar_t* kTcpKey =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports";
static const wchar_t* kDriver = L"Vantrel Bench PCL 6";

static void set_string(const wchar_t* path, const wchar_t* name, const wchar_t* value) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr)) return;
    RegSetValueExW(key, name, 0, REG_SZ, (const BYTE*)value, (DWORD)((wcslen(value) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

static void set_dword(const wchar_t* path, const wchar_t* name, DWORD value) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr)) return;
    RegSetValueExW(key, name, 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
    RegCloseKey(key);
}

static int set_up_pc() {
    CreateDirectoryW(L"C:\\vtbench", nullptr);
    HANDLE f = CreateFileW(L"C:\\vtbench\\bench.dll", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD w;
    WriteFile(f, "MZ", 2, &w, nullptr);
    CloseHandle(f);
    DRIVER_INFO_3W di = {};
    di.cVersion = 3;
    di.pName = const_cast<wchar_t*>(kDriver);
    di.pEnvironment = const_cast<wchar_t*>(L"Windows x64");
    di.pDriverPath = di.pDataFile = di.pConfigFile = const_cast<wchar_t*>(L"C:\\vtbench\\bench.dll");
    if (!AddPrinterDriverExW(nullptr, 3, (BYTE*)&di, APD_COPY_NEW_FILES)) return 0;
    int added = 0;
    for (int i = 0; i < 64; i++) {
        wchar_t name[64], port[64], key[300], ip[32];
        text_format(name, _countof(name), L"Bench printer %d", i);
        text_format(port, _countof(port), L"IP_127.0.1.%d", i + 1);
        text_format(ip, _countof(ip), L"127.0.1.%d", i + 1);
        text_format(key, _countof(key), L"%ls\\%ls", kTcpKey, port);
        set_string(key, L"HostName", ip);
        set_dword(key, L"PortNumber", 9100);
        set_dword(key, L"Protocol", 1);
        set_dword(key, L"SNMP Enabled", 1);
        set_string(key, L"SNMP Community", L"public");
        PRINTER_INFO_2W pi = {};
        pi.pPrinterName = name;
        pi.pPortName = port;
        pi.pDriverName = const_cast<wchar_t*>(kDriver);
        pi.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
        pi.pDatatype = const_cast<wchar_t*>(L"RAW");
        HANDLE h = AddPrinterW(nullptr, 2, (BYTE*)&pi);
        if (h) {
            added++;
            ClosePrinter(h);
        }
    }
    return added;
}

static double now_ms() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return (double)c.QuadPart * 1000.0 / (double)f.QuadPart;
}

static HWND g_window;
static volatile LONG g_running;

static void one_check() {
    CheckRequest* request = static_cast<CheckRequest*>(calloc(1, sizeof(CheckRequest)));
    g_running = 1;
    CheckWorker worker = {g_window, &g_running, nullptr, nullptr, &g_settings};
    run_check_worker(request, &worker);
    MSG msg;
    while (PeekMessageW(&msg, g_window, MsgCheckDone, MsgCheckDone, PM_REMOVE))
        snapshot_free((Snapshot*)msg.lParam);
}

template <typename F> static void two_calls(F call) {
    DWORD needed = 0, returned = 0;
    call(nullptr, 0, &needed, &returned);
    if (!needed) return;
    BYTE* b = (BYTE*)malloc(needed);
    call(b, needed, &needed, &returned);
    free(b);
}

static void read_value(HKEY root, const wchar_t* path, const wchar_t* name) {
    BYTE data[512];
    DWORD size = sizeof(data);
    RegGetValueW(root, path, name, RRF_RT_ANY, nullptr, data, &size);
}

// The same Windows calls in the same numbers, with nothing done with the answers.
static void bare_calls() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    SC_HANDLE m = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (m) {
        SC_HANDLE s = OpenServiceW(m, L"Spooler", SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG);
        if (s) {
            SERVICE_STATUS ss;
            QueryServiceStatus(s, &ss);
            static BYTE config[8192];
            DWORD needed;
            QueryServiceConfigW(s, (QUERY_SERVICE_CONFIGW*)config, sizeof(config), &needed);
            CloseServiceHandle(s);
        }
        CloseServiceHandle(m);
    }
    read_value(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers",
               L"DefaultSpoolDirectory");
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(L"C:\\windows\\system32\\spool\\printers\\*", &fd);
    if (find != INVALID_HANDLE_VALUE) {
        while (FindNextFileW(find, &fd)) {
        }
        FindClose(find);
    }
    two_calls([](BYTE* b, DWORD n, DWORD* need, DWORD* ret) { EnumPortsW(nullptr, 2, b, n, need, ret); });
    wchar_t def[260];
    DWORD n = 260;
    GetDefaultPrinterW(def, &n);
    DWORD needed = 0, returned = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, nullptr, 0, &needed, &returned);
    BYTE* b = needed ? (BYTE*)malloc(needed) : nullptr;
    if (b && EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, b, needed, &needed,
                           &returned)) {
        const PRINTER_INFO_2W* p = (const PRINTER_INFO_2W*)b;
        for (DWORD i = 0; i < returned; i++) {
            wchar_t key[600];
            text_format(key, _countof(key), L"%ls\\%ls", kTcpKey, p[i].pPortName);
            for (const wchar_t* v :
                 {L"HostName", L"PortNumber", L"Protocol", L"SNMP Enabled", L"SNMP Community"})
                read_value(HKEY_LOCAL_MACHINE, key, v);
            read_value(HKEY_CURRENT_USER, L"Software\\Corvalen\\Vantrel\\Known", p[i].pPrinterName);
        }
    }
    free(b);
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    needed = 0;
    EnumPrinterDriversW(nullptr, const_cast<wchar_t*>(L"all"), 6, nullptr, 0, &needed, &returned);
    b = needed ? (BYTE*)malloc(needed) : nullptr;
    if (b && EnumPrinterDriversW(nullptr, const_cast<wchar_t*>(L"all"), 6, b, needed, &needed, &returned)) {
        const DRIVER_INFO_6W* d = (const DRIVER_INFO_6W*)b;
        for (DWORD i = 0; i < returned; i++)
            GetFileAttributesW(d[i].pDriverPath);
    }
    free(b);
    EVT_HANDLE config = EvtOpenChannelConfig(nullptr, L"Microsoft-Windows-PrintService/Operational", 0);
    if (config) {
        BYTE prop[256];
        DWORD used;
        EvtGetChannelConfigProperty(config, EvtChannelConfigEnabled, 0, sizeof(prop), (EVT_VARIANT*)prop,
                                    &used);
        EvtClose(config);
    }
    EVT_HANDLE q = EvtQuery(nullptr, L"Microsoft-Windows-PrintService/Admin", L"*",
                            EvtQueryChannelPath | EvtQueryReverseDirection);
    if (q) EvtClose(q);
    wchar_t user[128];
    n = 128;
    GetUserNameW(user, &n);
    HANDLE token;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        BYTE info[256];
        DWORD len;
        if (GetTokenInformation(token, TokenUser, info, sizeof(info), &len))
            IsWellKnownSid(((TOKEN_USER*)info)->User.Sid, WinLocalSystemSid);
        CloseHandle(token);
    }
    LPWSTR name = nullptr;
    DWORD bytes;
    if (WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, WTSUserName, &name,
                                    &bytes))
        WTSFreeMemory(name);
    read_value(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows",
               L"LegacyDefaultPrinterMode");
    read_value(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Microsoft\\Windows NT\\Printers\\WPP",
               L"WindowsProtectedPrintGroupPolicyState");
    Snapshot* s = snapshot_new(); // the one allocation and the hand-over belong to the floor too
    PostMessageW(g_window, MsgCheckDone, 0, (LPARAM)s);
    MSG msg;
    while (PeekMessageW(&msg, g_window, MsgCheckDone, MsgCheckDone, PM_REMOVE))
        snapshot_free((Snapshot*)msg.lParam);
}

int main() {
    net_cache_init();
    settings_defaults(&g_settings);
    g_window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    int printers = set_up_pc();
    printf("printers installed: %d\n", printers);
    printf("sizeof(Snapshot): %u bytes (PrinterRecord %u, NetTestResult %u)\n", (unsigned)sizeof(Snapshot),
           (unsigned)sizeof(PrinterRecord), (unsigned)sizeof(NetTestResult));
    const int rounds = 30;
    one_check();
    bare_calls();
    double best_check = 1e30, best_bare = 1e30, sum_check = 0, sum_bare = 0;
    for (int r = 0; r < rounds; r++) {
        double t0 = now_ms();
        one_check();
        double t1 = now_ms();
        bare_calls();
        double t2 = now_ms();
        sum_check += t1 - t0;
        sum_bare += t2 - t1;
        if (t1 - t0 < best_check) best_check = t1 - t0;
        if (t2 - t1 < best_bare) best_bare = t2 - t1;
    }
    printf("check without network tests: mean %.2f ms, best %.2f ms (%d rounds)\n", sum_check / rounds,
           best_check, rounds);
    printf("bare Windows calls (floor):  mean %.2f ms, best %.2f ms\n", sum_bare / rounds, best_bare);
    printf("ratio check / floor: mean %.2f, best %.2f\n", sum_check / sum_bare, best_check / best_bare);
    return 0;
}

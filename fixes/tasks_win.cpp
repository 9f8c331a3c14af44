// The Windows side of the task runner: the service manager, the spool folder, the Standard TCP/IP
// port keys, the printer interfaces, the event-log channel configuration and the component installer.
// Every failure is answered with Windows' own error code; the runner never retries except in the
// fixed service polls.
#include "tasks.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <winevt.h>
#include <winspool.h>

#include <stdlib.h>

#include "core/registry.h"
#include "core/text.h"

#define SPOOLER_SERVICE L"Spooler"
#define TCP_PORTS_KEY L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports"

static const int kPolls = 150;
static const DWORD kPollMs = 200;

// A port name becomes part of a registry path: an empty one would write on the Ports key itself and
// a backslash would reach another key.
static int port_name_ok(const wchar_t* port) {
    return port && port[0] && !wcschr(port, L'\\');
}

// An empty printer name opens the print server instead of a printer.
static int printer_name_ok(const wchar_t* printer) {
    return printer && printer[0];
}

static uint32_t wait_for_state(SC_HANDLE service, DWORD wanted) {
    for (int i = 0; i < kPolls; i++) {
        SERVICE_STATUS status = {};
        if (!QueryServiceStatus(service, &status)) return TaskServiceStuck;
        if (status.dwCurrentState == wanted) return TaskOk;
        Sleep(kPollMs);
    }
    return TaskServiceStuck;
}

static int enum_dependents(void* service, const wchar_t*, void* buffer, uint32_t size, uint32_t* count) {
    DWORD needed = 0, returned = 0;
    int ok = EnumDependentServicesW((SC_HANDLE)service, SERVICE_ACTIVE, (ENUM_SERVICE_STATUSW*)buffer, size,
                                    &needed, &returned) != 0;
    *count = ok ? returned : 0;
    return ok;
}

DependentsLister g_list_dependents = enum_dependents;

uint32_t stop_service_tree(SC_HANDLE manager, const wchar_t* name, int depth) {
    SC_HANDLE service =
        OpenServiceW(manager, name, SERVICE_STOP | SERVICE_ENUMERATE_DEPENDENTS | SERVICE_QUERY_STATUS);
    if (!service) return GetLastError();
    SERVICE_STATUS status = {};
    if (!QueryServiceStatus(service, &status) || status.dwCurrentState == SERVICE_STOPPED) {
        CloseServiceHandle(service);
        return TaskOk;
    }
    if (depth != 3) {
        // Heap, not stack: this recurses up to three levels with a buffer each.
        BYTE* buffer = (BYTE*)calloc(1, 8192);
        uint32_t count = 0;
        if (buffer && g_list_dependents(service, name, buffer, 8192, &count)) {
            ENUM_SERVICE_STATUSW* list = (ENUM_SERVICE_STATUSW*)buffer;
            for (uint32_t i = 0; i < count; i++) {
                if (stop_service_tree(manager, list[i].lpServiceName, depth + 1) == TaskOk &&
                    g_stopped_dependents.count < 6) {
                    text_copy(g_stopped_dependents.names[g_stopped_dependents.count],
                              _countof(g_stopped_dependents.names[0]), list[i].lpServiceName);
                    g_stopped_dependents.count++;
                }
            }
        }
        free(buffer);
    }
    if (!ControlService(service, SERVICE_CONTROL_STOP, &status)) {
        DWORD error = GetLastError();
        if (error != ERROR_SERVICE_NOT_ACTIVE) {
            CloseServiceHandle(service);
            return error;
        }
    }
    uint32_t result = wait_for_state(service, SERVICE_STOPPED);
    CloseServiceHandle(service);
    return result;
}

uint32_t start_service_and_wait(SC_HANDLE manager, const wchar_t* name) {
    SC_HANDLE service = OpenServiceW(manager, name, SERVICE_START | SERVICE_QUERY_STATUS);
    if (!service) return GetLastError();
    if (!StartServiceW(service, 0, nullptr)) {
        DWORD error = GetLastError();
        if (error != ERROR_SERVICE_ALREADY_RUNNING) {
            CloseServiceHandle(service);
            return error;
        }
    }
    uint32_t result = wait_for_state(service, SERVICE_RUNNING);
    CloseServiceHandle(service);
    return result;
}

void spool_folder_path(wchar_t* buf, size_t cap) {
    wchar_t folder[260];
    if (!read_registry_string(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers",
                              L"DefaultSpoolDirectory", folder, _countof(folder))) {
        wchar_t system[MAX_PATH] = L"";
        UINT n = GetSystemDirectoryW(system, _countof(system));
        if (n == 0 || n >= _countof(system)) system[0] = 0;
        text_format(folder, _countof(folder), L"%ls\\spool\\PRINTERS", system);
    }
    text_copy(buf, cap, folder);
}

int empty_spool_folder(const wchar_t* folder) {
    wchar_t pattern[MAX_PATH + 4];
    text_format(pattern, _countof(pattern), L"%ls\\*", folder);
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(pattern, &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int deleted = 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        wchar_t path[MAX_PATH * 2];
        text_format(path, _countof(path), L"%ls\\%ls", folder, found.cFileName);
        SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
        if (DeleteFileW(path)) deleted++;
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return deleted;
}

uint32_t cycle_spooler(int stop_first, int clear_folder) {
    return cycle_service(SPOOLER_SERVICE, stop_first, clear_folder);
}

uint32_t cycle_service(const wchar_t* service, int stop_first, int clear_folder) {
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return GetLastError();
    g_stopped_dependents = StoppedDependents{};
    uint32_t stop_result = stop_first ? stop_service_tree(manager, service, 0) : TaskOk;
    if (clear_folder && stop_result == TaskOk) {
        wchar_t folder[260];
        spool_folder_path(folder, _countof(folder));
        empty_spool_folder(folder);
    }
    // Also after a failed stop: the spooler then usually still runs, which counts as started.
    uint32_t start_result = start_service_and_wait(manager, service);
    // A service before the services that depend on it.
    for (int i = g_stopped_dependents.count - 1; i >= 0; i--)
        start_service_and_wait(manager, g_stopped_dependents.names[i]);
    CloseServiceHandle(manager);
    return stop_result != TaskOk ? stop_result : start_result;
}

uint32_t task_spool_auto(const wchar_t* argument) {
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return GetLastError();
    uint32_t result = TaskOk;
    SC_HANDLE service = OpenServiceW(manager, SPOOLER_SERVICE, SERVICE_CHANGE_CONFIG);
    if (!service) {
        result = GetLastError();
    } else {
        if (!ChangeServiceConfigW(service, SERVICE_NO_CHANGE, parse_start_type(argument), SERVICE_NO_CHANGE,
                                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr))
            result = GetLastError();
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return result;
}

static LONG open_port_key(const wchar_t* port, HKEY* key) {
    wchar_t path[400];
    text_format(path, _countof(path), L"%ls\\%ls", TCP_PORTS_KEY, port);
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_SET_VALUE, key);
}

uint32_t task_set_snmp(const wchar_t* port, int enabled) {
    if (!port_name_ok(port)) return TaskBadVerb;
    HKEY key = nullptr;
    LONG rc = open_port_key(port, &key);
    if (rc != ERROR_SUCCESS) return (uint32_t)rc;
    DWORD value = enabled ? 1 : 0;
    rc = RegSetValueExW(key, L"SNMP Enabled", 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return (uint32_t)rc;
    return cycle_spooler(1, 0);
}

static LONG set_string(HKEY key, const wchar_t* name, const wchar_t* text) {
    return RegSetValueExW(key, name, 0, REG_SZ, (const BYTE*)text,
                          (DWORD)((wcslen(text) + 1) * sizeof(wchar_t)));
}

uint32_t task_port_address(const wchar_t* port, const wchar_t* address) {
    if (!port_name_ok(port)) return TaskBadVerb;
    HKEY key = nullptr;
    LONG rc = open_port_key(port, &key);
    if (rc != ERROR_SUCCESS) return (uint32_t)rc;
    rc = set_string(key, L"HostName", address);
    if (rc != ERROR_SUCCESS) {
        RegCloseKey(key);
        return (uint32_t)rc;
    }
    IN_ADDR parsed;
    if (address[0] && InetPtonW(AF_INET, address, &parsed) == 1) set_string(key, L"IPAddress", address);
    RegCloseKey(key);
    return cycle_spooler(1, 0);
}

uint32_t task_enable_pdf() {
    wchar_t system[MAX_PATH] = L"";
    UINT n = GetSystemDirectoryW(system, _countof(system));
    if (n == 0 || n >= _countof(system)) system[0] = 0;
    wchar_t line[700];
    text_format(
        line, _countof(line),
        L"\"%ls\\dism.exe\" /Online /Enable-Feature /FeatureName:Printing-PrintToPDFServices-Features "
        L"/NoRestart",
        system);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
        return GetLastError();
    uint32_t result = TaskTimedOut;
    if (WaitForSingleObject(pi.hProcess, 300000) == WAIT_OBJECT_0) {
        DWORD code = 0;
        result = GetExitCodeProcess(pi.hProcess, &code) ? code : GetLastError();
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result == 3010 ? TaskOk : result;
}

uint32_t task_set_oplog(int enabled) {
    EVT_HANDLE channel = EvtOpenChannelConfig(nullptr, L"Microsoft-Windows-PrintService/Operational", 0);
    if (!channel) return GetLastError();
    EVT_VARIANT value = {};
    value.Type = EvtVarTypeBoolean;
    value.Count = 0;
    value.BooleanVal = enabled ? TRUE : FALSE;
    uint32_t result = TaskOk;
    if (!EvtSetChannelConfigProperty(channel, EvtChannelConfigEnabled, 0, &value) ||
        !EvtSaveChannelConfig(channel, 0))
        result = GetLastError();
    EvtClose(channel);
    return result;
}

uint32_t control_printer(const wchar_t* printer, uint32_t command) {
    if (!printer_name_ok(printer)) return TaskBadVerb;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_ADMINISTER};
    HANDLE handle = nullptr;
    if (!OpenPrinterW((LPWSTR)printer, &handle, &defaults)) return GetLastError();
    uint32_t result = SetPrinterW(handle, 0, nullptr, command) ? TaskOk : GetLastError();
    ClosePrinter(handle);
    return result;
}

uint32_t set_use_offline(const wchar_t* printer, int offline) {
    if (!printer_name_ok(printer)) return TaskBadVerb;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_ADMINISTER};
    HANDLE handle = nullptr;
    if (!OpenPrinterW((LPWSTR)printer, &handle, &defaults)) return GetLastError();
    uint32_t result = TaskOk;
    DWORD size = 0;
    GetPrinterW(handle, 2, nullptr, 0, &size);
    BYTE* info = size ? (BYTE*)calloc(1, size) : nullptr;
    if (!size) {
        result = GetLastError();
    } else if (!info) {
        result = ERROR_NOT_ENOUGH_MEMORY;
    } else if (!GetPrinterW(handle, 2, info, size, &size)) {
        result = GetLastError();
    } else {
        PRINTER_INFO_2W* p2 = (PRINTER_INFO_2W*)info;
        p2->pSecurityDescriptor = nullptr;
        if (offline)
            p2->Attributes |= PRINTER_ATTRIBUTE_WORK_OFFLINE;
        else
            p2->Attributes &= ~(DWORD)PRINTER_ATTRIBUTE_WORK_OFFLINE;
        if (!SetPrinterW(handle, 2, info, 0)) result = GetLastError();
    }
    free(info);
    ClosePrinter(handle);
    return result;
}

uint32_t task_delete_printer(const wchar_t* printer) {
    if (!printer_name_ok(printer)) return TaskBadVerb;
    if (printer[0] == L'\\' && printer[1] == L'\\')
        return DeletePrinterConnectionW((LPWSTR)printer) ? TaskOk : GetLastError();
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE handle = nullptr;
    if (!OpenPrinterW((LPWSTR)printer, &handle, &defaults)) return GetLastError();
    SetPrinterW(handle, 0, nullptr, PRINTER_CONTROL_PURGE); // the waiting jobs go first
    uint32_t result = DeletePrinter(handle) ? TaskOk : GetLastError();
    ClosePrinter(handle);
    return result;
}

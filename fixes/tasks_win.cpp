// The real task platform: the service manager, the spool folder, the registry, the printer
// interfaces, the event-log channel configuration and the component installer. Every failure is
// answered with Windows' own error code; nothing here retries or decides.
#include "tasks.h"

#include <windows.h>
#include <winevt.h>
#include <winspool.h>

#include <stdlib.h>

#include "core/registry.h"
#include "core/text.h"

static uint32_t with_service(const wchar_t* name, DWORD access, SC_HANDLE* manager, SC_HANDLE* service) {
    *manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!*manager) return GetLastError();
    *service = OpenServiceW(*manager, name, access);
    if (*service) return TaskOk;
    DWORD error = GetLastError();
    CloseServiceHandle(*manager);
    return error;
}

static void close_service(SC_HANDLE manager, SC_HANDLE service) {
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
}

static uint32_t query_service(void*, const wchar_t* name, uint32_t* state) {
    SC_HANDLE manager, service;
    uint32_t rc = with_service(name, SERVICE_QUERY_STATUS, &manager, &service);
    if (rc != TaskOk) return rc;
    SERVICE_STATUS status = {};
    rc = QueryServiceStatus(service, &status) ? TaskOk : GetLastError();
    *state = status.dwCurrentState;
    close_service(manager, service);
    return rc;
}

// Wine's service manager keeps EnumDependentServicesW a stub that answers success with none.
static int list_dependents(void*, const wchar_t* name, ServiceNames* out) {
    *out = ServiceNames{};
    SC_HANDLE manager, service;
    if (with_service(name, SERVICE_ENUMERATE_DEPENDENTS, &manager, &service) != TaskOk) return 0;
    BYTE* buffer = (BYTE*)calloc(1, 8192);
    DWORD needed = 0, returned = 0;
    int ok = buffer && EnumDependentServicesW(service, SERVICE_ACTIVE, (ENUM_SERVICE_STATUSW*)buffer, 8192,
                                              &needed, &returned) != 0;
    if (ok) {
        const ENUM_SERVICE_STATUSW* list = (const ENUM_SERVICE_STATUSW*)buffer;
        for (DWORD i = 0; i < returned && out->count < 6; i++)
            text_copy(out->names[out->count++], _countof(out->names[0]), list[i].lpServiceName);
    }
    free(buffer);
    close_service(manager, service);
    return ok;
}

static uint32_t stop_service(void*, const wchar_t* name) {
    SC_HANDLE manager, service;
    uint32_t rc = with_service(name, SERVICE_STOP, &manager, &service);
    if (rc != TaskOk) return rc;
    SERVICE_STATUS status = {};
    rc = ControlService(service, SERVICE_CONTROL_STOP, &status) ? TaskOk : GetLastError();
    close_service(manager, service);
    return rc;
}

static uint32_t start_service(void*, const wchar_t* name) {
    SC_HANDLE manager, service;
    uint32_t rc = with_service(name, SERVICE_START, &manager, &service);
    if (rc != TaskOk) return rc;
    rc = StartServiceW(service, 0, nullptr) ? TaskOk : GetLastError();
    close_service(manager, service);
    return rc;
}

static uint32_t set_start_type(void*, const wchar_t* name, uint32_t start_type) {
    SC_HANDLE manager, service;
    uint32_t rc = with_service(name, SERVICE_CHANGE_CONFIG, &manager, &service);
    if (rc != TaskOk) return rc;
    rc = ChangeServiceConfigW(service, SERVICE_NO_CHANGE, start_type, SERVICE_NO_CHANGE, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr)
             ? TaskOk
             : GetLastError();
    close_service(manager, service);
    return rc;
}

static void sleep_ms(void*, uint32_t ms) {
    Sleep(ms);
}

static void spool_folder(void*, wchar_t* buf, size_t cap) {
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

// Attributes are cleared first so read-only job files go too; files in use are left.
static int empty_folder(void*, const wchar_t* folder) {
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

static HKEY root_key(TaskRoot root) {
    return root == TaskRootCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

static uint32_t set_value(TaskRoot root, const wchar_t* path, const wchar_t* name, DWORD type,
                          const BYTE* data, DWORD bytes, int create) {
    HKEY key = nullptr;
    LONG rc =
        create ? RegCreateKeyExW(root_key(root), path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr)
               : RegOpenKeyExW(root_key(root), path, 0, KEY_SET_VALUE, &key);
    if (rc != ERROR_SUCCESS) return (uint32_t)rc;
    rc = RegSetValueExW(key, name, 0, type, data, bytes);
    RegCloseKey(key);
    return (uint32_t)rc;
}

static uint32_t set_dword(void*, TaskRoot root, const wchar_t* path, const wchar_t* name, uint32_t value,
                          int create) {
    DWORD v = value;
    return set_value(root, path, name, REG_DWORD, (const BYTE*)&v, sizeof(v), create);
}

static uint32_t set_string(void*, TaskRoot root, const wchar_t* path, const wchar_t* name,
                           const wchar_t* text, int create) {
    return set_value(root, path, name, REG_SZ, (const BYTE*)text,
                     (DWORD)((wcslen(text) + 1) * sizeof(wchar_t)), create);
}

static uint32_t delete_value(void*, TaskRoot root, const wchar_t* path, const wchar_t* name) {
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExW(root_key(root), path, 0, KEY_SET_VALUE, &key);
    if (rc != ERROR_SUCCESS) return (uint32_t)rc;
    rc = RegDeleteValueW(key, name);
    RegCloseKey(key);
    return (uint32_t)rc;
}

static uint32_t control_printer(void*, const wchar_t* printer, uint32_t command) {
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_ADMINISTER};
    HANDLE handle = nullptr;
    if (!OpenPrinterW((LPWSTR)printer, &handle, &defaults)) return GetLastError();
    uint32_t result = SetPrinterW(handle, 0, nullptr, command) ? TaskOk : GetLastError();
    ClosePrinter(handle);
    return result;
}

static uint32_t set_use_offline(void*, const wchar_t* printer, int offline) {
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

static uint32_t delete_printer(void*, const wchar_t* printer) {
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

static uint32_t set_default_printer(void*, const wchar_t* printer) {
    return SetDefaultPrinterW(printer) ? TaskOk : GetLastError();
}

static uint32_t enable_pdf(void*) {
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
    return result == 3010 ? TaskOk : result; // 3010: done, takes effect after a restart
}

static uint32_t set_operational_log(void*, int enabled) {
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

static const TaskPlatform kWindows = {
    nullptr,         query_service,       list_dependents, stop_service,
    start_service,   set_start_type,      sleep_ms,        spool_folder,
    empty_folder,    set_dword,           set_string,      delete_value,
    control_printer, set_use_offline,     delete_printer,  set_default_printer,
    enable_pdf,      set_operational_log,
};

const TaskPlatform* windows_task_platform() {
    return &kWindows;
}

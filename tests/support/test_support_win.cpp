#include "test_support.h"

#include <vector>

std::wstring path_from_environment(const wchar_t* variable) {
    wchar_t raw[1024];
    DWORD n = GetEnvironmentVariableW(variable, raw, 1024);
    if (n == 0 || n >= 1024) return L"";
    std::wstring path = raw;
    if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

std::wstring vantrel_exe_path() {
    std::wstring path = path_from_environment(L"VANTREL_EXE");
    return path.empty() ? L"Vantrel.exe" : path;
}

// A copy started by a test that runs past the first update check would otherwise ask the real
// release host; unless the test named a manifest itself, point it at a closed loopback port.
static void keep_update_checks_on_loopback() {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Corvalen\\Vantrel", 0, nullptr, 0,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    if (RegQueryValueExW(key, L"UpdateManifest", nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        const wchar_t url[] = L"https://localhost:9/latest.json";
        RegSetValueExW(key, L"UpdateManifest", 0, REG_SZ, (const BYTE*)url, sizeof(url));
    }
    RegCloseKey(key);
}

HANDLE start_vantrel(const std::wstring& arguments, DWORD* pid) {
    keep_update_checks_on_loopback();
    std::wstring line = L"\"" + vantrel_exe_path() + L"\"";
    if (!arguments.empty()) line += L" " + arguments;
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    if (pid) *pid = pi.dwProcessId;
    return pi.hProcess;
}

DWORD run_vantrel(const std::wstring& arguments, DWORD timeout_ms) {
    HANDLE process = start_vantrel(arguments);
    if (!process) return 0xFFFFFFFF;
    DWORD code = 0xFFFFFFFF;
    if (WaitForSingleObject(process, timeout_ms) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process, &code);
    } else {
        TerminateProcess(process, 0xFFFFFFFF);
        WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
    return code;
}

namespace {
struct WindowSearch {
    DWORD pid;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK match_window(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[128];
    if (owner == search->pid && GetClassNameW(window, name, 128) && lstrcmpiW(name, search->className) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND wait_for_window(DWORD pid, const wchar_t* class_name, DWORD timeout_ms) {
    ULONGLONG end = GetTickCount64() + timeout_ms;
    do {
        WindowSearch search = {pid, class_name, nullptr};
        EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(50);
    } while (GetTickCount64() < end);
    return nullptr;
}

void close_and_wait(HWND window, HANDLE process, DWORD timeout_ms) {
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (process && WaitForSingleObject(process, timeout_ms) != WAIT_OBJECT_0) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
    }
}

void use_physical_pixels() {
    // SetThreadDpiAwarenessContext exists from Windows 10 1607; DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE
    // is the handle value -3.
    typedef void*(WINAPI * SetContext)(void*);
    SetContext set = reinterpret_cast<SetContext>(
        (void*)GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext"));
    if (!set || !set(reinterpret_cast<void*>(-3))) SetProcessDPIAware();
}

void delete_settings_key() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Corvalen\\Vantrel");
}

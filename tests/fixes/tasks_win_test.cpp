// Tasks against Wine's real service manager, spool folder, registry and spooler. Where Wine does not
// implement the underlying call, the task must answer with the error that call gave.
#include <gtest/gtest.h>

#include <windows.h>

#include <string.h>

#include <stdio.h>

#include <string>

#include "core/text.h"
#include "fixes/tasks.h"

namespace {
const wchar_t* kPorts = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports";

DWORD spooler_state() {
    SC_HANDLE m = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE s = m ? OpenServiceW(m, L"Spooler", SERVICE_QUERY_STATUS) : nullptr;
    SERVICE_STATUS st = {};
    if (s) QueryServiceStatus(s, &st);
    if (s) CloseServiceHandle(s);
    if (m) CloseServiceHandle(m);
    return st.dwCurrentState;
}

void stop_spooler() {
    SC_HANDLE m = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE s = OpenServiceW(m, L"Spooler", SERVICE_STOP | SERVICE_QUERY_STATUS);
    SERVICE_STATUS st = {};
    ControlService(s, SERVICE_CONTROL_STOP, &st);
    for (int i = 0; i < 100 && spooler_state() != SERVICE_STOPPED; i++)
        Sleep(100);
    CloseServiceHandle(s);
    CloseServiceHandle(m);
}

DWORD spooler_start_type() {
    SC_HANDLE m = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE s = OpenServiceW(m, L"Spooler", SERVICE_QUERY_CONFIG);
    BYTE buf[8192];
    DWORD needed = 0, type = 0xFFFFFFFF;
    if (QueryServiceConfigW(s, (QUERY_SERVICE_CONFIGW*)buf, sizeof(buf), &needed))
        type = ((QUERY_SERVICE_CONFIGW*)buf)->dwStartType;
    CloseServiceHandle(s);
    CloseServiceHandle(m);
    return type;
}

std::wstring write_file(const std::wstring& path, DWORD attrs = FILE_ATTRIBUTE_NORMAL) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attrs, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        DWORD n;
        WriteFile(f, "job", 3, &n, nullptr);
        CloseHandle(f);
    }
    return path;
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct PortKey {
    std::wstring path;
    explicit PortKey(const wchar_t* name) : path(std::wstring(kPorts) + L"\\" + name) {
        HKEY key;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        RegSetValueExW(key, L"HostName", 0, REG_SZ, (const BYTE*)L"old.host", 18);
        RegSetValueExW(key, L"IPAddress", 0, REG_SZ, (const BYTE*)L"10.0.0.1", 18);
        RegCloseKey(key);
    }
    ~PortKey() {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str());
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
    }
    std::wstring get(const wchar_t* name) const {
        wchar_t buf[300] = L"";
        DWORD bytes = sizeof(buf), type = 0;
        HKEY key;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key)) return L"<no key>";
        LONG rc = RegQueryValueExW(key, name, nullptr, &type, (BYTE*)buf, &bytes);
        RegCloseKey(key);
        if (rc) return L"<missing>";
        if (type == REG_DWORD) {
            DWORD v = 0;
            memcpy(&v, buf, sizeof(v));
            return std::to_wstring(v);
        }
        return buf;
    }
};
} // namespace

TEST(SpoolerCycle, RestartWithTheSpoolerStoppedStartsIt) {
    stop_spooler();
    ASSERT_EQ((DWORD)SERVICE_STOPPED, spooler_state());
    // Nothing to stop, so the answer is the start's.
    ServiceNames stopped = {};
    EXPECT_EQ(0u, cycle_service(windows_task_platform(), L"Spooler", 1, 0, &stopped));
    EXPECT_EQ((DWORD)SERVICE_RUNNING, spooler_state());
    EXPECT_EQ(0, stopped.count);
    stop_spooler();
    EXPECT_EQ(0u, run_task_command(L"spool-start", L""));
    EXPECT_EQ((DWORD)SERVICE_RUNNING, spooler_state());
    EXPECT_EQ(0u, run_task_command(L"spool-start", L"")) << "starting a running spooler is no failure";
}

TEST(SpoolerCycle, ClearDeletesFilesAndReadOnlyFilesButNotSubFolders) {
    wchar_t folder[260];
    windows_task_platform()->spool_folder(nullptr, folder, _countof(folder));
    std::wstring f = folder;
    CreateDirectoryW(f.c_str(), nullptr);
    std::wstring sub = f + L"\\keep";
    CreateDirectoryW(sub.c_str(), nullptr);
    std::wstring inner = write_file(sub + L"\\inner.spl");
    std::wstring a = write_file(f + L"\\00001.SPL");
    std::wstring b = write_file(f + L"\\00001.SHD", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(exists(a) && exists(b) && exists(inner));
    ASSERT_EQ(0u, run_task_command(L"spool-start", L""));
    EXPECT_EQ(0u, run_task_command(L"spool-clear", L""));
    EXPECT_EQ((DWORD)SERVICE_RUNNING, spooler_state());
    EXPECT_FALSE(exists(a));
    EXPECT_FALSE(exists(b)) << "read-only files are deleted";
    EXPECT_TRUE(exists(sub));
    EXPECT_TRUE(exists(inner));
    DeleteFileW(inner.c_str());
    RemoveDirectoryW(sub.c_str());
}

TEST(SpoolerCycle, FilesInUseAreLeftAndTheCycleStillSucceeds) {
    wchar_t folder[260];
    windows_task_platform()->spool_folder(nullptr, folder, _countof(folder));
    std::wstring busy = write_file(std::wstring(folder) + L"\\busy.SPL");
    HANDLE held = CreateFileW(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(0u, run_task_command(L"spool-clear", L"")) << "a file in use is skipped, not a failure";
    EXPECT_TRUE(exists(busy));
    CloseHandle(held);
    DeleteFileW(busy.c_str());
}

TEST(SpoolAuto, NumberAndText) {
    DWORD before = spooler_start_type();
    ASSERT_NE(0xFFFFFFFFu, before);
    uint32_t two = run_task_command(L"spool-auto", L"2");
    DWORD after = spooler_start_type();
    std::printf("spool-auto 2 answered %u; start type %lu before, %lu after\n", two, before, after);
    EXPECT_EQ(0u, two);
    EXPECT_EQ(2u, after);
    // Not a number asks for start type 0 (boot), which the service manager refuses for a program
    // service with its own 87; the start type stays.
    EXPECT_EQ(87u, run_task_command(L"spool-auto", L"automatic"));
    EXPECT_EQ(2u, spooler_start_type());
    // Numbers that do not fit reach the service manager as a start type it refuses, never as
    // SERVICE_NO_CHANGE, which would report success for nothing done.
    EXPECT_EQ(87u, run_task_command(L"spool-auto", L"4294967295"));
    EXPECT_EQ(87u, run_task_command(L"spool-auto", L"99999999999"));
    EXPECT_EQ(2u, spooler_start_type());
    run_task_command(L"spool-auto", std::to_wstring(before).c_str());
    EXPECT_EQ(before, spooler_start_type());
}

TEST(PortTasks, AddressSnmpAndBadArguments) {
    PortKey port(L"VantrelTestPort");
    // The key is written, then the spooler restarts so the port monitor reads it again.
    EXPECT_EQ(0u, run_task_command(L"port-addr", L"VantrelTestPort|192.168.7.20"));
    EXPECT_EQ((DWORD)SERVICE_RUNNING, spooler_state());
    EXPECT_EQ(L"192.168.7.20", port.get(L"HostName"));
    EXPECT_EQ(L"192.168.7.20", port.get(L"IPAddress"));
    EXPECT_EQ(0u, run_task_command(L"port-addr", L"VantrelTestPort|printer.office.example"));
    EXPECT_EQ(L"printer.office.example", port.get(L"HostName"));
    EXPECT_EQ(L"192.168.7.20", port.get(L"IPAddress")) << "a host name leaves the address alone";
    EXPECT_EQ(87u, run_task_command(L"port-addr", L"VantrelTestPort 10.9.9.9"));
    EXPECT_EQ(87u, run_task_command(L"port-addr", L""));
    EXPECT_EQ(87u, run_task_command(L"port-addr", L"|10.9.9.9"))
        << "an empty port name would write on the Ports key";
    EXPECT_EQ(87u, run_task_command(L"port-addr", L"VantrelTestPort\\..|10.9.9.9"));
    EXPECT_EQ(L"printer.office.example", port.get(L"HostName"));
    for (size_t n : {200, 300}) // an address cut to fit is refused
        EXPECT_EQ(87u, run_task_command(L"port-addr", (L"VantrelTestPort|" + std::wstring(n, L'h')).c_str()))
            << n;
    EXPECT_EQ(L"printer.office.example", port.get(L"HostName")) << "nothing written";
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, run_task_command(L"port-addr", L"NoSuchPort|10.9.9.9"));

    EXPECT_EQ(0u, run_task_command(L"snmp-off", L"VantrelTestPort"));
    EXPECT_EQ(L"0", port.get(L"SNMP Enabled"));
    EXPECT_EQ(0u, run_task_command(L"snmp-on", L"VantrelTestPort"));
    EXPECT_EQ(L"1", port.get(L"SNMP Enabled"));
    EXPECT_EQ(87u, run_task_command(L"snmp-off", L""));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, run_task_command(L"snmp-off", L"NoSuchPort"));
}

TEST(PrinterTasks, UnknownPrinterGivesTheSpoolersError) {
    // Wine's spooler answers for a printer it does not have as Windows does.
    HANDLE h = nullptr;
    PRINTER_DEFAULTSW d = {nullptr, nullptr, PRINTER_ACCESS_ADMINISTER};
    SetLastError(0);
    BOOL opened = OpenPrinterW((LPWSTR)L"No Such Printer", &h, &d);
    DWORD expected = opened ? 0 : GetLastError();
    if (opened) ClosePrinter(h);
    ASSERT_NE(0u, expected);
    for (auto verb : {L"pause", L"resume", L"purge", L"online", L"offline", L"delete"})
        EXPECT_EQ(expected, run_task_command(verb, L"No Such Printer")) << verb;
    for (auto verb : {L"pause", L"resume", L"purge", L"online", L"offline", L"delete"})
        EXPECT_EQ(87u, run_task_command(verb, L"")) << verb << ": an empty name would reach the print server";
}

TEST(WindowsFeatureTasks, AnswerWithWindowsOwnError) {
    // Wine ships no dism.exe: "pdf" answers with the process start's own code, never success.
    // Wine's channel configuration calls are stubs that answer success without keeping anything,
    // so "oplog-on" and "oplog-off" pass on what they said.
    wchar_t dism[MAX_PATH];
    GetSystemDirectoryW(dism, MAX_PATH);
    text_append(dism, _countof(dism), L"\\dism.exe");
    if (!exists(dism)) {
        EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, run_task_command(L"pdf", L""));
    }
    uint32_t on = run_task_command(L"oplog-on", L"");
    uint32_t off = run_task_command(L"oplog-off", L"");
    std::printf("oplog-on answered %u, oplog-off %u\n", on, off);
    EXPECT_NE(87u, on);
    EXPECT_NE(87u, off);
}

// The collector end to end against a test PC set up in the Wine prefix: printers added through the
// spooler, Standard TCP/IP port values, a spool folder, the default-printer mode and the protected
// print policy in the registry. The check runs through the real Windows reader and hands its
// snapshot to a window, as the check worker does.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <winspool.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "collect/collector_win.h"
#include "collect/net_cache.h"
#include "core/settings.h"
#include "core/text.h"
#include "tests/support/test_pc.h"

namespace {

const wchar_t* kTcpKey = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports";
const wchar_t* kSpoolKey = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
const wchar_t* kWindowsKey = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const wchar_t* kWppKey = L"SOFTWARE\\Policies\\Microsoft\\Windows NT\\Printers\\WPP";
const wchar_t* kDriver = L"Vantrel Test PCL 6";
const wchar_t* kGoneDriver = L"Vantrel Gone PS";
const wchar_t* kX86GoneDriver = L"Vantrel X86Gone PCL 6";

const wchar_t* kPrinters[][3] = {
    {L"Front Desk", L"IP_127.0.0.5", kDriver},        {L"Back Office", L"IP_127.0.0.5_b", kGoneDriver},
    {L"Label USB", L"USB001", kX86GoneDriver},        {L"File Out", L"FILE:", kDriver},
    {L"Pool", L"IP_127.0.0.6,IP_127.0.0.7", kDriver}, {L"Odd Values", L"IP_odd", kDriver},
};

// The window the snapshot is handed to; it lives on the test's own thread, so the posted message
// waits in the queue until the test takes it.
HWND g_window;
volatile LONG g_running;

int g_net_tests;
std::vector<std::wstring> g_net_targets;

int counting_net_test(void*, NetTestResult* r, const wchar_t* target, int, const wchar_t*) {
    g_net_tests++;
    g_net_targets.push_back(target);
    *r = NetTestResult{};
    text_copy(r->target, _countof(r->target), target);
    r->tested = 1;
    r->resolved = 1;
    r->pageCount = g_net_tests;
    return 0;
}

Snapshot* take_posted() {
    MSG msg;
    Snapshot* s = nullptr;
    while (PeekMessageW(&msg, g_window, MsgCheckDone, MsgCheckDone, PM_REMOVE)) {
        snapshot_free(s);
        s = reinterpret_cast<Snapshot*>(msg.lParam);
    }
    return s;
}

struct Check {
    Snapshot* s = nullptr;
    ~Check() { snapshot_free(s); }
    Snapshot* operator->() const { return s; }
};

void run_check(Check* check, int with_network_test, const wchar_t* only = L"", NetTestFunction net = nullptr,
               const CollectorPlatform* override_platform = nullptr) {
    CheckRequest* request = static_cast<CheckRequest*>(calloc(1, sizeof(CheckRequest)));
    request->withNetworkTest = with_network_test;
    text_copy(request->onlyAddress, _countof(request->onlyAddress), only);
    g_running = 1;
    CheckWorker worker = {g_window, &g_running, nullptr, net, &g_settings};
    Snapshot* returned;
    if (override_platform)
        returned = collector_run(request, &g_settings, override_platform, nullptr);
    else
        returned = run_check_worker(request, &worker);
    check->s = take_posted();
    ASSERT_NE(check->s, nullptr);
    EXPECT_EQ(returned, check->s);
    EXPECT_EQ(g_running, 1); // cleared by the window's hand-over, not by the worker
}

// With a CUPS server (the test run starts one), Wine adds its queue to the printers.
int cups_running() {
    return getenv("CUPS_SERVER") != nullptr;
}
int expected_printers() {
    return 6 + (cups_running() ? 1 : 0);
}

const PrinterRecord* find(const Snapshot* s, const wchar_t* name) {
    for (int i = 0; i < s->printerCount; i++)
        if (wcscmp(s->printers[i].name, name) == 0) return &s->printers[i];
    return nullptr;
}

class CollectorPc : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        net_cache_init();
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
        settings_defaults(&g_settings);
        g_window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);

        CreateDirectoryW(L"C:\\vtsrc", nullptr);
        ASSERT_TRUE(write_test_file(L"C:\\vtsrc\\vttest.dll", 64));
        ASSERT_TRUE(write_test_file(L"C:\\vtsrc\\vtgone.dll", 64));
        ASSERT_TRUE(write_test_file(L"C:\\vtsrc\\vtx86.dll", 64));
        ASSERT_TRUE(add_test_driver(kDriver, L"Windows x64", L"C:\\vtsrc\\vttest.dll"));
        ASSERT_TRUE(add_test_driver(kGoneDriver, L"Windows x64", L"C:\\vtsrc\\vtgone.dll"));
        ASSERT_TRUE(add_test_driver(kX86GoneDriver, L"Windows NT x86", L"C:\\vtsrc\\vtx86.dll"));
        ASSERT_TRUE(add_test_driver(kX86GoneDriver, L"Windows x64", L"C:\\vtsrc\\vtx86.dll"));
        // Wine registers a driver without copying its files; put them where Windows would have,
        // except the ones that "went missing" after the installation (in folders that exist, so
        // the file itself is what is missing).
        CreateDirectoryW(L"C:\\windows\\system32\\spool\\drivers\\w32x86", nullptr);
        CreateDirectoryW(L"C:\\windows\\system32\\spool\\drivers\\w32x86\\3", nullptr);
        ASSERT_TRUE(write_test_file(driver_file_path(kDriver, L"Windows x64"), 64));
        ASSERT_TRUE(write_test_file(driver_file_path(kX86GoneDriver, L"Windows x64"), 64));

        std::wstring ports = kTcpKey;
        ASSERT_TRUE(set_reg_string(HKEY_LOCAL_MACHINE, ports + L"\\IP_127.0.0.5", L"HostName", L""));
        ASSERT_TRUE(
            set_reg_string(HKEY_LOCAL_MACHINE, ports + L"\\IP_127.0.0.5", L"IPAddress", L"127.0.0.5"));
        ASSERT_TRUE(set_reg_dword(HKEY_LOCAL_MACHINE, ports + L"\\IP_127.0.0.5", L"PortNumber", 9101));
        ASSERT_TRUE(set_reg_dword(HKEY_LOCAL_MACHINE, ports + L"\\IP_127.0.0.5", L"Protocol", 2));
        ASSERT_TRUE(set_reg_dword(HKEY_LOCAL_MACHINE, ports + L"\\IP_127.0.0.5", L"SNMP Enabled", 1));
        ASSERT_TRUE(
            set_reg_string(HKEY_LOCAL_MACHINE, ports + L"\\IP_127.0.0.5", L"SNMP Community", L"office"));
        ASSERT_TRUE(
            set_reg_string(HKEY_LOCAL_MACHINE, ports + L"\\IP_127.0.0.5_b", L"HostName", L"127.0.0.5"));
        ASSERT_TRUE(set_reg_string(HKEY_LOCAL_MACHINE, ports + L"\\IP_127.0.0.6", L"HostName", L"localhost"));
        ASSERT_TRUE(set_reg_string(HKEY_LOCAL_MACHINE, ports + L"\\IP_127.0.0.7", L"HostName", L"127.0.0.7"));
        // Values of the wrong type or length keep the built-in ones.
        ASSERT_TRUE(set_reg_string(HKEY_LOCAL_MACHINE, ports + L"\\IP_odd", L"IPAddress", L"127.0.0.9"));
        ASSERT_TRUE(set_reg_string(HKEY_LOCAL_MACHINE, ports + L"\\IP_odd", L"PortNumber", L"9200"));
        uint16_t two_bytes = 2;
        ASSERT_TRUE(set_reg_binary(HKEY_LOCAL_MACHINE, ports + L"\\IP_odd", L"Protocol", &two_bytes,
                                   sizeof(two_bytes)));
        ASSERT_TRUE(set_reg_string(HKEY_LOCAL_MACHINE, ports + L"\\IP_odd", L"SNMP Community",
                                   std::wstring(70, L'c')));

        for (const auto& p : kPrinters)
            ASSERT_TRUE(add_test_printer(p[0], p[1], p[2]));
        SetDefaultPrinterW(L"Label USB");

        CreateDirectoryW(L"C:\\vtspool", nullptr);
        CreateDirectoryW(L"C:\\vtspool\\sub", nullptr);
        ASSERT_TRUE(write_test_file(L"C:\\vtspool\\00001.SPL", 10));
        ASSERT_TRUE(write_test_file(L"C:\\vtspool\\00001.SHD", 300));
        ASSERT_TRUE(write_test_file(L"C:\\vtspool\\sub\\inner.SPL", 5000));
        wchar_t spool[260] = L"";
        DWORD size = sizeof(spool);
        if (RegGetValueW(HKEY_LOCAL_MACHINE, kSpoolKey, L"DefaultSpoolDirectory", RRF_RT_REG_SZ, nullptr,
                         spool, &size) == ERROR_SUCCESS)
            s_old_spool = spool;
        ASSERT_TRUE(set_reg_string(HKEY_LOCAL_MACHINE, kSpoolKey, L"DefaultSpoolDirectory", L"C:\\vtspool"));

        ASSERT_TRUE(set_reg_dword(HKEY_CURRENT_USER, kWindowsKey, L"LegacyDefaultPrinterMode", 1));
        ASSERT_TRUE(set_reg_dword(HKEY_LOCAL_MACHINE, kWppKey, L"WindowsProtectedPrintGroupPolicyState", 1));
        ASSERT_TRUE(set_reg_dword(HKEY_LOCAL_MACHINE, VANTREL_POINT_AND_PRINT_KEY,
                                  L"RestrictDriverInstallationToAdministrators", 0));
        ASSERT_TRUE(
            set_reg_dword(HKEY_LOCAL_MACHINE, VANTREL_POINT_AND_PRINT_KEY, L"UpdatePromptSettings", 2));
        ASSERT_TRUE(set_reg_dword(HKEY_LOCAL_MACHINE, VANTREL_PRINT_KEY, L"RpcAuthnLevelPrivacyEnabled", 0));
        ASSERT_TRUE(
            set_reg_dword(HKEY_LOCAL_MACHINE, VANTREL_PRINTER_RPC_KEY, L"RpcUseNamedPipeProtocol", 1));
        ASSERT_TRUE(
            set_reg_string(HKEY_CURRENT_USER, VANTREL_KNOWN_KEY, L"Front Desk", L"00-11-22-33-44-55|SER1"));
    }

    // Later test programs share the prefix: leave it as it was found.
    static void TearDownTestSuite() {
        for (const auto& p : kPrinters)
            delete_test_printer(p[0]);
        delete_test_printer(L"VantrelCups"); // or later programs would still list it without the server
        for (const wchar_t* d : {kDriver, kGoneDriver, kX86GoneDriver}) {
            DeletePrinterDriverExW(nullptr, const_cast<wchar_t*>(L"Windows x64"), const_cast<wchar_t*>(d), 0,
                                   0);
            DeletePrinterDriverExW(nullptr, const_cast<wchar_t*>(L"Windows NT x86"), const_cast<wchar_t*>(d),
                                   0, 0);
        }
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kTcpKey)).c_str());
        if (s_old_spool.empty())
            RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSpoolKey, L"DefaultSpoolDirectory");
        else
            ASSERT_TRUE(set_reg_string(HKEY_LOCAL_MACHINE, kSpoolKey, L"DefaultSpoolDirectory", s_old_spool));
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kWindowsKey, L"LegacyDefaultPrinterMode");
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kWppKey);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, VANTREL_POINT_AND_PRINT_KEY);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, VANTREL_PRINTER_RPC_KEY);
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, VANTREL_PRINT_KEY, L"RpcAuthnLevelPrivacyEnabled");
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Corvalen\\Vantrel");
        if (g_window) DestroyWindow(g_window);
    }

    static std::wstring s_old_spool;
};
std::wstring CollectorPc::s_old_spool;

TEST_F(CollectorPc, ReadsThePrintersPortsAndDrivers) {
    Check c;
    run_check(&c, 0);
    const Snapshot* s = c.s;
    EXPECT_EQ(s->printerCount, expected_printers());
    EXPECT_STREQ(s->defaultPrinter, L"Label USB");

    const PrinterRecord* front = find(s, L"Front Desk");
    ASSERT_NE(front, nullptr);
    EXPECT_EQ(front->kind, KindTcpIp);
    EXPECT_STREQ(front->address, L"127.0.0.5");
    EXPECT_EQ(front->portNumber, 9101);
    EXPECT_EQ(front->protocol, 2);
    EXPECT_EQ(front->snmpEnabled, 1);
    EXPECT_STREQ(front->snmpCommunity, L"office");
    EXPECT_STREQ(front->location, L"Second floor");
    EXPECT_STREQ(front->knownMac, L"00-11-22-33-44-55");
    EXPECT_STREQ(front->knownSerial, L"SER1");
    EXPECT_EQ(front->isDefault, 0);
    EXPECT_EQ(front->driverFound, 1);
    EXPECT_EQ(front->driverFilesMissing, 0);
    EXPECT_EQ(front->net.tested, 0);
    EXPECT_EQ(front->net.pageCount, -1);

    const PrinterRecord* back = find(s, L"Back Office");
    ASSERT_NE(back, nullptr);
    EXPECT_STREQ(back->address, L"127.0.0.5");
    EXPECT_EQ(back->portNumber, 9100);
    EXPECT_EQ(back->driverFilesMissing, 1);

    const PrinterRecord* usb = find(s, L"Label USB");
    ASSERT_NE(usb, nullptr);
    EXPECT_EQ(usb->kind, KindUsb);
    EXPECT_EQ(usb->isDefault, 1);
    EXPECT_STREQ(usb->address, L"");
    EXPECT_EQ(usb->driverFilesMissing, 0); // only the x86 copy's file is gone
    ASSERT_GE(usb->driverIndex, 0);
    EXPECT_STREQ(s->drivers[usb->driverIndex].environment, L"Windows x64");

    const PrinterRecord* file = find(s, L"File Out");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->kind, KindBuiltIn);
    EXPECT_EQ(file->isVirtual, 1);

    const PrinterRecord* pool = find(s, L"Pool");
    ASSERT_NE(pool, nullptr);
    EXPECT_STREQ(pool->portName, L"IP_127.0.0.6,IP_127.0.0.7");
    EXPECT_STREQ(pool->address, L"localhost");

    // The pool's two Standard TCP/IP ports, each with its own address.
    int pool_index = (int)(pool - s->printers), members = 0;
    for (int i = 0; i < s->poolMemberCount; i++) {
        const PoolMember& m = s->poolMembers[i];
        if (m.printerIndex != pool_index) continue;
        EXPECT_EQ(m.position, members);
        EXPECT_EQ(m.kind, KindTcpIp);
        EXPECT_STREQ(m.address, members == 0 ? L"localhost" : L"127.0.0.7");
        members++;
    }
    EXPECT_EQ(members, 2);

    const PrinterRecord* odd = find(s, L"Odd Values");
    ASSERT_NE(odd, nullptr);
    EXPECT_STREQ(odd->address, L"127.0.0.9");
    EXPECT_EQ(odd->portNumber, 9100);
    EXPECT_EQ(odd->protocol, 1);
    EXPECT_STREQ(odd->snmpCommunity, L"");

    int test_drivers = 0, missing = 0;
    for (int i = 0; i < s->driverCount; i++) {
        const DriverRecord& d = s->drivers[i];
        if (wcsncmp(d.name, L"Vantrel ", 8) != 0) continue;
        test_drivers++;
        missing += d.fileMissing;
        EXPECT_EQ(d.version, 3);
        EXPECT_NE(d.driverPath[0], 0);
    }
    EXPECT_EQ(test_drivers, 4);
    EXPECT_EQ(missing, 2);
    for (int i = 0; i < s->driverCount; i++)
        if (wcscmp(s->drivers[i].name, kDriver) == 0) {
            EXPECT_EQ(s->drivers[i].printerCount, 4);
        }
}

TEST_F(CollectorPc, ListsTheCupsQueue) {
    if (!cups_running()) GTEST_SKIP() << "no CUPS server in this run";
    Check c;
    run_check(&c, 1, L"", counting_net_test);
    const PrinterRecord* q = find(c.s, L"VantrelCups");
    ASSERT_NE(q, nullptr);
    EXPECT_STREQ(q->portName, L"CUPS:VantrelCups");
    EXPECT_EQ(q->kind, KindOther);
    EXPECT_STREQ(q->address, L"");
    EXPECT_EQ(q->isVirtual, 0);
    EXPECT_EQ(q->isConnection, 0);
    EXPECT_EQ(q->net.tested, 0); // no address: never network-tested
    EXPECT_EQ(q->driverIndex == -1, q->driverFound == 0);
}

TEST_F(CollectorPc, ReadsTheSpoolFolderPoliciesAccountsAndService) {
    Check c;
    run_check(&c, 0);
    const Snapshot* s = c.s;
    EXPECT_STREQ(s->spoolFolder, L"C:\\vtspool");
    EXPECT_EQ(s->spoolFolderRead, 1);
    EXPECT_EQ(s->spoolFileCount, 2); // the sub-folder and its file do not count
    EXPECT_EQ(s->spoolBytes, 310u);
    EXPECT_EQ(s->windowsManagesDefault, 0);
    EXPECT_EQ(s->protectedPrintPolicy, 1);
    EXPECT_EQ(s->restrictDriverInstallation.present, 1);
    EXPECT_EQ(s->restrictDriverInstallation.value, 0u);
    EXPECT_EQ(s->noWarningNoElevationOnInstall.present, 0);
    EXPECT_EQ(s->updatePromptSettings.value, 2u);
    EXPECT_EQ(s->rpcAuthnLevelPrivacy.present, 1);
    EXPECT_EQ(s->rpcAuthnLevelPrivacy.value, 0u);
    EXPECT_EQ(s->rpcUseNamedPipe.value, 1u);
    EXPECT_GT(s->windowsBuild, 0) << "Wine's own CurrentBuild";

    wchar_t user[128];
    DWORD n = _countof(user);
    ASSERT_TRUE(GetUserNameW(user, &n));
    EXPECT_STREQ(s->userName, user);
    EXPECT_EQ(s->runningAsSystem, 0);

    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(s->checkTime.year, now.wYear);

    // Wine's stand-in Spooler service can change state by itself between the snapshot and this
    // query (the spooler calls start it on demand), so the snapshot must hold a real state read
    // from the service, not necessarily the one it has a moment later.
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceW(manager, L"Spooler", SERVICE_QUERY_STATUS) : nullptr;
    SERVICE_STATUS status = {};
    if (service && QueryServiceStatus(service, &status)) {
        EXPECT_GE(s->spoolerState, 1);
        EXPECT_LE(s->spoolerState, 7);
    }
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
    EXPECT_EQ(s->pdfPrinterMissing, s->spoolerState == 4 ? 1 : 0);
}

TEST_F(CollectorPc, WineEventLogReadsAsUnreadable) {
    Check c;
    run_check(&c, 0);
    EXPECT_EQ(c->serviceLogRead, 0);
    EXPECT_EQ(c->spoolerCrashCount, 0);
    EXPECT_EQ(c->logCount, 0);
    EXPECT_EQ(c->adminLogRead, 0);
    EXPECT_EQ(c->operationalLogKnown, 0);
    EXPECT_EQ(c->operationalLogEnabled, 0);
}

TEST_F(CollectorPc, SpoolerServiceStartedOrStoppedTheCheckCompletes) {
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = manager ? OpenServiceW(manager, L"Spooler", SERVICE_ALL_ACCESS) : nullptr;
    ASSERT_NE(service, nullptr);
    SERVICE_STATUS status = {};
    for (int round = 0; round < 2; round++) {
        if (round == 0) {
            StartServiceW(service, 0, nullptr);
        } else {
            ControlService(service, SERVICE_CONTROL_STOP, &status);
        }
        Sleep(300);
        Check c;
        run_check(&c, 0);
        ASSERT_TRUE(QueryServiceStatus(service, &status));
        EXPECT_EQ((DWORD)c->spoolerState, status.dwCurrentState);
        EXPECT_EQ(c->printerCount, expected_printers());
    }
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
}

TEST_F(CollectorPc, UnreadableSpoolFolder) {
    ASSERT_TRUE(
        set_reg_string(HKEY_LOCAL_MACHINE, kSpoolKey, L"DefaultSpoolDirectory", L"C:\\no\\such\\folder"));
    Check c;
    run_check(&c, 0);
    ASSERT_TRUE(set_reg_string(HKEY_LOCAL_MACHINE, kSpoolKey, L"DefaultSpoolDirectory", L"C:\\vtspool"));
    EXPECT_STREQ(c->spoolFolder, L"C:\\no\\such\\folder");
    EXPECT_EQ(c->spoolFolderRead, 0);
    EXPECT_EQ(c->spoolFileCount, 0);
    EXPECT_EQ(c->spoolBytes, 0u);
    EXPECT_EQ(c->printerCount, expected_printers());
}

// The Windows reader with two operations wrapped: every printer claims a job, and the job listing
// first deletes the printer it is asked about, as when someone removes it mid-check.
CollectorPlatform g_real;
std::vector<std::wstring> g_deleted;
TakePrinter g_real_take;

void take_with_job(void* arg, const RawPrinter* raw) {
    RawPrinter copy = *raw;
    copy.jobs = 1;
    g_real_take(arg, &copy);
}
int list_printers_with_jobs(void* ctx, TakePrinter take, void* arg) {
    g_real_take = take;
    return g_real.list_printers(ctx, take_with_job, arg);
}
int list_jobs_of_vanished(void* ctx, const wchar_t* printer, TakeJob take, void* arg) {
    if (wcscmp(printer, L"Pool") == 0) {
        delete_test_printer(printer);
        g_deleted.push_back(printer);
    }
    return g_real.list_jobs(ctx, printer, take, arg);
}

TEST_F(CollectorPc, PrinterDisappearsBetweenTheListingAndTheJobRead) {
    CheckWorker worker = {g_window, &g_running, nullptr, nullptr, &g_settings};
    windows_collector_platform(&worker, &g_real);
    CollectorPlatform wrapped = g_real;
    wrapped.list_printers = list_printers_with_jobs;
    wrapped.list_jobs = list_jobs_of_vanished;
    Check c;
    run_check(&c, 0, L"", nullptr, &wrapped);
    ASSERT_TRUE(add_test_printer(L"Pool", L"IP_127.0.0.6,IP_127.0.0.7", kDriver));
    EXPECT_EQ(g_deleted, std::vector<std::wstring>{L"Pool"});
    const PrinterRecord* pool = find(c.s, L"Pool");
    ASSERT_NE(pool, nullptr);
    EXPECT_EQ(pool->jobCount, 1);
    for (int i = 0; i < c->jobCount; i++)
        EXPECT_NE(&c->printers[c->jobs[i].printerIndex], pool);
    EXPECT_GT(c->driverCount, 0); // the rest of the check went on
}

TEST_F(CollectorPc, NetworkTestsGoThroughTheProcessCache) {
    g_net_tests = 0;
    g_net_targets.clear();
    Check first;
    run_check(&first, 1, L"", counting_net_test);
    // Two printers on 127.0.0.5, the pool on localhost, the odd port on 127.0.0.9; the file
    // printer has no address.
    // The pool's second port, 127.0.0.7, is tested after the printers' addresses.
    EXPECT_EQ(g_net_targets,
              (std::vector<std::wstring>{L"127.0.0.5", L"127.0.0.9", L"localhost", L"127.0.0.7"}));
    EXPECT_EQ(find(first.s, L"Front Desk")->net.pageCount, find(first.s, L"Back Office")->net.pageCount);
    EXPECT_EQ(first->networkTested, 1);

    Check one;
    run_check(&one, 1, L"LOCALHOST", counting_net_test);
    EXPECT_EQ(g_net_tests, 5);
    EXPECT_EQ(find(one.s, L"Pool")->net.pageCount, 5);
    EXPECT_EQ(find(one.s, L"Front Desk")->net.pageCount, 1); // cached

    Check quiet;
    run_check(&quiet, 0, L"", counting_net_test);
    EXPECT_EQ(g_net_tests, 5);
    EXPECT_EQ(find(quiet.s, L"Odd Values")->net.tested, 1);
}

// The real network test, on loopback only: a listener on 127.0.0.5:9100 stands in for the printer.
TEST_F(CollectorPc, RealNetworkTestOfOneAddress) {
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    ASSERT_NE(listener, INVALID_SOCKET);
    sockaddr_in at = {};
    at.sin_family = AF_INET;
    at.sin_port = htons(9100);
    at.sin_addr.s_addr = htonl(0x7f000005);
    ASSERT_EQ(bind(listener, (sockaddr*)&at, sizeof(at)), 0);
    ASSERT_EQ(listen(listener, 8), 0);
    Settings saved = g_settings;
    g_settings.askPrinter = 0; // nothing answers SNMP here; spare the two time-outs
    Check c;
    run_check(&c, 1, L"127.0.0.5");
    g_settings = saved;
    closesocket(listener);
    const PrinterRecord* front = find(c.s, L"Front Desk");
    const PrinterRecord* back = find(c.s, L"Back Office");
    ASSERT_NE(front, nullptr);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(front->net.tested, 1);
    EXPECT_EQ(front->net.resolved, 1);
    EXPECT_STREQ(front->net.target, L"127.0.0.5");
    EXPECT_STREQ(front->net.ipText, L"127.0.0.5");
    EXPECT_EQ(front->net.portOpen[0], 1);
    EXPECT_EQ(front->net.snmpAsked, 0);
    EXPECT_EQ(memcmp(&front->net, &back->net, sizeof(NetTestResult)), 0);
    NetTestResult cached = {};
    EXPECT_EQ(net_cache_get(L"127.0.0.5", &cached), 1);
    EXPECT_EQ(cached.portOpen[0], 1);
}

TEST_F(CollectorPc, FullCacheShowsButDoesNotKeepANewAddress) {
    for (int i = 0; i < 64; i++) {
        NetTestResult r = {};
        text_format(r.target, _countof(r.target), L"10.200.0.%d", i);
        r.tested = 1;
        net_cache_put(&r);
    }
    // Odd Values' address was cached by the test above when it ran first; use a fresh one.
    ASSERT_TRUE(
        set_reg_string(HKEY_LOCAL_MACHINE, std::wstring(kTcpKey) + L"\\IP_odd", L"IPAddress", L"127.0.0.99"));
    g_net_tests = 0;
    Check tested;
    run_check(&tested, 1, L"127.0.0.99", counting_net_test);
    const PrinterRecord* odd = find(tested.s, L"Odd Values");
    EXPECT_EQ(g_net_tests, 1);
    EXPECT_EQ(odd->net.tested, 1);
    NetTestResult out = {};
    EXPECT_EQ(net_cache_get(L"127.0.0.99", &out), 0);
    Check later;
    run_check(&later, 0);
    ASSERT_TRUE(
        set_reg_string(HKEY_LOCAL_MACHINE, std::wstring(kTcpKey) + L"\\IP_odd", L"IPAddress", L"127.0.0.9"));
    EXPECT_EQ(find(later.s, L"Odd Values")->net.tested, 0);
}

TEST_F(CollectorPc, RunsOnItsOwnThread) {
    CheckStart* start = static_cast<CheckStart*>(calloc(1, sizeof(CheckStart)));
    start->worker = {g_window, &g_running, nullptr, nullptr, nullptr};
    start->settings = g_settings;
    start->request = static_cast<CheckRequest*>(calloc(1, sizeof(CheckRequest)));
    g_running = 1;
    HANDLE thread = CreateThread(nullptr, 0, check_worker_thread, start, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 60000), WAIT_OBJECT_0);
    CloseHandle(thread);
    Check c;
    c.s = take_posted();
    ASSERT_NE(c.s, nullptr);
    EXPECT_EQ(c->printerCount, expected_printers());
    EXPECT_EQ(g_running, 1);
}

TEST_F(CollectorPc, FailedHandOverFreesTheSnapshotAndClearsTheFlag) {
    CheckRequest* request = static_cast<CheckRequest*>(calloc(1, sizeof(CheckRequest)));
    g_running = 1;
    CheckWorker worker = {nullptr, &g_running, nullptr, nullptr, &g_settings}; // no window to post to
    EXPECT_EQ(run_check_worker(request, &worker), nullptr);
    EXPECT_EQ(g_running, 0);
}

} // namespace

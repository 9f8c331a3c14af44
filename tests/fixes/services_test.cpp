// The spooler cycle against a tree of real services that depend on "Spooler", registered in the
// Wine prefix's service manager and played by a tiny service program that writes down when it is
// started and stopped.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include <wchar.h>

#include "fixes/tasks.h"
#include "tests/support/test_pc.h"
#include "tests/support/test_support.h"

namespace {

const wchar_t* kEvents = L"C:\\vtsvc\\events.txt";

// Name, the service it depends on, whether the test starts it, and whether it refuses to stop.
struct TestService {
    const wchar_t* name;
    const wchar_t* dependsOn;
    bool running;
    bool refusesStop;
};
const TestService kTree[] = {
    {L"VantrelDepA", L"Spooler", true, false},     // depth 1
    {L"VantrelDepB", L"VantrelDepA", true, false}, // depth 2
    {L"VantrelDepD", L"VantrelDepB", true, false}, // depth 3
    {L"VantrelDepC", L"Spooler", false, false},    // depth 1, stopped: must stay stopped
    {L"VantrelRoot", L"", true, false},
    {L"VantrelStubborn", L"VantrelRoot", true, true},
};

const auto service_program = [] { return path_from_environment(L"VANTREL_TEST_SERVICE"); };

DWORD state_of(const wchar_t* name) {
    SC_HANDLE m = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE s = m ? OpenServiceW(m, name, SERVICE_QUERY_STATUS) : nullptr;
    SERVICE_STATUS st = {};
    if (s) QueryServiceStatus(s, &st);
    if (s) CloseServiceHandle(s);
    if (m) CloseServiceHandle(m);
    return st.dwCurrentState;
}

bool wait_state(const wchar_t* name, DWORD wanted) {
    for (int i = 0; i < 100; i++) {
        if (state_of(name) == wanted) return true;
        Sleep(100);
    }
    return false;
}

DWORD start(const wchar_t* name) {
    SC_HANDLE m = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE s = m ? OpenServiceW(m, name, SERVICE_START) : nullptr;
    DWORD error = s && StartServiceW(s, 0, nullptr) ? 0 : GetLastError();
    if (s) CloseServiceHandle(s);
    if (m) CloseServiceHandle(m);
    if (error == ERROR_SERVICE_ALREADY_RUNNING) error = 0;
    if (!error && !wait_state(name, SERVICE_RUNNING)) error = ERROR_SERVICE_REQUEST_TIMEOUT;
    return error;
}

std::vector<std::string> events() {
    std::vector<std::string> lines;
    std::string data = read_test_file(kEvents);
    if (data == "(no file)") return lines;
    size_t at = 0;
    while (at < data.size()) {
        size_t end = data.find("\r\n", at);
        if (end == std::string::npos) end = data.size();
        lines.push_back(data.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

void send_control(const wchar_t* name, DWORD control) {
    SC_HANDLE m = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE s = m ? OpenServiceW(m, name, SERVICE_STOP | SERVICE_USER_DEFINED_CONTROL) : nullptr;
    SERVICE_STATUS st = {};
    if (s) ControlService(s, control, &st);
    if (s) CloseServiceHandle(s);
    if (m) CloseServiceHandle(m);
}

void stop(const TestService& t) {
    send_control(t.name, t.refusesStop ? 128 : SERVICE_CONTROL_STOP);
    wait_state(t.name, SERVICE_STOPPED);
}

// The services are registered once; every test starts from the spooler and the running ones
// running, the stopped one stopped, and an empty events file.
class Dependents : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_FALSE(service_program().empty());
        CreateDirectoryW(L"C:\\vtsvc", nullptr);
        SC_HANDLE m = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        ASSERT_NE(nullptr, m);
        for (const TestService& t : kTree) {
            std::wstring command = L"\"" + service_program() + L"\" " + kEvents + L" " + t.name;
            if (t.refusesStop) command += L" nostop";
            std::wstring depends = std::wstring(t.dependsOn) + L'\0' + L'\0';
            SC_HANDLE s =
                CreateServiceW(m, t.name, t.name, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                               SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE, command.c_str(), nullptr, nullptr,
                               t.dependsOn[0] ? depends.c_str() : nullptr, nullptr, nullptr);
            ASSERT_NE(nullptr, s) << GetLastError();
            CloseServiceHandle(s);
        }
        CloseServiceHandle(m);
    }

    static void TearDownTestSuite() {
        for (int i = (int)(sizeof(kTree) / sizeof(kTree[0])) - 1; i >= 0; i--)
            stop(kTree[i]);
        SC_HANDLE m = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        for (const TestService& t : kTree) {
            SC_HANDLE s = OpenServiceW(m, t.name, DELETE);
            if (s) DeleteService(s), CloseServiceHandle(s);
        }
        CloseServiceHandle(m);
        DeleteFileW(kEvents);
    }

    void SetUp() override {
        starts.push_back(start(L"Spooler"));
        for (const TestService& t : kTree)
            if (t.running)
                starts.push_back(start(t.name));
            else
                stop(t);
        DeleteFileW(kEvents);
    }

    std::vector<DWORD> starts;
};

// The dependents of a service as the service manager's configuration has them: each test service
// names the one it depends on, and only running ones count, as EnumDependentServicesW lists them.
int configured_dependents(void*, const wchar_t* name, ServiceNames* out) {
    *out = ServiceNames{};
    for (const TestService& t : kTree) {
        if (_wcsicmp(t.dependsOn, name) != 0 || state_of(t.name) != SERVICE_RUNNING) continue;
        if (out->count == 6) return 0;
        wcscpy_s(out->names[out->count++], 100, t.name);
    }
    return 1;
}

// The real platform with the dependents listed from the configuration, because Wine's service
// manager keeps EnumDependentServicesW a stub.
TaskPlatform configured_platform() {
    TaskPlatform p = *windows_task_platform();
    p.list_dependents = configured_dependents;
    return p;
}

std::vector<std::string> names_of(const ServiceNames& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.count; i++) {
        std::string n;
        for (const wchar_t* p = list.names[i]; *p; p++)
            n += (char)*p;
        names.push_back(n);
    }
    return names;
}

TEST_F(Dependents, TheTreeIsRunning) {
    EXPECT_EQ(std::vector<DWORD>(starts.size(), 0), starts);
    EXPECT_EQ((DWORD)SERVICE_RUNNING, state_of(L"Spooler"));
    EXPECT_EQ((DWORD)SERVICE_RUNNING, state_of(L"VantrelDepD"));
    EXPECT_EQ((DWORD)SERVICE_STOPPED, state_of(L"VantrelDepC"));
}

TEST_F(Dependents, StoppedDeepestFirstAndStartedAgainInReverse) {
    const TaskPlatform platform = configured_platform();
    ServiceNames stopped = {};
    EXPECT_EQ(0u, cycle_service(&platform, L"Spooler", 1, 0, &stopped));
    const std::vector<std::string> expected = {
        "stop VantrelDepD",  "stop VantrelDepB",  "stop VantrelDepA",
        "start VantrelDepA", "start VantrelDepB", "start VantrelDepD",
    };
    EXPECT_EQ(expected, events()) << "the one already stopped (VantrelDepC) is not started";
    EXPECT_EQ((std::vector<std::string>{"VantrelDepD", "VantrelDepB", "VantrelDepA"}), names_of(stopped));
    EXPECT_EQ((DWORD)SERVICE_RUNNING, state_of(L"Spooler"));
    EXPECT_EQ((DWORD)SERVICE_RUNNING, state_of(L"VantrelDepD"));
    EXPECT_EQ((DWORD)SERVICE_STOPPED, state_of(L"VantrelDepC"));

    // The next cycle starts with an empty list: with nothing stopped on its account it starts nothing.
    EXPECT_EQ(0u, cycle_service(&platform, L"Spooler", 0, 0, &stopped));
    EXPECT_EQ(0, stopped.count);
}

TEST_F(Dependents, WinesOwnListingIsAStubSoTheSpoolerStopsAlone) {
    // Wine's EnumDependentServicesW answers success with no services; the cycle then stops and
    // starts the spooler only, and Wine's service manager lets the dependents run on.
    ServiceNames stopped = {};
    EXPECT_EQ(0u, cycle_service(windows_task_platform(), L"Spooler", 1, 0, &stopped));
    EXPECT_EQ(0, stopped.count);
    EXPECT_EQ(std::vector<std::string>{}, events());
    EXPECT_EQ((DWORD)SERVICE_RUNNING, state_of(L"VantrelDepA"));
}

TEST_F(Dependents, ADependentThatRefusesToStopIsNeitherRecordedNorStarted) {
    const TaskPlatform platform = configured_platform();
    ServiceNames stopped = {};
    uint32_t result = cycle_service(&platform, L"VantrelRoot", 1, 0, &stopped);
    // Windows refuses to stop a service whose dependent still runs (1051); Wine stops it anyway.
    EXPECT_TRUE(result == 0 || result == ERROR_DEPENDENT_SERVICES_RUNNING) << result;
    EXPECT_EQ(0, stopped.count);
    for (const std::string& e : events())
        EXPECT_EQ(std::string::npos, e.find("VantrelStubborn")) << e;
    EXPECT_EQ((DWORD)SERVICE_RUNNING, state_of(L"VantrelStubborn"));
}

TEST_F(Dependents, AClearWhoseStopFailsTouchesNoFile) {
    wchar_t folder[260];
    windows_task_platform()->spool_folder(nullptr, folder, _countof(folder));
    CreateDirectoryW(folder, nullptr);
    std::wstring job = std::wstring(folder) + L"\\00007.SPL";
    ASSERT_TRUE(write_test_file(job, 10));
    // The service refuses the stop control, so the cycle's stop fails with Windows' own answer.
    uint32_t result = cycle_service(windows_task_platform(), L"VantrelStubborn", 1, 1, nullptr);
    EXPECT_EQ((uint32_t)ERROR_INVALID_SERVICE_CONTROL, result);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(job.c_str())) << "the spool folder was emptied";
    EXPECT_EQ((DWORD)SERVICE_RUNNING, state_of(L"VantrelStubborn"));
    DeleteFileW(job.c_str());
}

} // namespace

// The real program updating itself: a copy of Vantrel.exe 1.1.0 in a writable folder, pointed at the
// release server with "UpdateManifest", finds 1.2.0 by its own timer, is told Update now, replaces
// its file and restarts as 1.2.0. Then the manual check's answer, and a canceled download and a
// refused one, which must leave the program file exactly as it was.
#include <windows.h>
#include <tlhelp32.h>

#include "tests/support/remote_controls.h"
#include "tests/support/running_window.h"
#include "tests/update/update_fixture.h"

namespace {
const wchar_t* kKey = L"Software\\Corvalen\\Vantrel";
const int kCmdUpdateNow = 142, kCmdLater = 144, kCmdCheckForUpdates = 237;

const std::wstring kProgram = temp_path(L"vantrel-app") + L"\\Vantrel.exe", kUnderTest = vantrel_exe_path();

// A copy of Vantrel.exe 1.1.0 in a writable folder, pointed at the manifest, started.
struct AppCopy : VantrelWindow {
    static std::wstring copy(const wchar_t* manifest) {
        delete_settings_key();
        set_reg_string(HKEY_CURRENT_USER, kKey, L"UpdateManifest", server_url(manifest));
        set_reg_string(HKEY_CURRENT_USER, kKey, L"LastSeenVersion", L"1.1.0");
        CreateDirectoryW(temp_path(L"vantrel-app").c_str(), nullptr);
        DeleteFileW((kProgram + L".old").c_str());
        CopyFileW(kUnderTest.c_str(), kProgram.c_str(), FALSE);
        SetEnvironmentVariableW(L"VANTREL_EXE", kProgram.c_str()); // the program VantrelWindow starts
        return L"/scanrange 127.0.0.0/30";
    }
    explicit AppCopy(const wchar_t* manifest) : VantrelWindow(copy(manifest)) {
        SetEnvironmentVariableW(L"VANTREL_EXE", kUnderTest.c_str());
    }
    ~AppCopy() {
        close_and_wait(window, process, 10000);
        DeleteFileW((kProgram + L".old").c_str());
        DeleteFileW(kProgram.c_str());
        delete_settings_key();
    }
};

std::wstring log_path() {
    wchar_t base[MAX_PATH];
    GetEnvironmentVariableW(L"LOCALAPPDATA", base, MAX_PATH);
    return std::wstring(base) + L"\\Corvalen\\Vantrel\\Vantrel-log.txt";
}
std::wstring app_log() {
    return from_utf8(read_test_file(log_path()));
}

size_t count(const std::wstring& text, const std::wstring& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1))
        n++;
    return n;
}
size_t requests(const wchar_t* path) {
    return count(server_file(L"requests.log"), std::wstring(L"GET ") + path);
}

// Whether the process has the DLL loaded; -1 when its modules cannot be listed.
int has_module(DWORD pid, const wchar_t* dll) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snap == INVALID_HANDLE_VALUE) return -1;
    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    int found = 0, listed = 0;
    for (BOOL more = Module32FirstW(snap, &entry); more; more = Module32NextW(snap, &entry)) {
        listed = 1;
        if (_wcsicmp(entry.szModule, dll) == 0) found = 1;
    }
    CloseHandle(snap);
    return listed ? found : -1;
}

class UpdateWindow : public UpdateServerTest {}; // a class: Windows has a function of that name
} // namespace

TEST_F(UpdateWindow, AutomaticCheckThenUpdateNowReplacesTheProgramAndRestarts) {
    DeleteFileW(log_path().c_str());
    const size_t requests_before = requests(L"/good/latest.json");
    const ULONGLONG started = GetTickCount64();
    AppCopy app(L"/good/latest.json");
    ASSERT_NE(nullptr, app.window);

    // The first automatic check runs at the first tick of the 30-second timer.
    ASSERT_TRUE(wait_until([&] { return requests(L"/good/latest.json") > requests_before; }, 60000))
        << "no automatic check within a minute";
    EXPECT_GE(GetTickCount64() - started, 25000u) << "not before the timer's first tick";
    HWND bar = FindWindowExW(app.window, nullptr, L"NSUpdBar", nullptr);
    ASSERT_NE(nullptr, bar);
    EXPECT_TRUE(wait_until([&] { return IsWindowVisible(bar) != FALSE; }, 10000)) << "the update bar";
    // A copy of the program fetched the manifest: the window's process has not loaded WinHTTP.
    EXPECT_EQ(1, has_module(app.pid, L"comctl32.dll")) << "the modules are listed";
    EXPECT_EQ(0, has_module(app.pid, L"winhttp.dll"));

    const size_t downloads_before = requests(L"/files/Vantrel.exe");
    ASSERT_TRUE(wait_until(
        [&] {
            // Update now does nothing until the check's result has arrived; after that it starts once.
            if (!IsWindow(app.window)) return true;
            app.post(kCmdUpdateNow);
            return requests(L"/files/Vantrel.exe") > downloads_before;
        },
        15000));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(app.process, 30000)) << "the 1.1.0 copy did not exit";
    DWORD new_pid = app.pid;
    HWND updated = nullptr;
    ASSERT_TRUE(wait_until(
        [&] {
            updated = FindWindowExW(nullptr, nullptr, L"CorvalenVantrel", nullptr);
            return GetWindowThreadProcessId(updated, &new_pid) && new_pid != app.pid;
        },
        30000))
        << "no restarted window";
    HANDLE new_process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, new_pid);

    EXPECT_EQ(server_file(L"good.sha256"), file_sha256(kProgram)) << "the program file is the 1.2.0 file";
    EXPECT_EQ(0u, control_text(updated).find(L"Vantrel 1.2.0 \x2014 ")) << control_text(updated).c_str();
    EXPECT_TRUE(
        wait_until([&] { return count(app_log(), L"Vantrel was updated from 1.1.0 to 1.2.0") == 1; }, 10000))
        << app_log().c_str();
    EXPECT_TRUE(wait_until([&] { return !file_exists(kProgram + L".old"); }, 20000)) << "the .old copy stays";
    EXPECT_NE(nullptr, wait_for_window(new_pid, L"NSNotes", 3000)) << "What's new on the first start after";
    EXPECT_FALSE(file_exists(temp_path(L"Vantrel-update-1.2.0.exe"))) << "the download was moved, not copied";

    close_and_wait(updated, new_process, 10000);
    if (new_process) CloseHandle(new_process);
    EXPECT_EQ(1u, count(app_log(), L"Vantrel was updated from"));
}

TEST_F(UpdateWindow, CheckForUpdatesThenACanceledAndARefusedDownloadChangeNothing) {
    AppCopy app(L"/same/latest.json");
    ASSERT_NE(nullptr, app.window);
    // The next message box's text, once answered with the button; "(none)" when none showed.
    auto answer = [&](int button, DWORD timeout_ms) {
        HWND box = app.box(timeout_ms);
        std::wstring text = box ? box_message(box) : L"(none)";
        answer_box(box, button);
        return text;
    };
    auto check = [&](const wchar_t* manifest, int button) {
        set_reg_string(HKEY_CURRENT_USER, kKey, L"UpdateManifest", server_url(manifest));
        app.post(kCmdCheckForUpdates);
        return answer(button, 30000);
    };
    const std::wstring download = temp_path(L"Vantrel-update-1.2.0.exe");
    const std::wstring offer = L"Vantrel 1.2.0 is available (you have 1.1.0).";
    EXPECT_EQ(L"You have the latest version of Vantrel (1.1.0).", check(L"/same/latest.json", IDOK));

    // Later while the slow download runs cancels it without a word.
    EXPECT_EQ(0u, check(L"/slowly/latest.json", IDYES).find(offer));
    ASSERT_TRUE(wait_until([&] { return file_exists(download); }, 30000)) << "the download did not start";
    app.post(kCmdLater);
    EXPECT_TRUE(wait_until([&] { return !file_exists(download); }, 10000)) << "the partial file stays";
    EXPECT_EQ(L"(none)", answer(IDOK, 3000));

    EXPECT_EQ(0u, check(L"/wrong-hash/latest.json", IDYES).find(offer));
    std::wstring refused = answer(IDOK, 60000);
    EXPECT_EQ(L"checksum", refusal(refused.substr(refused.find(L"\n\n") + 2))) << refused.c_str();
    EXPECT_EQ(file_sha256(kUnderTest), file_sha256(kProgram)) << "byte for byte as it was";
    EXPECT_FALSE(file_exists(kProgram + L".old"));
    EXPECT_FALSE(file_exists(download));
    EXPECT_TRUE(IsWindow(app.window)) << "still running";
}

// The real program updating itself: a copy of Vantrel.exe 1.1.0 in a writable folder, pointed at the
// release server with "UpdateManifest", finds 1.2.0 by its own timer, is told Update now, replaces
// its file and restarts as 1.2.0. Then the manual check's answer, and a canceled download and a
// refused one, which must leave the program file exactly as it was.
#include "tests/support/remote_controls.h"
#include "tests/update/update_fixture.h"

namespace {
const wchar_t* kKey = L"Software\\Corvalen\\Vantrel";
const int kCmdUpdateNow = 142, kCmdLater = 144, kCmdCheckForUpdates = 237;

struct AppCopy {
    std::wstring folder = temp_path(L"vantrel-app");
    std::wstring program = folder + L"\\Vantrel.exe";
    std::wstring original_sha;
    HANDLE process = nullptr;
    DWORD pid = 0;
    HWND window = nullptr;

    explicit AppCopy(const wchar_t* manifest) {
        delete_settings_key();
        set_reg_string(HKEY_CURRENT_USER, kKey, L"UpdateManifest", server_url(manifest));
        set_reg_string(HKEY_CURRENT_USER, kKey, L"LastSeenVersion", L"1.1.0");
        CreateDirectoryW(folder.c_str(), nullptr);
        DeleteFileW((program + L".old").c_str());
        CopyFileW(vantrel_exe_path().c_str(), program.c_str(), FALSE);
        original_sha = file_sha256(program);
    }
    bool start() {
        std::wstring line = L"\"" + program + L"\" /scanrange 127.0.0.0/30";
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
            return false;
        CloseHandle(pi.hThread);
        process = pi.hProcess;
        pid = pi.dwProcessId;
        window = wait_for_window(pid, L"CorvalenVantrel", 30000);
        return window != nullptr;
    }
    ~AppCopy() {
        close_and_wait(window, process, 10000);
        if (process) CloseHandle(process);
        DeleteFileW((program + L".old").c_str());
        DeleteFileW(program.c_str());
    }
};

// The main window of a Vantrel process other than pid.
HWND other_main_window(DWORD pid, DWORD* owner) {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"CorvalenVantrel", nullptr));)
        if (GetWindowThreadProcessId(w, owner) && *owner != pid) return w;
    return nullptr;
}

// The program's message box, waited for, and its text.
HWND wait_for_box(DWORD pid, DWORD timeout_ms, std::wstring* text) {
    HWND box = wait_for_window(pid, L"#32770", timeout_ms);
    if (box && wait_until([&] { return IsWindowVisible(box) != FALSE; }, 5000))
        *text = control_text(GetDlgItem(box, 0xFFFF));
    return box;
}

void press(HWND box, int id) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(box, id));
    wait_until([&] { return !IsWindow(box); }, 5000);
}

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

class UpdateWindow : public UpdateServerTest {
  protected:
    void TearDown() override { delete_settings_key(); }
};
} // namespace

TEST_F(UpdateWindow, AutomaticCheckThenUpdateNowReplacesTheProgramAndRestarts) {
    AppCopy app(L"/good/latest.json");
    DeleteFileW(log_path().c_str());
    const size_t requests_before = requests(L"/good/latest.json");
    const ULONGLONG started = GetTickCount64();
    ASSERT_TRUE(app.start());

    // The first automatic check runs at the first tick of the 30-second timer.
    ASSERT_TRUE(wait_until([&] { return requests(L"/good/latest.json") > requests_before; }, 60000))
        << "no automatic check within a minute";
    EXPECT_GE(GetTickCount64() - started, 25000u) << "not before the timer's first tick";
    HWND bar = FindWindowExW(app.window, nullptr, L"NSUpdBar", nullptr);
    ASSERT_NE(nullptr, bar);
    EXPECT_TRUE(wait_until([&] { return IsWindowVisible(bar) != FALSE; }, 10000)) << "the update bar";

    const size_t downloads_before = requests(L"/files/Vantrel.exe");
    ASSERT_TRUE(wait_until(
        [&] {
            // Update now does nothing until the check's result has arrived; after that it starts once.
            if (!IsWindow(app.window)) return true;
            PostMessageW(app.window, WM_COMMAND, kCmdUpdateNow, 0);
            return requests(L"/files/Vantrel.exe") > downloads_before;
        },
        15000));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(app.process, 30000)) << "the 1.1.0 copy did not exit";
    DWORD new_pid = 0;
    HWND updated = nullptr;
    ASSERT_TRUE(
        wait_until([&] { return (updated = other_main_window(app.pid, &new_pid)) != nullptr; }, 30000))
        << "no restarted window";
    HANDLE new_process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, new_pid);

    EXPECT_EQ(server_file(L"good.sha256"), file_sha256(app.program)) << "the program file is the 1.2.0 file";
    EXPECT_EQ(0u, control_text(updated).find(L"Vantrel 1.2.0 \x2014 ")) << control_text(updated).c_str();
    EXPECT_TRUE(
        wait_until([&] { return count(app_log(), L"Vantrel was updated from 1.1.0 to 1.2.0") == 1; }, 10000))
        << app_log().c_str();
    EXPECT_TRUE(wait_until([&] { return !file_exists(app.program + L".old"); }, 20000))
        << "the .old copy stays";
    // The first start after the update opens What's new.
    HWND notes = wait_for_window(new_pid, L"NSNotes", 3000);
    ASSERT_NE(nullptr, notes);
    EXPECT_EQ(L"What's new in Vantrel", control_text(notes));
    EXPECT_FALSE(file_exists(temp_path(L"Vantrel-update-1.2.0.exe"))) << "the download was moved, not copied";

    close_and_wait(updated, new_process, 10000);
    if (new_process) CloseHandle(new_process);
    EXPECT_EQ(1u, count(app_log(), L"Vantrel was updated from"));
}

TEST_F(UpdateWindow, CheckForUpdatesThenACanceledAndARefusedDownloadChangeNothing) {
    AppCopy app(L"/same/latest.json");
    ASSERT_TRUE(app.start());
    auto check_and_accept = [&](const wchar_t* manifest) {
        std::wstring offer;
        set_reg_string(HKEY_CURRENT_USER, kKey, L"UpdateManifest", server_url(manifest));
        PostMessageW(app.window, WM_COMMAND, kCmdCheckForUpdates, 0);
        HWND box = wait_for_box(app.pid, 30000, &offer);
        EXPECT_EQ(0u, offer.find(L"Vantrel 1.2.0 is available (you have 1.1.0).")) << offer.c_str();
        press(box, IDYES);
    };
    const std::wstring download = temp_path(L"Vantrel-update-1.2.0.exe");
    std::wstring latest, none, refused;
    PostMessageW(app.window, WM_COMMAND, kCmdCheckForUpdates, 0);
    HWND box;
    ASSERT_NE(nullptr, box = wait_for_box(app.pid, 30000, &latest));
    EXPECT_EQ(L"You have the latest version of Vantrel (1.1.0).", latest);
    press(box, IDOK);

    // Later while the slow download runs cancels it without a word.
    check_and_accept(L"/slowly/latest.json");
    ASSERT_TRUE(wait_until([&] { return file_exists(download); }, 30000)) << "the download did not start";
    PostMessageW(app.window, WM_COMMAND, kCmdLater, 0);
    EXPECT_TRUE(wait_until([&] { return !file_exists(download); }, 10000)) << "the partial file stays";
    EXPECT_EQ(nullptr, wait_for_box(app.pid, 3000, &none)) << none.c_str();

    check_and_accept(L"/wrong-hash/latest.json");
    ASSERT_NE(nullptr, box = wait_for_box(app.pid, 60000, &refused));
    EXPECT_EQ(L"checksum", refusal(refused.substr(refused.find(L"\n\n") + 2))) << refused.c_str();
    press(box, IDOK);
    EXPECT_EQ(app.original_sha, file_sha256(app.program)) << "byte for byte as it was";
    EXPECT_FALSE(file_exists(app.program + L".old"));
    EXPECT_FALSE(file_exists(download));
    EXPECT_TRUE(IsWindow(app.window)) << "still running";
}

// The download, the update check and the download thread against the release server: real TLS
// through WinHTTP with a certificate from the test CA, real files, and every way a file or a
// manifest can be bad. Then a canceled download through the main window's handlers.
#include <stdlib.h>
#include <vector>

#include "core/messages.h"
#include "core/ui_services.h"
#include "tests/support/remote_controls.h"
#include "tests/update/update_fixture.h"
#include "ui/command_handlers.h"
#include "ui/secondary_win.h"
#include "ui/update_win.h"
#include "update/http.h"

namespace {
class UpdatePeer : public UpdateServerTest {
  protected:
    void SetUp() override {
        UpdateServerTest::SetUp();
        update_cancel_set(0);
    }
};

// The body's size, or the error when the fetch failed.
std::wstring fetch(const std::wstring& url) {
    char* body = nullptr;
    wchar_t error[400] = L"";
    std::wstring got = http_get(url.c_str(), &body, UPDATE_MANIFEST_MAX, nullptr, 0, nullptr, error, 400)
                           ? std::to_wstring(body ? strlen(body) : 0)
                           : error;
    free(body);
    return got;
}

UpdateInfo* check(const wchar_t* path, int manual) {
    UpdateCheckStart start = {};
    start.manual = manual;
    wcsncpy(start.manifestUrl, server_url(path).c_str(), 599);
    return run_update_check(&start);
}

// Checks the manifest, then runs the download thread's work on what it offers.
std::wstring download(const wchar_t* manifest_path, std::wstring* path_out) {
    UpdateInfo* info = check(manifest_path, 1);
    if (!info || !info->ok) {
        std::wstring e = info ? std::wstring(L"check failed: ") + info->error : L"no result";
        free(info);
        return e;
    }
    DownloadStart start = {};
    wcsncpy(start.version, info->version, 31);
    wcsncpy(start.exeUrl, info->exeUrl, 599);
    wcsncpy(start.sha256, info->sha256, 79);
    start.size = info->size;
    update_download_path(info->version, start.path, 260);
    free(info);
    *path_out = start.path;
    wchar_t* error = run_update_download(&start);
    std::wstring result = error ? refusal(error) : L"ok";
    free(error);
    return result;
}

// The main window's download handlers behind a message-only window, with the message box recorded.
struct Recorder {
    std::vector<int> progress;
    std::vector<std::wstring> boxes;
    int done = 0, passed = 0;
    HWND window = nullptr;
} g_rec;

LRESULT CALLBACK recorder_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == MsgDownloadProgress) {
        g_rec.progress.push_back((int)wparam);
        on_download_progress((int32_t)wparam);
    } else if (message == MsgDownloadDone) {
        g_rec.done++;
        // A download that passed would be swapped for this test program's own file; only the real
        // program may get that far.
        if (lparam)
            on_download_done(reinterpret_cast<wchar_t*>(lparam));
        else
            g_rec.passed++;
    } else {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    return 0;
}

template <typename Predicate> bool pump_until(Predicate done) {
    return wait_until(
        [&] {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            return done();
        },
        30000);
}
} // namespace

TEST_F(UpdatePeer, FailuresAreOneSentenceAndTheManifestHasALimit) {
    EXPECT_EQ(L"The update server answered with error 404.", fetch(server_url(L"/nowhere/latest.json")));
    EXPECT_EQ(L"Bad update address.", fetch(L"latest.json"));
    std::wstring refused = fetch(L"https://localhost:9/latest.json");
    EXPECT_EQ(0u, refused.find(L"No internet connection, or localhost couldn't be reached (error "))
        << refused.c_str();
    update_cancel_set(1);
    EXPECT_EQ(L"Update canceled.", fetch(server_url(L"/good/latest.json")));
    update_cancel_set(0);
    EXPECT_EQ(L"262144", fetch(server_url(L"/max/latest.json")));
    EXPECT_EQ(L"The update information is too large.", fetch(server_url(L"/over/latest.json")));
}

TEST_F(UpdatePeer, BadFilesAreRefusedAndDeleted) {
    // A connection dropped half-way: WinHTTP either reports the broken read or ends the body early,
    // which the size check then catches. Either way the file is refused and gone.
    const wchar_t* cases[][2] = {
        {L"/wrong-name/latest.json", L"version"},
        {L"/wrong-hash/latest.json", L"checksum"},
        {L"/short/latest.json", L"size"},
        {L"/tiny/latest.json", L"incomplete"},
        {L"/missing/latest.json", L"The update server answered with error 404."},
        {L"/dropped/latest.json", L"The download was interrupted (error "},
    };
    for (auto& c : cases) {
        std::wstring path, got = download(c[0], &path);
        EXPECT_TRUE(got.rfind(c[1], 0) == 0 || (got == L"size" && wcsstr(c[0], L"dropped")))
            << c[0] << ": " << got.c_str();
        EXPECT_FALSE(file_exists(path)) << c[0];
    }
}

TEST_F(UpdatePeer, CanceledDownloadEndsWithoutAMessage) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = recorder_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VantrelUpdateTestWindow";
    RegisterClassW(&wc);
    g_rec.window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   wc.hInstance, nullptr);
    ui_services_defaults(&g_ui);
    g_ui.main_window = []() -> void* { return g_rec.window; };
    g_ui.message_box = [](const wchar_t* text, const wchar_t*, uint32_t) -> int32_t {
        g_rec.boxes.push_back(text);
        return IDNO;
    };

    UpdateInfo* info = check(L"/slowly/latest.json", 0);
    ASSERT_NE(nullptr, info);
    ASSERT_EQ(1, info->ok) << info->error;
    on_update_checked(info);
    ASSERT_NE(nullptr, update_offer());
    start_update_download();
    EXPECT_EQ(1, update_download_running());
    ASSERT_TRUE(pump_until([] { return !g_rec.progress.empty(); })) << "no progress arrived";
    cancel_update_download();
    ASSERT_TRUE(pump_until([] { return g_rec.done > 0; }));
    EXPECT_EQ(0, update_download_running());
    EXPECT_EQ(0, g_update_bar.downloading);
    EXPECT_TRUE(g_rec.boxes.empty()) << g_rec.boxes[0].c_str();
    EXPECT_LT(g_rec.progress.back(), 100) << "it stopped early";
    EXPECT_EQ(0, g_rec.passed);
    EXPECT_FALSE(file_exists(temp_path(L"Vantrel-update-1.2.0.exe")));
    ui_services_defaults(&g_ui);
    DestroyWindow(g_rec.window);
}

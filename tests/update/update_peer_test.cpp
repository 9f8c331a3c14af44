// The download, the update check and the download thread against the release server: real TLS
// through WinHTTP with a certificate from the test CA, real files, and every way a file or a
// manifest can be bad. Then the main window's handlers driven through a stand-in window.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdlib.h>
#include <string>

#include "tests/support/test_pc.h"
#include "tests/update/update_fixture.h"
#include "ui/command_handlers.h"
#include "ui/secondary_win.h"
#include "ui/update_win.h"
#include "update/http.h"
#include "update/update.h"

namespace {
class UpdatePeer : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(server_dir().empty()) << "VANTREL_UPDATE_SERVER is not set";
        ASSERT_TRUE(trust_test_ca());
        update_cancel_set(0);
    }
};

struct Got {
    int ok = 0;
    std::string body;
    std::wstring error;
};

Got get_memory(const std::wstring& url, uint32_t max_size = UPDATE_MANIFEST_MAX) {
    Got g;
    char* body = nullptr;
    wchar_t error[400] = L"";
    g.ok = http_get(url.c_str(), &body, max_size, nullptr, 0, nullptr, error, 400);
    if (body) g.body = body;
    free(body);
    g.error = error;
    return g;
}

UpdateInfo* check(const wchar_t* path, int manual = 1) {
    UpdateCheckStart start = {};
    start.manual = manual;
    wcsncpy(start.manifestUrl, server_url(path).c_str(), 599);
    return run_update_check(&start);
}

// Checks the manifest, then runs the download thread's work on what it offers.
std::wstring download(const wchar_t* manifest_path, std::wstring* path_out = nullptr) {
    UpdateInfo* info = check(manifest_path);
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
    if (path_out) *path_out = start.path;
    wchar_t* error = run_update_download(&start);
    std::wstring result = error ? error : L"ok";
    free(error);
    return result;
}

const wchar_t* kUpdatePath = L"Vantrel-update-1.2.0.exe";
} // namespace

TEST_F(UpdatePeer, ManifestOverVerifiedTls) {
    Got g = get_memory(server_url(L"/good/latest.json"));
    ASSERT_EQ(1, g.ok) << g.error.c_str();
    EXPECT_NE(std::string::npos, g.body.find("\"version\": \"1.2.0\""));
    EXPECT_NE(std::string::npos, server_requests().find("GET /good/latest.json"));
    EXPECT_NE(std::string::npos, read_test_file(server_dir() + L"\\headers.log")
                                     .find("/good/latest.json|User-Agent: Vantrel/1.1.0|Cache-Control: "
                                           "no-cache|Pragma: no-cache"))
        << read_test_file(server_dir() + L"\\headers.log").c_str();
    Got query = get_memory(server_url(L"/good/latest.json?from=test"));
    EXPECT_EQ(1, query.ok) << "the query goes with the path";
    EXPECT_NE(std::string::npos,
              read_test_file(server_dir() + L"\\headers.log").find("/good/latest.json?from=test|"));
}

TEST_F(UpdatePeer, FailuresAreOneSentence) {
    Got missing = get_memory(server_url(L"/nowhere/latest.json"));
    EXPECT_EQ(0, missing.ok);
    EXPECT_EQ(L"The update server answered with error 404.", missing.error);

    EXPECT_EQ(L"Bad update address.", get_memory(L"latest.json").error);
    EXPECT_EQ(L"Bad update address.", get_memory(L"").error);

    Got refused = get_memory(L"https://localhost:9/latest.json");
    EXPECT_EQ(0, refused.ok);
    EXPECT_EQ(0u, refused.error.find(L"No internet connection, or localhost couldn't be reached (error "))
        << refused.error.c_str();

    update_cancel_set(1);
    Got canceled = get_memory(server_url(L"/good/latest.json"));
    update_cancel_set(0);
    EXPECT_EQ(L"Update canceled.", canceled.error);
}

TEST_F(UpdatePeer, ManifestOfExactlyTheLimitIsAcceptedOneByteMoreIsNot) {
    Got max = get_memory(server_url(L"/max/latest.json"));
    ASSERT_EQ(1, max.ok) << max.error.c_str();
    EXPECT_EQ(262144u, max.body.size());
    Got over = get_memory(server_url(L"/over/latest.json"));
    EXPECT_EQ(0, over.ok);
    EXPECT_EQ(L"The update information is too large.", over.error);
}

TEST_F(UpdatePeer, FileModeStreamsAndReportsProgress) {
    install_recorder();
    const std::wstring path = temp_path(L"vantrel-stream.bin");
    const uint32_t size = (uint32_t)(read_test_file(server_dir() + L"\\www\\files\\Vantrel.exe").size());
    for (uint32_t expected : {size, 0u, size / 2}) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        wchar_t error[400] = L"";
        UiRecorder& r = recorder();
        r.progress.clear();
        int ok = http_get(server_url(L"/files/Vantrel.exe").c_str(), nullptr, 0, file, expected, r.window,
                          error, 400);
        CloseHandle(file);
        ASSERT_EQ(1, ok) << error;
        // Each 64 KiB chunk posts one message; collect them.
        pump_until([] { return false; }, 300);
        EXPECT_EQ(good_sha256(), file_sha256(path));
        if (expected == 0) {
            EXPECT_TRUE(r.progress.empty()) << "no size, no progress";
            continue;
        }
        ASSERT_GE(r.progress.size(), size / 65536u);
        for (size_t i = 1; i < r.progress.size(); i++)
            EXPECT_LE(r.progress[i - 1], r.progress[i]);
        EXPECT_EQ(100, r.progress.back());
        for (int p : r.progress)
            EXPECT_LE(p, 100);
    }
    DeleteFileW(path.c_str());
    remove_recorder();
}

TEST_F(UpdatePeer, CheckReadsTheManifest) {
    UpdateInfo* info = check(L"/good/latest.json", 0);
    ASSERT_NE(nullptr, info);
    EXPECT_EQ(1, info->ok) << info->error;
    EXPECT_EQ(0, info->manual);
    EXPECT_EQ(L"1.2.0", std::wstring(info->version));
    EXPECT_EQ(server_url(L"/files/Vantrel.exe"), std::wstring(info->exeUrl));
    EXPECT_EQ(good_sha256(), std::wstring(info->sha256));
    EXPECT_EQ(L"* Faster network tests\n* The update bar shows progress", std::wstring(info->notes));
    EXPECT_EQ(L"December 9, 2026", std::wstring(info->published));
    EXPECT_EQ(read_test_file(server_dir() + L"\\www\\files\\Vantrel.exe").size(), (size_t)info->size);
    free(info);

    struct Case {
        const wchar_t* path;
        const wchar_t* error;
    } cases[] = {
        {L"/hash63/latest.json", L"The update information on the server is incomplete."},
        {L"/over/latest.json", L"The update information is too large."},
        {L"/nowhere/latest.json", L"The update server answered with error 404."},
    };
    for (const Case& c : cases) {
        UpdateInfo* bad = check(c.path);
        ASSERT_NE(nullptr, bad);
        EXPECT_EQ(0, bad->ok) << c.path;
        EXPECT_EQ(1, bad->manual);
        EXPECT_EQ(std::wstring(c.error), bad->error) << c.path;
        free(bad);
    }
}

TEST_F(UpdatePeer, GoodFilesPassAndStayForTheSwap) {
    std::wstring path;
    EXPECT_EQ(L"ok", download(L"/good/latest.json", &path));
    EXPECT_EQ(temp_path(kUpdatePath), path);
    EXPECT_EQ(good_sha256(), file_sha256(path));
    DeleteFileW(path.c_str());
    EXPECT_EQ(L"ok", download(L"/upper/latest.json", &path))
        << "upper-case hash, 1.2.0.0 offered for 1.2.0, no size";
    DeleteFileW(path.c_str());
}

TEST_F(UpdatePeer, BadFilesAreRefusedAndDeleted) {
    struct Case {
        const wchar_t* manifest;
        const wchar_t* error;
    } cases[] = {
        {L"/wrong-name/latest.json",
         L"The downloaded file isn't the expected Vantrel version, so it was not installed."},
        {L"/wrong-hash/latest.json",
         L"The downloaded file failed its security check (checksum mismatch) and was "
         L"deleted. Nothing was changed."},
        {L"/short/latest.json",
         L"The downloaded file is the wrong size \x2014 it may be damaged. Nothing was "
         L"changed; please try again."},
        {L"/tiny/latest.json", L"The downloaded file is incomplete. Please try again."},
        {L"/missing/latest.json", L"The update server answered with error 404."},
    };
    for (const Case& c : cases) {
        std::wstring path;
        EXPECT_EQ(std::wstring(c.error), download(c.manifest, &path)) << c.manifest;
        EXPECT_FALSE(file_exists(path)) << c.manifest;
    }
    // A connection dropped half-way: WinHTTP either reports the broken read or ends the body early,
    // which the size check then catches. Either way the file is refused and gone.
    std::wstring path;
    std::wstring dropped = download(L"/dropped/latest.json", &path);
    EXPECT_TRUE(dropped.rfind(L"The download was interrupted (error ", 0) == 0 ||
                dropped.rfind(L"The downloaded file is the wrong size", 0) == 0)
        << dropped.c_str();
    EXPECT_FALSE(file_exists(path));
}

// The main window's side, through the stand-in window: the answers of manual and automatic checks.
TEST_F(UpdatePeer, ManualAndAutomaticCheckAnswers) {
    install_recorder();
    UiRecorder& r = recorder();
    struct Case {
        const wchar_t* manifest;
        int manual;
        const wchar_t* box; // null: no message
    } cases[] = {
        {L"/same/latest.json", 1, L"Vantrel update|64|You have the latest version of Vantrel (1.1.0)."},
        {L"/same/latest.json", 0, nullptr},
        {L"/hash63/latest.json", 1,
         L"Vantrel update|48|Couldn't check for updates.\n\nThe update information on the server is "
         L"incomplete."},
        {L"/nowhere/latest.json", 0, nullptr},
    };
    for (const Case& c : cases) {
        r.boxes.clear();
        r.status.clear();
        set_reg_string(HKEY_CURRENT_USER, L"Software\\Corvalen\\Vantrel", L"UpdateManifest",
                       server_url(c.manifest));
        const int before = r.checksDone;
        start_update_check(c.manual);
        EXPECT_EQ(1, update_check_running());
        start_update_check(c.manual); // a second request while one runs does nothing
        ASSERT_TRUE(pump_until([&] { return r.checksDone > before; }, 30000)) << c.manifest;
        pump_until([] { return false; }, 200);
        EXPECT_EQ(before + 1, r.checksDone) << "one check at a time";
        EXPECT_EQ(0, update_check_running());
        if (c.box) {
            ASSERT_EQ(1u, r.boxes.size()) << c.manifest;
            EXPECT_EQ(std::wstring(c.box), r.boxes[0]);
            ASSERT_EQ(2u, r.status.size());
            EXPECT_EQ(L"Checking for updates\x2026", r.status[0]);
            EXPECT_EQ(L"", r.status[1]);
        } else {
            EXPECT_TRUE(r.boxes.empty()) << c.manifest << L" " << r.boxes[0].c_str();
            EXPECT_TRUE(r.status.empty());
        }
    }
    EXPECT_EQ(nullptr, update_offer()) << "nothing newer was offered";

    // A newer version: the automatic check keeps the offer quietly; the manual one asks.
    set_reg_string(HKEY_CURRENT_USER, L"Software\\Corvalen\\Vantrel", L"UpdateManifest",
                   server_url(L"/good/latest.json"));
    r.boxes.clear();
    start_update_check(0);
    ASSERT_TRUE(pump_until([&] { return update_check_running() == 0; }, 30000));
    EXPECT_TRUE(r.boxes.empty());
    ASSERT_NE(nullptr, update_offer());
    EXPECT_EQ(L"1.2.0", std::wstring(update_offer()->version));
    EXPECT_EQ(L"1.2.0", std::wstring(g_update_bar.newVersion));
    EXPECT_EQ(L"December 9, 2026", std::wstring(g_update_bar.releaseDate));

    r.answer = IDNO;
    start_update_check(1);
    ASSERT_TRUE(pump_until([&] { return update_check_running() == 0; }, 30000));
    ASSERT_EQ(1u, r.boxes.size());
    EXPECT_EQ(
        L"Vantrel update|68|Vantrel 1.2.0 is available (you have 1.1.0).\n\nWhat's new:\n* Faster network "
        L"tests\n* The update bar shows progress\n\nUpdate now? Vantrel will restart in a few seconds and "
        L"keep "
        L"your settings.",
        r.boxes[0]);
    EXPECT_EQ(0, update_download_running()) << "No starts nothing";
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Corvalen\\Vantrel", L"UpdateManifest");
    remove_recorder();
}

// Offers a version through the automatic path, as the timer's check would.
static void offer(const wchar_t* manifest) {
    UpdateInfo* info = check(manifest, 0);
    ASSERT_NE(nullptr, info);
    ASSERT_EQ(1, info->ok) << info->error;
    on_update_checked(info);
    ASSERT_NE(nullptr, update_offer());
}

TEST_F(UpdatePeer, CanceledDownloadEndsWithoutAMessage) {
    install_recorder();
    UiRecorder& r = recorder();
    ASSERT_NO_FATAL_FAILURE(offer(L"/slowly/latest.json"));
    start_update_download();
    EXPECT_EQ(1, update_download_running());
    EXPECT_EQ(1, g_update_bar.downloading);
    EXPECT_EQ(0, g_update_bar.percent);
    ASSERT_TRUE(pump_until([&] { return !r.progress.empty(); }, 30000)) << "no progress arrived";
    EXPECT_EQ(r.progress.back(), g_update_bar.percent);
    cancel_update_download();
    ASSERT_TRUE(pump_until([&] { return r.downloadsDone > 0; }, 30000));
    EXPECT_EQ(0, update_download_running());
    EXPECT_EQ(0, g_update_bar.downloading);
    EXPECT_EQ(-1, g_update_bar.percent);
    EXPECT_TRUE(r.boxes.empty()) << r.boxes[0].c_str();
    EXPECT_LT(r.progress.back(), 100) << "it stopped early";
    EXPECT_EQ(0, r.downloadsPassed);
    EXPECT_FALSE(file_exists(temp_path(kUpdatePath)));
    remove_recorder();
}

TEST_F(UpdatePeer, RefusedDownloadSaysWhyAndKeepsTheOffer) {
    install_recorder();
    UiRecorder& r = recorder();
    ASSERT_NO_FATAL_FAILURE(offer(L"/wrong-hash/latest.json"));
    start_update_download();
    start_update_download(); // ignored while one runs
    ASSERT_TRUE(pump_until([&] { return r.downloadsDone > 0; }, 60000));
    pump_until([] { return false; }, 200);
    EXPECT_EQ(1, r.downloadsDone);
    ASSERT_EQ(1u, r.boxes.size());
    EXPECT_EQ(
        L"Vantrel update|48|The update didn't install.\n\nThe downloaded file failed its security check "
        L"(checksum mismatch) and was deleted. Nothing was changed.",
        r.boxes[0]);
    EXPECT_EQ(0, update_download_running());
    EXPECT_NE(nullptr, update_offer()) << "Update now stays possible";
    EXPECT_FALSE(file_exists(temp_path(kUpdatePath)));
    remove_recorder();
}

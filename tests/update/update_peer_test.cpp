// The download, the update check and the download thread against the release server: real TLS
// through WinHTTP with a certificate from the test CA, real files, and every way a file or a
// manifest can be bad.
#include <stdlib.h>

#include "tests/update/update_fixture.h"
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

// Checks the manifest, then runs the download thread's work on what it offers.
std::wstring download(const wchar_t* manifest_path, std::wstring* path_out) {
    UpdateCheckStart check = {};
    check.manual = 1;
    wcsncpy(check.manifestUrl, server_url(manifest_path).c_str(), 599);
    UpdateInfo* info = run_update_check(&check);
    if (!info || !info->ok) {
        free(info);
        return L"check failed";
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

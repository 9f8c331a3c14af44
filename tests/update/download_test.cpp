// A downloaded file's checks, on files made here and on the Vantrel.exe under test; the swap on
// copies in a writable folder: done, rolled back, and refused while the program file cannot be moved.
// Then the download and the update check against the release server: real TLS through WinHTTP with a
// certificate from the test CA, real files, and every way a file or a manifest can be bad.
#include <stdlib.h>
#include <string.h>

#include "tests/update/update_fixture.h"
#include "update/http.h"

namespace {
std::wstring verify(const std::wstring& path, uint32_t size, const std::wstring& sha,
                    const wchar_t* version) {
    wchar_t error[400] = L"";
    return verify_update_file(path.c_str(), size, sha.c_str(), version, error, 400) ? L"ok" : refusal(error);
}
size_t size_of(const std::wstring& path) {
    return read_test_file(path).size();
}

// Checks the manifest, then runs the download thread's work on what it offers: "ok", a refusal
// word (see refusal) or the failing step's sentence; path_out names the download's file. With a
// helper the manifest is fetched by that program in a process of its own, as the window does.
std::wstring check_and_download(const std::wstring& manifest, std::wstring* path_out,
                                const std::wstring& helper = L"") {
    UpdateCheckStart check = {};
    check.manual = 1;
    wcsncpy(check.manifestUrl, manifest.c_str(), 599);
    wcsncpy(check.helper, helper.c_str(), 259);
    UpdateInfo* info = run_update_check(&check);
    DownloadStart start = {};
    std::wstring result = info->error;
    if (info->ok) {
        wcsncpy(start.version, info->version, 31);
        wcsncpy(start.exeUrl, info->exeUrl, 599);
        wcsncpy(start.sha256, info->sha256, 79);
        start.size = info->size;
        update_download_path(info->version, start.path, 260);
        wchar_t* error = run_update_download(&start);
        result = error ? refusal(error) : L"ok";
        free(error);
    }
    free(info);
    *path_out = start.path;
    return result;
}

using UpdatePeer = UpdateServerTest;
} // namespace

TEST(VerifyUpdateFile, RefusesInTheRightOrderAndPassesTheRealProgramOnlyForItsVersion) {
    std::wstring path = temp_path(L"vantrel-size.bin");
    ASSERT_TRUE(write_test_file(path, 19999));
    EXPECT_EQ(L"incomplete", verify(path, 0, file_sha256(path), L"1.1.0"))
        << "under 20000 bytes, even with size 0";
    ASSERT_TRUE(write_test_file(path, 20000));
    EXPECT_EQ(L"size", verify(path, 20001, file_sha256(path), L"1.1.0"));
    EXPECT_EQ(L"checksum", verify(path, 0, std::wstring(64, L'0'), L"1.1.0"))
        << "size 0 skips the size check";
    EXPECT_EQ(L"checksum", verify(path, 20000, file_sha256(path).substr(0, 63), L"1.1.0"));
    EXPECT_EQ(L"version", verify(path, 20000, file_sha256(path), L"1.1.0")) << "no version resource";
    DeleteFileW(path.c_str());
    EXPECT_EQ(L"incomplete", verify(path, 0, L"", L"1.1.0")) << "a file that is not there";

    const std::wstring exe = vantrel_exe_path();
    std::wstring sha = file_sha256(exe);
    ASSERT_EQ(64u, sha.size());
    const uint32_t size = (uint32_t)size_of(exe);
    EXPECT_EQ(L"ok", verify(exe, size, sha, L"1.1.0"));
    EXPECT_EQ(L"ok", verify(exe, 0, sha, L"1.1.0.0")) << "1.1.0 matches 1.1.0.0";
    EXPECT_EQ(L"version", verify(exe, size, sha, L"1.2.0"));
    for (auto& c : sha)
        c = (wchar_t)towupper(c);
    EXPECT_EQ(L"ok", verify(exe, size, sha, L"1.1.0")) << "upper-case hex";
}

// The files are told apart by their sizes: the running program 1100 bytes, the download 1200.
TEST(SwapProgramFile, DoneRolledBackOrRefused) {
    const std::wstring folder = temp_path(L"vantrel-swap");
    const std::wstring program = folder + L"\\Vantrel.exe", old_copy = program + L".old";
    const std::wstring download = folder + L"\\Vantrel-update-1.2.0.exe";
    CreateDirectoryW(folder.c_str(), nullptr);
    auto reset = [&] {
        DeleteFileW(old_copy.c_str());
        return write_test_file(program, 1100) && write_test_file(download, 1200);
    };

    ASSERT_TRUE(reset() && write_test_file(old_copy, 900)) << "left over from an earlier update";
    EXPECT_EQ(SwapDone, swap_program_file(program.c_str(), download.c_str()));
    EXPECT_EQ(1200u, size_of(program));
    EXPECT_EQ(1100u, size_of(old_copy)) << "the left-over .old was replaced";
    EXPECT_FALSE(file_exists(download));

    // The second move failing puts the program back.
    reset();
    DeleteFileW(download.c_str());
    EXPECT_EQ(SwapCantPlace, swap_program_file(program.c_str(), download.c_str()));
    EXPECT_EQ(1100u, size_of(program));
    EXPECT_FALSE(file_exists(old_copy));

    // Held without delete sharing, as a protected folder refuses the rename.
    reset();
    HANDLE held =
        CreateFileW(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(SwapCantRename, swap_program_file(program.c_str(), download.c_str()));
    CloseHandle(held);
    EXPECT_EQ(1100u, size_of(program));
    EXPECT_FALSE(file_exists(old_copy));
    EXPECT_FALSE(file_exists(download)) << "the download is deleted";

    DeleteFileW(program.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(UpdatePeer, EveryBadManifestOrFileIsRefusedAndTheFileDeleted) {
    // A connection dropped half-way: WinHTTP either reports the broken read or ends the body early,
    // which the size check then catches.
    const std::pair<std::wstring, const wchar_t*> cases[] = {
        {server_url(L"/nowhere/latest.json"), L"The update server answered with error 404."},
        {L"latest.json", L"Bad update address."},
        {L"https://localhost:9/latest.json",
         L"No internet connection, or localhost couldn't be reached (error "},
        {server_url(L"/max/latest.json"), L"checksum"}, // the largest manifest accepted, its hash all "a"
        {server_url(L"/over/latest.json"), L"The update information is too large."},
        {server_url(L"/wrong-name/latest.json"), L"version"},
        {server_url(L"/wrong-hash/latest.json"), L"checksum"},
        {server_url(L"/short/latest.json"), L"size"},
        {server_url(L"/tiny/latest.json"), L"incomplete"},
        {server_url(L"/missing/latest.json"), L"The update server answered with error 404."},
        {server_url(L"/dropped/latest.json"), L"The download was interrupted (error "},
    };
    // Through the program under test, the manifest is fetched in its process, not in this one:
    // nothing before this point has used WinHTTP here (the tests run in file order).
    const bool winhttp_before = GetModuleHandleW(L"winhttp.dll") != nullptr;
    char* manifest = nullptr;
    wchar_t why[400] = L"";
    EXPECT_EQ(1, http_get_manifest(vantrel_exe_path().c_str(), server_url(L"/good/latest.json").c_str(),
                                   &manifest, UPDATE_MANIFEST_MAX, why, 400))
        << why;
    EXPECT_TRUE(manifest && strstr(manifest, "\"sha256\"")) << "the manifest itself came back";
    free(manifest);
    if (!winhttp_before) EXPECT_EQ(nullptr, GetModuleHandleW(L"winhttp.dll")) << "fetched in this process";

    // Each fetched by the program under test in a process of its own, as the window fetches it,
    // and here: the same answer either way.
    for (const std::wstring& helper : {vantrel_exe_path(), std::wstring()}) {
        for (auto& c : cases) {
            std::wstring path, got = check_and_download(c.first, &path, helper);
            EXPECT_TRUE(got.rfind(c.second, 0) == 0 ||
                        (got == L"size" && c.first.find(L"dropped") != std::wstring::npos))
                << c.first.c_str() << (helper.empty() ? L"" : L" (helper)") << ": " << got.c_str();
            EXPECT_FALSE(file_exists(path)) << c.first.c_str();
        }
    }
    // A helper that cannot be started: the manifest is fetched here instead.
    std::wstring fallback_path;
    EXPECT_EQ(L"ok", check_and_download(server_url(L"/good/latest.json"), &fallback_path,
                                        temp_path(L"no-such-folder") + L"\\Vantrel.exe"));
    DeleteFileW(fallback_path.c_str());
    // A version that is a path: the file it would name (outside the temporary folder) is left alone,
    // by the check and by a download started with that version all the same.
    wchar_t temp[MAX_PATH], victim[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring walk = std::wstring(temp) + L"Vantrel-update-9\\..\\..\\..\\..\\victim.exe";
    ASSERT_NE(0u, GetFullPathNameW(walk.c_str(), MAX_PATH, victim, nullptr));
    ASSERT_TRUE(write_test_file(victim, 1234));
    std::wstring path;
    EXPECT_NE(
        std::wstring::npos,
        check_and_download(server_url(L"/path-version/latest.json"), &path).find(L"not a valid release"));
    DownloadStart start = {};
    wcscpy(start.version, L"9\\..\\..\\..\\..\\victim");
    wcsncpy(start.exeUrl, (server_url(L"/files/Vantrel.exe")).c_str(), 599);
    wcsncpy(start.path, walk.c_str(), 259);
    wchar_t* refused = run_update_download(&start);
    EXPECT_NE(nullptr, refused);
    free(refused);
    EXPECT_EQ(1234u, size_of(victim)) << "the file outside the temporary folder is untouched";
    DeleteFileW(victim);

    // Plain HTTP, for the program file or the manifest itself, is refused before anything is fetched.
    EXPECT_NE(std::wstring::npos,
              check_and_download(server_url(L"/plain-exe/latest.json"), &path).find(L"not HTTPS"));
    std::wstring plain = server_url(L"/good/latest.json");
    plain.replace(0, 5, L"http");
    EXPECT_EQ(0u, check_and_download(plain, &path).find(L"The update address is not HTTPS"));

    // The check clears a cancel request; the fetch itself honours one.
    char* body = nullptr;
    wchar_t error[400] = L"";
    update_cancel_set(1);
    http_get(server_url(L"/good/latest.json").c_str(), &body, UPDATE_MANIFEST_MAX, nullptr, 0, nullptr, error,
             400);
    update_cancel_set(0);
    free(body);
    EXPECT_STREQ(L"Update canceled.", error);
}

// The checks a downloaded file must pass, on files made here and on the Vantrel.exe under test, and
// the swap on copies in a writable folder: done, rolled back, and refused while the program file
// cannot be moved.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/support/test_pc.h"
#include "tests/support/test_support.h"
#include "tests/update/update_fixture.h"
#include "update/update.h"

namespace {
std::wstring verify(const std::wstring& path, uint32_t size, const std::wstring& sha,
                    const wchar_t* version) {
    wchar_t error[400] = L"";
    if (verify_update_file(path.c_str(), size, sha.c_str(), version, error, 400)) return L"ok";
    return error;
}

const wchar_t* kIncomplete = L"The downloaded file is incomplete. Please try again.";
const wchar_t* kChecksum = L"The downloaded file failed its security check (checksum mismatch) and was "
                           L"deleted. Nothing was changed.";
const wchar_t* kNotVantrel =
    L"The downloaded file isn't the expected Vantrel version, so it was not installed.";

bool write_bytes(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(f, bytes.data(), (DWORD)bytes.size(), &written, nullptr) && written == bytes.size();
    CloseHandle(f);
    return ok;
}
} // namespace

TEST(VerifyUpdateFile, RefusesInTheRightOrder) {
    std::wstring path = temp_path(L"vantrel-size.bin");
    ASSERT_TRUE(write_test_file(path, 19999));
    EXPECT_EQ(kIncomplete, verify(path, 0, file_sha256(path), L"1.1.0"))
        << "under 20000 bytes, even with size 0";
    ASSERT_TRUE(write_test_file(path, 20000));
    EXPECT_EQ(L"The downloaded file is the wrong size \x2014 it may be damaged. Nothing was changed; please "
              L"try again.",
              verify(path, 20001, file_sha256(path), L"1.1.0"));
    EXPECT_EQ(kChecksum, verify(path, 0, std::wstring(64, L'0'), L"1.1.0")) << "size 0 skips the size check";
    EXPECT_EQ(kChecksum, verify(path, 20000, file_sha256(path).substr(0, 63), L"1.1.0"));
    EXPECT_EQ(kNotVantrel, verify(path, 20000, file_sha256(path), L"1.1.0")) << "no version resource";
    DeleteFileW(path.c_str());
    EXPECT_EQ(kIncomplete, verify(path, 0, L"", L"1.1.0")) << "a file that is not there";
}

TEST(VerifyUpdateFile, TheRealProgramPassesOnlyForItsVersion) {
    const std::wstring exe = vantrel_exe_path();
    std::wstring sha = file_sha256(exe);
    ASSERT_EQ(64u, sha.size());
    const uint32_t size = (uint32_t)read_test_file(exe).size();
    EXPECT_EQ(L"ok", verify(exe, size, sha, L"1.1.0"));
    EXPECT_EQ(L"ok", verify(exe, 0, sha, L"1.1.0.0")) << "1.1.0 matches 1.1.0.0";
    EXPECT_EQ(kNotVantrel, verify(exe, size, sha, L"1.2.0"));
    for (auto& c : sha)
        c = (wchar_t)towupper(c);
    EXPECT_EQ(L"ok", verify(exe, size, sha, L"1.1.0")) << "upper-case hex";
}

TEST(SwapProgramFile, DoneRolledBackOrRefused) {
    const std::wstring folder = temp_path(L"vantrel-swap");
    const std::wstring program = folder + L"\\Vantrel.exe", old_copy = program + L".old";
    const std::wstring download = folder + L"\\Vantrel-update-1.2.0.exe";
    CreateDirectoryW(folder.c_str(), nullptr);
    auto reset = [&] {
        DeleteFileW(old_copy.c_str());
        write_bytes(program, "the running 1.1.0");
        write_bytes(download, "the new 1.2.0");
    };

    reset();
    ASSERT_TRUE(write_bytes(old_copy, "left over from an earlier update"));
    EXPECT_EQ(SwapDone, swap_program_file(program.c_str(), download.c_str()));
    EXPECT_EQ("the new 1.2.0", read_test_file(program));
    EXPECT_EQ("the running 1.1.0", read_test_file(old_copy)) << "the left-over .old was replaced";
    EXPECT_FALSE(file_exists(download));

    // The second move failing puts the program back.
    reset();
    DeleteFileW(download.c_str());
    EXPECT_EQ(SwapCantPlace, swap_program_file(program.c_str(), download.c_str()));
    EXPECT_EQ("the running 1.1.0", read_test_file(program));
    EXPECT_FALSE(file_exists(old_copy));

    // Held without delete sharing, as a protected folder refuses the rename.
    reset();
    HANDLE held =
        CreateFileW(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(SwapCantRename, swap_program_file(program.c_str(), download.c_str()));
    CloseHandle(held);
    EXPECT_EQ("the running 1.1.0", read_test_file(program));
    EXPECT_FALSE(file_exists(old_copy));
    EXPECT_FALSE(file_exists(download)) << "the download is deleted";

    DeleteFileW(program.c_str());
    RemoveDirectoryW(folder.c_str());
}

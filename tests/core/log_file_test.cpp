// The log file: the stamp, the line layout, the bytes on disk and when nothing is written.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "core/log_file.h"

namespace {
std::string read_file(const wchar_t* path) {
    HANDLE f = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "<missing>";
    std::string data;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof(buf), &got, nullptr) && got)
        data.append(buf, got);
    CloseHandle(f);
    return data;
}

std::wstring path() {
    wchar_t p[MAX_PATH];
    log_file_path(p, _countof(p));
    return p;
}

struct LogFileTest : ::testing::Test {
    void SetUp() override {
        g_settings.logFile = 1;
        g_process.demo = 0;
        DeleteFileW(path().c_str());
    }
    void TearDown() override { g_process.demo = 0; }
};
} // namespace

TEST(LogLine, EndsWithCrLfEvenWhenCut) {
    wchar_t line[1700];
    build_log_line(line, _countof(line), L"01/02/2026 1:07 PM", L"hello");
    EXPECT_STREQ(L"01/02/2026 1:07 PM  hello\r\n", line);
    std::wstring big(3000, L'x');
    build_log_line(line, _countof(line), L"S", big.c_str());
    size_t n = wcslen(line);
    EXPECT_EQ(1699u, n);
    EXPECT_EQ(L'\r', line[n - 2]);
    EXPECT_EQ(L'\n', line[n - 1]);
}

TEST_F(LogFileTest, PathIsUnderLocalAppDataAndFoldersExist) {
    std::wstring p = path();
    EXPECT_NE(std::wstring::npos, p.find(L"\\Corvalen\\Vantrel\\Vantrel-log.txt"));
    std::wstring folder = p.substr(0, p.rfind(L'\\'));
    DWORD attrs = GetFileAttributesW(folder.c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attrs);
    EXPECT_TRUE(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(LogFileTest, AppendsUtf8LinesWithoutBom) {
    log_line(L"First %ls %d", L"line", 1);
    log_line(L"Second \x2014 \x041F\x0440\x0438\x043D\x0442\x0435\x0440");
    std::string data = read_file(path().c_str());
    ASSERT_NE("<missing>", data);
    EXPECT_NE('\xEF', data[0]) << "no byte-order mark";
    size_t first = data.find("  First line 1\r\n");
    ASSERT_NE(std::string::npos, first);
    EXPECT_NE(
        std::string::npos,
        data.find("  Second \xE2\x80\x94 \xD0\x9F\xD1\x80\xD0\xB8\xD0\xBD\xD1\x82\xD0\xB5\xD1\x80\r\n"));
    // Two lines, each "stamp  message\r\n", the stamp ending in AM or PM.
    EXPECT_EQ(2, (int)std::count(data.begin(), data.end(), '\n'));
    EXPECT_TRUE(data.substr(first - 2, 2) == "AM" || data.substr(first - 2, 2) == "PM");
}

TEST_F(LogFileTest, LongMessageIsCutAndStillEndsTheLine) {
    std::wstring big(2000, L'y');
    log_line(L"%ls", big.c_str());
    std::string data = read_file(path().c_str());
    EXPECT_EQ(std::string::npos, data.find(std::string(1600, 'y')));
    EXPECT_NE(std::string::npos, data.find(std::string(1599, 'y') + "\r\n"));
}

TEST_F(LogFileTest, NothingWhenSwitchedOffOrInDemo) {
    g_settings.logFile = 0;
    log_line(L"off");
    EXPECT_EQ("<missing>", read_file(path().c_str()));
    g_settings.logFile = 1;
    g_process.demo = 1;
    log_line(L"demo");
    EXPECT_EQ("<missing>", read_file(path().c_str()));
}

TEST_F(LogFileTest, ReadersMayHoldTheFileAndDeletingIsHarmless) {
    log_line(L"one");
    HANDLE reader = CreateFileW(path().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    log_line(L"two");
    CloseHandle(reader);
    EXPECT_NE(std::string::npos, read_file(path().c_str()).find("  two\r\n"));
    DeleteFileW(path().c_str());
    log_line(L"three");
    std::string data = read_file(path().c_str());
    EXPECT_EQ(std::string::npos, data.find("one"));
    EXPECT_NE(std::string::npos, data.find("  three\r\n"));
}

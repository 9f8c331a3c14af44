// The change history against the real registry: numbering, the record text, reading back with its
// skipping rules, the 300 cap and the order.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "history/changes.h"
#include "core/log_file.h"

namespace {
const wchar_t kSep = L'\x1F';

struct ChangesTest : ::testing::Test {
    std::unique_ptr<ChangeList> list{new ChangeList()};
    void SetUp() override {
        g_settings.logFile = 1;
        g_process.demo = 0;
        RegDeleteTreeW(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY);
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY); }

    static void put(const wchar_t* name, DWORD type, const std::wstring& data) {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, VANTREL_CHANGES_KEY, 0, nullptr, 0,
                                                 KEY_WRITE, nullptr, &key, nullptr));
        RegSetValueExW(key, name, 0, type, (const BYTE*)data.c_str(),
                       (DWORD)((data.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    static std::wstring get(const wchar_t* name) {
        wchar_t buf[1024] = L"";
        DWORD bytes = sizeof(buf), type = 0;
        HKEY key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, VANTREL_CHANGES_KEY, 0, KEY_READ, &key)) return L"<no key>";
        LONG rc = RegQueryValueExW(key, name, nullptr, &type, (BYTE*)buf, &bytes);
        RegCloseKey(key);
        return rc == ERROR_SUCCESS && type == REG_SZ ? buf : L"<missing>";
    }
    static DWORD seq() {
        uint32_t v = 0xFFFFFFFF;
        read_registry_dword_for_test(&v);
        return v;
    }
    static void read_registry_dword_for_test(uint32_t* v) {
        HKEY key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY, 0, KEY_READ, &key)) return;
        DWORD type = 0, bytes = sizeof(*v);
        RegQueryValueExW(key, L"ChangeSeq", nullptr, &type, (BYTE*)v, &bytes);
        RegCloseKey(key);
    }
    static std::wstring rec(const std::wstring& when, const std::wstring& kind, const std::wstring& detail,
                            const std::wstring& desc) {
        return when + kSep + kind + kSep + detail + kSep + desc;
    }
};
} // namespace

TEST(ChangeText, FourFieldsJoinedAndCut) {
    wchar_t text[900];
    build_change_text(text, _countof(text), L"01/02/2026 1:07 PM", 9, L"P1|10.0.0.5", L"Pointed");
    EXPECT_EQ(std::wstring(L"01/02/2026 1:07 PM") + kSep + L"9" + kSep + L"P1|10.0.0.5" + kSep + L"Pointed",
              text);
    std::wstring big(2000, L'd');
    build_change_text(text, _countof(text), L"w", 0, L"", big.c_str());
    EXPECT_EQ(899u, wcslen(text));
}

TEST(ChangeText, ParsingKindsAndSeparators) {
    ChangeRecord r;
    std::wstring t = std::wstring(L"when") + kSep + L"7x" + kSep + L"det" + kSep + L"desc" + kSep + L"more";
    ASSERT_TRUE(parse_change_text(L"00000004", t.c_str(), &r));
    EXPECT_STREQ(L"00000004", r.valueName);
    EXPECT_STREQ(L"when", r.whenText);
    EXPECT_EQ(7, r.changeKind);
    EXPECT_STREQ(L"det", r.detail);
    EXPECT_EQ(std::wstring(L"desc") + kSep + L"more", r.description)
        << "a fourth separator belongs to the text";
    t = std::wstring(L"when") + kSep + kSep + kSep;
    ASSERT_TRUE(parse_change_text(L"1", t.c_str(), &r));
    EXPECT_EQ(0, r.changeKind);
    EXPECT_STREQ(L"", r.description);
    t = std::wstring(L"when") + kSep + L"1" + kSep + L"only two";
    EXPECT_FALSE(parse_change_text(L"1", t.c_str(), &r));
    EXPECT_EQ(0, read_decimal(L"abc"));
    EXPECT_EQ(0, read_decimal(L"99999999999"));
    EXPECT_EQ(-3, read_decimal(L"-3"));
}

TEST_F(ChangesTest, FirstRecordCreatesSeqOneAndTheLogLine) {
    wchar_t log[MAX_PATH];
    log_file_path(log, _countof(log));
    DeleteFileW(log);
    record_change(PrinterPaused, L"Office", L"Paused the printer \"Office\"");
    EXPECT_EQ(1u, seq());
    std::wstring v = get(L"00000001");
    ASSERT_NE(L"<missing>", v);
    size_t s1 = v.find(kSep);
    EXPECT_EQ(std::wstring(L"") + kSep + L"4" + kSep + L"Office" + kSep + L"Paused the printer \"Office\"",
              v.substr(s1));
    EXPECT_TRUE(v.substr(s1 - 2, 2) == L"AM" || v.substr(s1 - 2, 2) == L"PM");

    HANDLE f = CreateFileW(log, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    char buf[512] = {};
    DWORD got = 0;
    ReadFile(f, buf, sizeof(buf) - 1, &got, nullptr);
    CloseHandle(f);
    EXPECT_NE(nullptr, strstr(buf, "  CHANGE BY VANTREL: Paused the printer \"Office\"\r\n"));
}

TEST_F(ChangesTest, TwoInOneMinuteAreNumberedAndListedNewestFirst) {
    record_change(NothingToPutBack, L"", L"Restarted the Print Spooler service");
    record_change(SpoolerStartTypeSet, L"3", L"Set the Print Spooler service to start automatically");
    EXPECT_EQ(2u, seq());
    load_changes(list.get());
    ASSERT_EQ(2, list->count);
    EXPECT_STREQ(L"00000002", list->records[0].valueName);
    EXPECT_EQ(SpoolerStartTypeSet, list->records[0].changeKind);
    EXPECT_STREQ(L"3", list->records[0].detail);
    EXPECT_STREQ(L"00000001", list->records[1].valueName);
    EXPECT_STREQ(L"Restarted the Print Spooler service", list->records[1].description);
    // The same minute almost always; when the clock turned between the two, both still carry a stamp.
    EXPECT_NE(L'\0', list->records[0].whenText[0]);
}

TEST_F(ChangesTest, MalformedValuesAreSkippedAndKeptAsTheyAre) {
    put(L"00000001", REG_SZ, rec(L"w", L"7x", L"d", L"kind seven"));
    put(L"00000002", REG_SZ, std::wstring(L"w") + kSep + L"1" + kSep + L"two separators only");
    put(L"00000003", REG_EXPAND_SZ, rec(L"w", L"1", L"d", L"wrong type"));
    put(L"000000000000000004", REG_SZ, rec(L"w", L"1", L"d", L"name too long"));
    put(L"00000005", REG_SZ, rec(L"w", L"", L"", L"empty kind"));
    put(L"00000006", REG_SZ, rec(L"w", L"1", L"d", std::wstring(1000, L'z')));
    put(L"00000007", REG_SZ, rec(L"w", L"0", L"", std::wstring(890, L'q')));
    load_changes(list.get());
    ASSERT_EQ(3, list->count);
    EXPECT_STREQ(L"00000007", list->records[0].valueName) << "a record at full length is not lost";
    EXPECT_STREQ(L"00000005", list->records[1].valueName);
    EXPECT_EQ(0, list->records[1].changeKind);
    EXPECT_STREQ(L"00000001", list->records[2].valueName);
    EXPECT_EQ(7, list->records[2].changeKind);
    EXPECT_NE(L"<missing>", get(L"00000002")) << "never repaired or deleted";
}

TEST_F(ChangesTest, FullLengthRecordRoundTrips) {
    std::wstring detail(400, L'p');
    record_change(PortAddressSet, detail.c_str(), std::wstring(600, L'x').c_str());
    load_changes(list.get());
    ASSERT_EQ(1, list->count);
    EXPECT_EQ(std::wstring(259, L'p'), list->records[0].detail);
    // The whole text is cut at 899 characters, so the description loses its end, not the record.
    size_t d = wcslen(list->records[0].description);
    EXPECT_GT(d, 400u);
    EXPECT_LE(d, 499u);
}

TEST_F(ChangesTest, AtMost300AreListed) {
    HKEY settings;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY, 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &settings, nullptr));
    DWORD start = 0;
    RegSetValueExW(settings, L"ChangeSeq", 0, REG_DWORD, (const BYTE*)&start, sizeof(start));
    RegCloseKey(settings);
    for (int i = 1; i <= 305; i++) {
        wchar_t name[16];
        text_format(name, _countof(name), L"%08lu", (unsigned long)i);
        put(name, REG_SZ, rec(L"w", L"0", L"", L"r"));
    }
    load_changes(list.get());
    EXPECT_EQ(300, list->count);
    for (int i = 1; i < list->count; i++)
        EXPECT_GT(wcscmp(list->records[i - 1].valueName, list->records[i].valueName), 0);
}

TEST_F(ChangesTest, DeleteThenUndoRecordGetsTheNextNumber) {
    record_change(PrinterPaused, L"P", L"Paused the printer \"P\"");
    record_change(PrinterResumed, L"P", L"Resumed the printer \"P\"");
    delete_change(L"00000002");
    delete_change(L"00000099"); // not there: ignored
    record_change(NothingToPutBack, L"", L"Undid: Resumed the printer \"P\"");
    load_changes(list.get());
    ASSERT_EQ(2, list->count);
    EXPECT_STREQ(L"00000003", list->records[0].valueName);
    EXPECT_STREQ(L"Undid: Resumed the printer \"P\"", list->records[0].description);
    EXPECT_STREQ(L"00000001", list->records[1].valueName);
}

TEST_F(ChangesTest, EmptyWithoutKeyAndSeqOfWrongTypeCountsAsZero) {
    load_changes(list.get());
    EXPECT_EQ(0, list->count);
    HKEY settings;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY, 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &settings, nullptr));
    RegSetValueExW(settings, L"ChangeSeq", 0, REG_SZ, (const BYTE*)L"5", 4);
    RegCloseKey(settings);
    record_change(NothingToPutBack, L"", L"x");
    EXPECT_EQ(1u, seq());
    EXPECT_NE(L"<missing>", get(L"00000001"));
}

namespace {
void set_seq(DWORD type, const void* data, DWORD bytes) {
    HKEY settings;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY, 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &settings, nullptr));
    RegSetValueExW(settings, L"ChangeSeq", 0, type, (const BYTE*)data, bytes);
    RegCloseKey(settings);
}
} // namespace

TEST_F(ChangesTest, ACounterAtItsEndOrOfTheWrongTypeNeverOverwritesARecord) {
    put(L"00000001", REG_SZ, rec(L"w", L"4", L"P", L"first"));
    put(L"00000002", REG_SZ, rec(L"w", L"3", L"P", L"second"));
    set_seq(REG_SZ, L"7", 4);
    record_change(NothingToPutBack, L"", L"third");
    EXPECT_EQ(3u, seq()) << "the taken numbers are skipped";
    EXPECT_EQ(rec(L"w", L"4", L"P", L"first"), get(L"00000001"));

    DWORD last = 0xFFFFFFFE;
    set_seq(REG_DWORD, &last, sizeof(last));
    record_change(NothingToPutBack, L"", L"fourth");
    record_change(NothingToPutBack, L"", L"fifth");
    record_change(NothingToPutBack, L"", L"sixth");
    EXPECT_EQ(0xFFFFFFFFu, seq()) << "the counter never wraps to 0";
    load_changes(list.get());
    ASSERT_EQ(6, list->count);
    const wchar_t* order[] = {L"sixth", L"fifth", L"fourth", L"third", L"second", L"first"};
    for (int i = 0; i < 6; i++)
        EXPECT_STREQ(order[i], list->records[i].description) << list->records[i].valueName;
    EXPECT_STREQ(L"4294967297", list->records[0].valueName);
}

// What the registry cannot easily be made to show: an unreadable name, every name taken, a counter
// already past the number used.
TEST(ChangeNumbers, NoNumberWhenUnsureAndTheCounterIsNeverLowered) {
    auto answer = [](void* ctx, uint64_t) { return *(int*)ctx; };
    int unknown = -1, taken = 1;
    EXPECT_EQ(0u, next_change_number(0, answer, &unknown)) << "unknown: no write";
    EXPECT_EQ(0u, next_change_number(0, answer, &taken)) << "every name taken";
    EXPECT_EQ(9u, change_counter_after(9, 6));
}

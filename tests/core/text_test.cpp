// The bounded helpers are what keeps every text in the program terminated and inside its buffer.
#include <gtest/gtest.h>

#include <string>

#include "core/text.h"

TEST(TextFormat, CutsAtCapacityAndAlwaysTerminates) {
    wchar_t buf[6];
    wmemset(buf, L'#', 6);
    text_format(buf, _countof(buf), L"%ls-%d", L"abc", 1234);
    EXPECT_STREQ(L"abc-1", buf);

    text_format(buf, _countof(buf), L"%ls", L"12345");
    EXPECT_STREQ(L"12345", buf) << "an exact fit keeps every character";

    wchar_t one[1] = {L'x'};
    text_format(one, 1, L"%ls", L"abc");
    EXPECT_EQ(0, one[0]);

    text_format(buf, _countof(buf), nullptr);
    EXPECT_STREQ(L"", buf);
}

TEST(TextFormat, UnderstandsThePlaceholdersTheProgramUses) {
    wchar_t buf[128];
    text_format(buf, _countof(buf), L"%ls|%d|%u|%lu|%I64u|%lc|%%|%02d", L"\x00e9t\x00e9", -5, 7u,
                4000000000ul, (unsigned long long)18446744073709551615ull, L'\x2014', 3);
    EXPECT_STREQ(L"\x00e9t\x00e9|-5|7|4000000000|18446744073709551615|\x2014|%|03", buf);
}

TEST(TextAppend, AddsAfterTheTextAndStopsWhenRoomRunsOut) {
    wchar_t buf[10] = L"ab";
    text_append(buf, _countof(buf), L"%ls", L"cd");
    EXPECT_STREQ(L"abcd", buf);
    text_append(buf, _countof(buf), L"%ls", L"efghijkl");
    EXPECT_STREQ(L"abcdefghi", buf) << "cut at capacity - 1";
    text_append(buf, _countof(buf), L"%ls", L"z");
    EXPECT_STREQ(L"abcdefghi", buf) << "no room left: nothing added";

    wchar_t two[10] = L"abcdefgh"; // exactly two characters of room: one more fits
    text_append(two, _countof(two), L"%ls", L"xyz");
    EXPECT_STREQ(L"abcdefghx", two);
}

TEST(TextAppend, RepairsAnUnterminatedBuffer) {
    wchar_t buf[4] = {L'a', L'b', L'c', L'd'};
    text_append(buf, _countof(buf), L"%ls", L"e");
    EXPECT_STREQ(L"abc", buf);
}

TEST(TextCopy, TruncatesAndTreatsNullAsEmpty) {
    wchar_t buf[4];
    text_copy(buf, _countof(buf), L"abcdef");
    EXPECT_STREQ(L"abc", buf);
    text_copy(buf, _countof(buf), nullptr);
    EXPECT_STREQ(L"", buf);
}

TEST(TextCompare, IgnoresCaseForNames) {
    EXPECT_TRUE(text_equal_ci(L"HP LaserJet", L"hp laserjet"));
    EXPECT_FALSE(text_equal_ci(L"HP LaserJet", L"HP LaserJet "));
    EXPECT_TRUE(text_equal_ci(L"\x00c9TAGE", L"\x00e9tage"));
    EXPECT_TRUE(text_equal_ci(nullptr, L""));
    EXPECT_LT(text_compare_ci(L"abc", L"ABD"), 0);
    EXPECT_TRUE(text_starts_with_ci(L"IP_10.0.0.5", L"ip_"));
    EXPECT_FALSE(text_starts_with_ci(L"IP", L"IP_"));
    EXPECT_TRUE(text_contains_ci(L"Microsoft Print To PDF", L"print to pdf"));
    EXPECT_FALSE(text_contains_ci(L"Microsoft", L"soft x"));
    EXPECT_TRUE(text_contains_ci(L"anything", L""));
}

TEST(TextUtf8, EncodesEveryRangeAndCutsOnlyWholeCharacters) {
    char out[64];
    size_t n = text_to_utf8(L"a\x00e9\x2014\xD83D\xDDA8", out, sizeof(out), 0);
    EXPECT_EQ(std::string("a\xC3\xA9\xE2\x80\x94\xF0\x9F\x96\xA8"), std::string(out, n));

    n = text_to_utf8(L"\xD800x", out, sizeof(out), 0);
    EXPECT_EQ(std::string("\xEF\xBF\xBDx"), std::string(out, n)) << "a lone surrogate becomes U+FFFD";

    char small[4];
    n = text_to_utf8(L"ab\x2014", small, sizeof(small), 0);
    EXPECT_EQ(2u, n) << "the dash needs three bytes and only one is left";
    EXPECT_STREQ("ab", small);
}

TEST(TextUtf8, WritesLineFeedsAsCrLfOnce) {
    char out[32];
    size_t n = text_to_utf8(L"a\nb\r\nc\n", out, sizeof(out), 1);
    EXPECT_EQ(std::string("a\r\nb\r\nc\r\n"), std::string(out, n));
    n = text_to_utf8(L"a\nb", out, sizeof(out), 0);
    EXPECT_EQ(std::string("a\nb"), std::string(out, n));
}

// The one stamp of the print log, the log file, the change history and the report.
TEST(TimeStamp, TwelveHourClock) {
    wchar_t s[40];
    format_time_stamp(s, _countof(s), 3, 7, 2026, 0, 5);
    EXPECT_STREQ(L"03/07/2026 12:05 AM", s);
    format_time_stamp(s, _countof(s), 12, 31, 2026, 12, 5);
    EXPECT_STREQ(L"12/31/2026 12:05 PM", s);
    format_time_stamp(s, _countof(s), 1, 2, 2026, 13, 7);
    EXPECT_STREQ(L"01/02/2026 1:07 PM", s);
    format_time_stamp(s, _countof(s), 1, 2, 2026, 11, 59);
    EXPECT_STREQ(L"01/02/2026 11:59 AM", s);
}

#include <gtest/gtest.h>

#include "net/ipv4.h"

TEST(Ipv4, ParsesOnlyStrictDottedQuads) {
    uint32_t v = 0;
    ASSERT_TRUE(parse_ipv4(L"127.0.0.5", &v));
    EXPECT_EQ(0x7F000005u, v);
    ASSERT_TRUE(parse_ipv4(L"255.255.255.255", &v));
    EXPECT_EQ(0xFFFFFFFFu, v);
    for (const wchar_t* bad : {L"", L"1.2.3", L"1.2.3.4.5", L"256.1.1.1", L"1.2.3.4 ", L" 1.2.3.4", L"1..2.3",
                               L"0001.2.3.4", L"printer.local", L"1.2.3.4/24", L"-1.2.3.4"}) {
        v = 42;
        EXPECT_FALSE(parse_ipv4(bad, &v)) << bad;
        EXPECT_EQ(42u, v);
    }
    EXPECT_FALSE(parse_ipv4(nullptr, &v));
}

TEST(Ipv4, FormatsDotted) {
    wchar_t out[20];
    format_ipv4(0xC0A80114u, out, 20);
    EXPECT_STREQ(L"192.168.1.20", out);
}

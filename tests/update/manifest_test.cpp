// The manifest key scanner, the manifest's completeness rule and version comparison, without a server.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_pc.h"
#include "update/http.h"
#include "update/manifest.h"
#include "update/update.h"
#include "update/version.h"

namespace {
std::wstring get(const char* text, const char* key, size_t capacity = 100) {
    wchar_t field[4000];
    field[0] = L'?';
    json_get_string(text, key, field, capacity);
    return field;
}

std::string scan(const char* text, const char* key, size_t capacity) {
    std::string out(4 * capacity + 1, '\0');
    size_t n = json_scan_value(text, key, capacity, &out[0], out.size());
    out.resize(n);
    return out;
}
} // namespace

TEST(JsonGetString, ValuesKeysAndMissingColons) {
    const char* m = "{\"version\": \"1.2.0\",\n\t\"size\" :\r\n 512000, \"flag\":true}";
    EXPECT_EQ(L"1.2.0", get(m, "version"));
    EXPECT_EQ(L"512000", get(m, "size"));
    EXPECT_EQ(L"true", get(m, "flag")) << "a bare value ends at the closing brace";
    EXPECT_EQ(L"", get(m, "notes")) << "a missing key empties the field";
    EXPECT_EQ(L"12", get("{\"a\":12 34}", "a")) << "a bare value ends at a space";
    EXPECT_EQ(L"", get("{\"version\" = \"1.2.0\"}", "version"));
    EXPECT_EQ(L"", get("{\"version\"\x01: \"1.2.0\"}", "version")) << "a control character after the key";
    EXPECT_EQ(L"", get("{\"name\": \"version\", \"version\": \"1.2.0\"}", "version"));
    EXPECT_EQ(L"9.9", get("{\"meta\": {\"version\": \"9.9\"}, \"version\": \"1.2.0\"}", "version"));
    EXPECT_EQ(L"1.2.0", get("{\"oldversion\": \"1.0\", \"version\": \"1.2.0\"}", "version"));
}

TEST(JsonGetString, EscapesAndSurrogates) {
    EXPECT_EQ(L"a\nb\tc", get("{\"n\": \"a\\r\\nb\\tc\"}", "n")) << "\\r gives nothing";
    EXPECT_EQ(L"say \"hi\" \\ / x", get("{\"n\": \"say \\\"hi\\\" \\\\ \\/ \\x\"}", "n"));
    EXPECT_EQ(L"caf\x00e9\x00e9", get("{\"n\": \"caf\\u00e9\xc3\xa9\"}", "n"));
    EXPECT_EQ(L"open", get("{\"n\": \"open", "n")) << "no closing quote: to the end of the text";
    EXPECT_EQ(L"end\\", get("{\"n\": \"end\\", "n")) << "a backslash at the very end is kept";
    EXPECT_EQ(L"u12", get("{\"n\": \"\\u12\"}", "n")) << "too few hex digits: the backslash is dropped";

    EXPECT_EQ(std::wstring(L"\xD83D\xDE00!"), get("{\"notes\": \"\\ud83d\\ude00!\"}", "notes"));
    EXPECT_EQ("\xf0\x9f\x98\x80", scan("{\"n\": \"\\ud83d\\ude00\"}", "n", 10)) << "one 4-byte character";
    EXPECT_EQ("\xed\xa0\xbdx", scan("{\"n\": \"\\ud83dx\"}", "n", 10)) << "a lone high surrogate";
    EXPECT_EQ("\xed\xa0\xbd\xe2\x82\xac", scan("{\"n\": \"\\ud83d\\u20ac\"}", "n", 10));
}

TEST(JsonGetString, CutsAtTheCapacity) {
    EXPECT_EQ(L"1234567", get("{\"v\": \"123456789012\"}", "v", 8)) << "capacity - 1 characters";
    EXPECT_EQ("1234", scan("{\"v\": 123456}", "v", 4)) << "a bare value: capacity characters";
    EXPECT_EQ(L"123", get("{\"v\": 123456}", "v", 4));
    // Strings are copied up to 4 x capacity bytes of UTF-8, whole characters only.
    std::string long_text = "{\"v\": \"" + std::string(100, 'a') + "\"}";
    EXPECT_EQ(std::string(20, 'a'), scan(long_text.c_str(), "v", 5));
    std::string euros = "{\"v\": \"";
    for (int i = 0; i < 10; i++)
        euros += "\xe2\x82\xac";
    EXPECT_EQ(18u, scan((euros + "\"}").c_str(), "v", 5).size()) << "six 3-byte characters fit in 20 bytes";
    std::string escapes = "{\"v\": \"" + std::string(60, 'b');
    EXPECT_EQ(40u, scan((escapes + "\\n\\n\"}").c_str(), "v", 10).size());
}

TEST(ReadManifest, CompleteOnlyWithVersionAddressAnd64HexDigits) {
    auto read = [](const char* version, const char* exe, const std::string& sha) {
        std::string m = std::string("{") + version + "\"exe\": \"" + exe + "\", \"sha256\": \"" + sha +
                        "\", \"notes\": \"One\\nTwo\", \"size\": \"512000\"}";
        static UpdateInfo info;
        info = {};
        read_manifest(m.c_str(), &info);
        return &info;
    };
    const std::string hash(64, 'a');
    const UpdateInfo* info = read("\"version\": \"1.2.0\", ", "https://h/x", hash);
    EXPECT_EQ(1, info->ok);
    EXPECT_EQ(L"One\nTwo", std::wstring(info->notes));
    EXPECT_EQ(512000u, info->size) << "the size as digits in quotes";
    for (const std::string& bad : {hash.substr(1), hash + "a", std::string()})
        EXPECT_EQ(0, read("\"version\": \"1.2.0\", ", "https://h/x", bad)->ok) << bad;
    EXPECT_EQ(0, read("", "https://h/x", hash)->ok) << "no version";
    info = read("\"version\": \"1.2.0\", ", "", hash);
    EXPECT_EQ(0, info->ok) << "no address";
    EXPECT_NE(nullptr, wcsstr(info->error, L"incomplete"));

    // The version names the download's file: a path in it is no release.
    info = read("\"version\": \"9\\\\..\\\\..\\\\victim\", ", "https://h/x", hash);
    EXPECT_EQ(L"9\\..\\..\\victim", std::wstring(info->version));
    EXPECT_EQ(0, info->ok);
    EXPECT_NE(nullptr, wcsstr(info->error, L"not a valid release"));
    info = read("\"version\": \"1.2.0\", ", "http://h/x", hash);
    EXPECT_EQ(0, info->ok) << "a program offered over plain HTTP";
    EXPECT_NE(nullptr, wcsstr(info->error, L"not HTTPS"));
    EXPECT_EQ(1, read("\"version\": \"1.2.0\", ", "HTTPS://h/x", hash)->ok);
}

TEST(ReadManifest, AReleaseNumberIsOneToFourPartsOfAtMostFiveDigits) {
    for (const wchar_t* good : {L"1", L"1.2.0", L"1.2.3.4", L"99999.0.00001"})
        EXPECT_TRUE(is_release_version(good)) << good;
    for (const wchar_t* bad : {L"", L"1.2.3.4.5", L"123456", L"1..2", L"1.", L".1", L"1.2a", L" 1.2", L"-1",
                               L"1,2", L"9\\..\\victim", L"1.2/../x", L"\x0661.2"})
        EXPECT_FALSE(is_release_version(bad)) << bad;
    wchar_t path[260] = L"x";
    EXPECT_EQ(0, update_download_path(L"9\\..\\..\\victim", path, 260));
    EXPECT_STREQ(L"", path) << "no path is made for it";
    ASSERT_EQ(1, update_download_path(L"1.2.0", path, 260));
    EXPECT_NE(nullptr, wcsstr(path, L"\\Vantrel-update-1.2.0.exe"));
}

TEST(CompareVersions, NumbersNotTextsAndPercentsWithin100) {
    EXPECT_EQ(1, compare_versions(L"1.10.0", L"1.9.9"));
    EXPECT_EQ(-1, compare_versions(L"1.9.9", L"1.10.0"));
    EXPECT_EQ(0, compare_versions(L"1.2", L"1.2.0.0"));
    EXPECT_EQ(1, compare_versions(L"1.1.0.1", L"1.1.0"));
    EXPECT_EQ(-1, compare_versions(L"2", L"10"));
    EXPECT_EQ(0, compare_versions(L"", L"0.0.0.0"));
    EXPECT_EQ(0, compare_versions(L"abc", L"0"));
    EXPECT_EQ(0, compare_versions(L"1.2.3.4.5", L"1.2.3.4")) << "only four parts count";
    // And a download's percent stays within 100.
    EXPECT_EQ(100, download_percent(3000, 1000)) << "a body larger than announced";
    EXPECT_EQ(99, download_percent(4294967294ull, 4294967295u));
}

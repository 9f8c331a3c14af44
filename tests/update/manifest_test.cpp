// The manifest key scanner, the manifest's completeness rule, version comparison and the small
// computations of the download, without a server.
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

TEST(JsonGetString, ReadsStringsAndBareValues) {
    const char* m = "{\"version\": \"1.2.0\",\n\t\"size\" :\r\n 512000, \"flag\":true}";
    EXPECT_EQ(L"1.2.0", get(m, "version"));
    EXPECT_EQ(L"512000", get(m, "size"));
    EXPECT_EQ(L"true", get(m, "flag")) << "a bare value ends at the closing brace";
    EXPECT_EQ(L"", get(m, "notes")) << "a missing key empties the field";
    EXPECT_EQ(L"", get("{\"a\": }", "a"));
    EXPECT_EQ(L"12", get("{\"a\":12 34}", "a")) << "a bare value ends at a space";
}

TEST(JsonGetString, NoColonMeansNoValue) {
    EXPECT_EQ(L"", get("{\"version\" = \"1.2.0\"}", "version"));
    EXPECT_EQ(L"", get("{\"version\"\x01: \"1.2.0\"}", "version")) << "a control character after the key";
    // A plain substring search: the key's first appearance is a value here, so nothing is read.
    EXPECT_EQ(L"", get("{\"name\": \"version\", \"version\": \"1.2.0\"}", "version"));
    EXPECT_EQ(L"", get("{\"name\": \"version\"}", "version"));
}

TEST(JsonGetString, FirstOccurrenceWinsEvenWhenNested) {
    EXPECT_EQ(L"9.9", get("{\"meta\": {\"version\": \"9.9\"}, \"version\": \"1.2.0\"}", "version"));
    EXPECT_EQ(L"1.2.0", get("{\"oldversion\": \"1.0\", \"version\": \"1.2.0\"}", "version"))
        << "the key is matched with its quotes";
}

TEST(JsonGetString, DecodesEscapes) {
    EXPECT_EQ(L"a\nb\tc", get("{\"n\": \"a\\nb\\tc\"}", "n"));
    EXPECT_EQ(L"a\nb", get("{\"n\": \"a\\r\\nb\"}", "n")) << "\\r gives nothing";
    EXPECT_EQ(L"say \"hi\" \\ / x", get("{\"n\": \"say \\\"hi\\\" \\\\ \\/ \\x\"}", "n"));
    EXPECT_EQ(L"caf\x00e9", get("{\"n\": \"caf\\u00e9\"}", "n"));
    EXPECT_EQ(L"caf\x00e9", get("{\"n\": \"caf\xc3\xa9\"}", "n")) << "plain UTF-8";
    EXPECT_EQ(L"open", get("{\"n\": \"open", "n")) << "no closing quote: to the end of the text";
    EXPECT_EQ(L"end\\", get("{\"n\": \"end\\", "n")) << "a backslash at the very end is kept";
    EXPECT_EQ(L"u12", get("{\"n\": \"\\u12\"}", "n")) << "too few hex digits: the backslash is dropped";
}

TEST(JsonGetString, SurrogatePairsBecomeOneCharacter) {
    std::wstring smile = get("{\"notes\": \"\\ud83d\\ude00!\"}", "notes");
    ASSERT_EQ(3u, smile.size());
    EXPECT_EQ(0xD83D, smile[0]);
    EXPECT_EQ(0xDE00, smile[1]);
    EXPECT_EQ(L'!', smile[2]);
    EXPECT_EQ("\xf0\x9f\x98\x80", scan("{\"n\": \"\\ud83d\\ude00\"}", "n", 10)) << "one 4-byte character";
    // A high surrogate with no \u escape after it keeps its 3-byte form.
    EXPECT_EQ("\xed\xa0\xbdx", scan("{\"n\": \"\\ud83dx\"}", "n", 10));
    EXPECT_EQ("\xed\xa0\xbd\xe2\x82\xac", scan("{\"n\": \"\\ud83d\\u20ac\"}", "n", 10))
        << "a \\u after it that is no low surrogate stays a character of its own";
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
    euros += "\"}";
    EXPECT_EQ(18u, scan(euros.c_str(), "v", 5).size()) << "six 3-byte characters fit in 20 bytes";
    std::string escapes = "{\"v\": \"" + std::string(60, 'b');
    EXPECT_EQ(40u, scan((escapes + "\\n\\n\"}").c_str(), "v", 10).size());
}

TEST(ReadManifest, CompleteOnlyWithVersionAddressAnd64HexDigits) {
    const std::string hash64(64, 'a');
    UpdateInfo info = {};
    std::string m =
        "{\"version\": \"1.2.0\", \"exe\": \"https://h/Vantrel.exe\", \"sha256\": \"" + hash64 +
        "\", \"notes\": \"One\\nTwo\", \"published\": \"December 9, 2026\", \"size\": \"512000\"}";
    read_manifest(m.c_str(), &info);
    EXPECT_EQ(1, info.ok);
    EXPECT_EQ(L"1.2.0", std::wstring(info.version));
    EXPECT_EQ(L"https://h/Vantrel.exe", std::wstring(info.exeUrl));
    EXPECT_EQ(L"One\nTwo", std::wstring(info.notes));
    EXPECT_EQ(L"December 9, 2026", std::wstring(info.published));
    EXPECT_EQ(512000u, info.size) << "the size as digits in quotes";

    for (size_t length : {63u, 65u, 0u}) {
        UpdateInfo bad = {};
        std::string b = "{\"version\": \"1.2.0\", \"exe\": \"https://h/x\", \"sha256\": \"" +
                        std::string(length, 'b') + "\", \"size\": 512000}";
        read_manifest(b.c_str(), &bad);
        EXPECT_EQ(0, bad.ok) << length;
        EXPECT_EQ(L"The update information on the server is incomplete.", std::wstring(bad.error));
        EXPECT_EQ(512000u, bad.size) << "the size as a number";
    }
    UpdateInfo no_version = {};
    read_manifest(("{\"exe\": \"https://h/x\", \"sha256\": \"" + hash64 + "\"}").c_str(), &no_version);
    EXPECT_EQ(0, no_version.ok);
    EXPECT_EQ(0u, no_version.size) << "no size gives 0";
    UpdateInfo no_exe = {};
    read_manifest(("{\"version\": \"1.2.0\", \"exe\": \"\", \"sha256\": \"" + hash64 + "\"}").c_str(),
                  &no_exe);
    EXPECT_EQ(0, no_exe.ok);
}

TEST(ReadManifest, SizeConversionStopsAtTheFirstNonDigit) {
    EXPECT_EQ(12u, parse_unsigned(L"12ab"));
    EXPECT_EQ(0u, parse_unsigned(L""));
    EXPECT_EQ(0u, parse_unsigned(L"-5"));
    EXPECT_EQ(4294967295u, parse_unsigned(L"4294967295"));
}

TEST(CompareVersions, NumbersNotTexts) {
    EXPECT_EQ(1, compare_versions(L"1.10.0", L"1.9.9"));
    EXPECT_EQ(-1, compare_versions(L"1.9.9", L"1.10.0"));
    EXPECT_EQ(0, compare_versions(L"1.2", L"1.2.0.0"));
    EXPECT_EQ(1, compare_versions(L"1.1.0.1", L"1.1.0"));
    EXPECT_EQ(0, compare_versions(L"1.1.0", L"1.1.0"));
    EXPECT_EQ(-1, compare_versions(L"2", L"10"));
    EXPECT_EQ(0, compare_versions(L"", L"0.0.0.0"));
    EXPECT_EQ(0, compare_versions(L"abc", L"0"));
    EXPECT_EQ(0, compare_versions(L"1.2.3.4.5", L"1.2.3.4")) << "only four parts count";
    EXPECT_EQ(1, compare_versions(L"1.2.0", L"1.1.0"));
}

TEST(DownloadMath, ProgressPercentStaysWithin100) {
    EXPECT_EQ(0, download_percent(100, 0));
    EXPECT_EQ(50, download_percent(500, 1000));
    EXPECT_EQ(100, download_percent(1000, 1000));
    EXPECT_EQ(100, download_percent(3000, 1000)) << "a body larger than announced";
    EXPECT_EQ(99, download_percent(4294967294ull, 4294967295u));
}

TEST(DownloadMath, OldCopyAndDownloadPaths) {
    wchar_t out[300];
    ASSERT_EQ(1, old_copy_path(L"C:\\Tools\\Vantrel.exe", out, 300));
    EXPECT_EQ(L"C:\\Tools\\Vantrel.exe.old", std::wstring(out));
    EXPECT_EQ(0, old_copy_path(L"C:\\Tools\\Vantrel.exe", out, 20));
    ASSERT_EQ(1, update_download_path(L"1.2.0", out, 300));
    EXPECT_EQ(temp_path(L"Vantrel-update-1.2.0.exe"), std::wstring(out));
}

TEST(ManifestAddress, SettingOverridesTheBuiltInAddress) {
    const wchar_t* key = L"Software\\Corvalen\\Vantrel";
    wchar_t url[600];
    RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"UpdateManifest");
    update_manifest_url(url, 600);
    EXPECT_EQ(std::wstring(UPDATE_MANIFEST_URL), url);
    ASSERT_TRUE(set_reg_string(HKEY_CURRENT_USER, key, L"UpdateManifest",
                               L"https://localhost:8443/good/latest.json"));
    update_manifest_url(url, 600);
    EXPECT_EQ(L"https://localhost:8443/good/latest.json", std::wstring(url));
    ASSERT_TRUE(set_reg_string(HKEY_CURRENT_USER, key, L"UpdateManifest", L""));
    update_manifest_url(url, 600);
    EXPECT_EQ(std::wstring(UPDATE_MANIFEST_URL), url) << "empty means the built-in address";
    RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"UpdateManifest");
}

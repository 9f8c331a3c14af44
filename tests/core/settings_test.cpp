// The settings store against the real (Wine) registry: built-in values, wrong types and sizes, the
// string limits, and the readers of other keys.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/registry.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "tests/support/test_support.h"

namespace {
const wchar_t* kOtherKey = L"Software\\VantrelTests\\Other";

class SettingsStore : public ::testing::Test {
  protected:
    void SetUp() override {
        delete_settings_key();
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VantrelTests");
    }
    void TearDown() override { SetUp(); }

    static void put(const wchar_t* path, const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes));
        RegCloseKey(key);
    }
    static void put_text(const wchar_t* path, const wchar_t* name, DWORD type, const std::wstring& text) {
        put(path, name, type, text.c_str(), (DWORD)((text.size() + 1) * sizeof(wchar_t)));
    }
    static void put_dword(const wchar_t* name, DWORD value) {
        put(VANTREL_SETTINGS_KEY, name, REG_DWORD, &value, sizeof(value));
    }
};
} // namespace

TEST_F(SettingsStore, AMissingKeyGivesTheBuiltInValues) {
    Settings s;
    memset(&s, 0x5A, sizeof(s));
    load_settings(&s, 0);
    EXPECT_EQ(1, s.autoCheck);
    EXPECT_EQ(1, s.autoNetTest);
    EXPECT_EQ(1, s.askPrinter);
    EXPECT_EQ(1, s.readEventLog);
    EXPECT_EQ(0, s.checkVirtual);
    EXPECT_EQ(0, s.expertTools);
    EXPECT_EQ(1, s.logFile);
    EXPECT_EQ(0, s.topmost);
    EXPECT_EQ(1, s.autoUpdate);
    EXPECT_EQ(0, s.view);
    EXPECT_STREQ(L"https://github.com/Corvalen/vantrel-releases", s.shareLink);
    EXPECT_STREQ(L"", s.shareYourName);
    EXPECT_EQ(17u, read_setting_dword(L"ChangeSeq", 17));
}

TEST_F(SettingsStore, SwitchesAreZeroOrOneAndWrongTypesCountAsMissing) {
    put_dword(L"CheckVirtual", 5);
    put_dword(L"AutoNetTest", 0);
    put_text(VANTREL_SETTINGS_KEY, L"AutoCheck", REG_SZ, L"0");
    BYTE qword[8] = {0};
    put(VANTREL_SETTINGS_KEY, L"AutoUpdate", REG_QWORD, qword, sizeof(qword));
    BYTE shorty[2] = {0, 0};
    put(VANTREL_SETTINGS_KEY, L"LogFile", REG_DWORD, shorty, sizeof(shorty));
    BYTE longer[8] = {0};
    put(VANTREL_SETTINGS_KEY, L"AskPrinter", REG_DWORD, longer, sizeof(longer));

    Settings s;
    load_settings(&s, 0);
    EXPECT_EQ(1, s.checkVirtual) << "any non-zero value is stored as 1";
    EXPECT_EQ(0, s.autoNetTest);
    EXPECT_EQ(1, s.autoCheck) << "a string value is ignored";
    EXPECT_EQ(1, s.autoUpdate) << "a QWORD is not a DWORD";
    EXPECT_EQ(1, s.logFile) << "a two-byte DWORD is malformed";
    EXPECT_EQ(1, s.askPrinter) << "an eight-byte DWORD is malformed";
}

TEST_F(SettingsStore, ViewOutsideItsRangeAndDemonstrationModeStartAtProblems) {
    put_dword(L"View", 7);
    Settings s;
    load_settings(&s, 0);
    EXPECT_EQ(0, s.view);
    put_dword(L"View", 4);
    load_settings(&s, 0);
    EXPECT_EQ(4, s.view);
    load_settings(&s, 1);
    EXPECT_EQ(0, s.view);
    put_dword(L"View", 0xFFFFFFFF);
    load_settings(&s, 0);
    EXPECT_EQ(0, s.view) << "a huge unsigned value is out of range too";
}

TEST_F(SettingsStore, StringsMustBePlainAndFitWithRoomToSpare) {
    put_text(VANTREL_SETTINGS_KEY, L"ShareLink", REG_EXPAND_SZ, L"https://example.invalid/%USERNAME%");
    put_text(kOtherKey, L"Link", REG_EXPAND_SZ, L"https://example.invalid/%USERNAME%");
    Settings s;
    load_settings(&s, 0);
    EXPECT_STREQ(VANTREL_DEFAULT_SHARE_LINK, s.shareLink) << "REG_EXPAND_SZ is not a setting";
    wchar_t other[64];
    EXPECT_TRUE(read_registry_string(HKEY_CURRENT_USER, kOtherKey, L"Link", other, _countof(other)));
    EXPECT_STREQ(L"https://example.invalid/%USERNAME%", other) << "taken as stored, not expanded";

    put_text(VANTREL_SETTINGS_KEY, L"ShareYourName", REG_SZ, std::wstring(126, L'a'));
    load_settings(&s, 0);
    EXPECT_EQ(126u, wcslen(s.shareYourName)) << "capacity 128 holds at most 126 characters";
    put_text(VANTREL_SETTINGS_KEY, L"ShareYourName", REG_SZ, std::wstring(127, L'b'));
    wcscpy(s.shareYourName, L"kept");
    read_setting_string(L"ShareYourName", s.shareYourName, _countof(s.shareYourName));
    EXPECT_STREQ(L"kept", s.shareYourName) << "too long: the buffer keeps what it held";

    put_text(VANTREL_SETTINGS_KEY, L"ShareLink", REG_SZ, std::wstring(5000, L'x'));
    load_settings(&s, 0);
    EXPECT_STREQ(VANTREL_DEFAULT_SHARE_LINK, s.shareLink);
}

TEST_F(SettingsStore, AStringStoredWithoutItsTerminatorIsStillRead) {
    const wchar_t text[] = {L'B', L'o', L'b'};
    put(VANTREL_SETTINGS_KEY, L"ShareYourName", REG_SZ, text, sizeof(text));
    Settings s;
    load_settings(&s, 0);
    EXPECT_STREQ(L"Bob", s.shareYourName);

    const wchar_t odd[] = {L'A', L'n', L'n'};
    put(VANTREL_SETTINGS_KEY, L"ShareYourName", REG_SZ, odd, 5); // an odd byte count
    load_settings(&s, 0);
    EXPECT_STREQ(L"An", s.shareYourName);
}

TEST_F(SettingsStore, WritesCreateTheKeyAndReadBack) {
    write_setting_dword(L"ChangeSeq", 41);
    EXPECT_EQ(41u, read_setting_dword(L"ChangeSeq", 0));
    write_setting_string(L"ShareYourName", L"Dana \x00c5sberg");
    write_setting_string(L"LastSeenVersion", nullptr);
    Settings s;
    load_settings(&s, 0);
    EXPECT_STREQ(L"Dana \x00c5sberg", s.shareYourName);
    wchar_t seen[40] = L"x";
    read_setting_string(L"LastSeenVersion", seen, _countof(seen));
    EXPECT_STREQ(L"", seen);
}

TEST_F(SettingsStore, RegistryReadersOfOtherKeysFailCleanly) {
    wchar_t buf[8] = L"junk";
    EXPECT_FALSE(read_registry_string(HKEY_CURRENT_USER, L"Software\\VantrelTests\\Missing", L"X", buf,
                                      _countof(buf)));
    EXPECT_STREQ(L"", buf) << "a failure empties the buffer";

    put_text(kOtherKey, L"Empty", REG_SZ, L"");
    wcscpy(buf, L"junk");
    EXPECT_FALSE(read_registry_string(HKEY_CURRENT_USER, kOtherKey, L"Empty", buf, _countof(buf)));
    EXPECT_STREQ(L"", buf);

    put_text(kOtherKey, L"Fits", REG_SZ, L"1234567");
    EXPECT_TRUE(read_registry_string(HKEY_CURRENT_USER, kOtherKey, L"Fits", buf, _countof(buf)));
    EXPECT_STREQ(L"1234567", buf) << "capacity 8 holds seven characters";
    put_text(kOtherKey, L"TooLong", REG_SZ, L"12345678");
    EXPECT_FALSE(read_registry_string(HKEY_CURRENT_USER, kOtherKey, L"TooLong", buf, _countof(buf)));
    EXPECT_STREQ(L"", buf);

    DWORD number = 9;
    put(kOtherKey, L"Number", REG_DWORD, &number, sizeof(number));
    EXPECT_FALSE(read_registry_string(HKEY_CURRENT_USER, kOtherKey, L"Number", buf, _countof(buf)));

    uint32_t out = 1234;
    EXPECT_TRUE(read_registry_dword(HKEY_CURRENT_USER, kOtherKey, L"Number", &out));
    EXPECT_EQ(9u, out);
    out = 1234;
    EXPECT_FALSE(read_registry_dword(HKEY_CURRENT_USER, kOtherKey, L"Fits", &out));
    EXPECT_FALSE(read_registry_dword(HKEY_CURRENT_USER, kOtherKey, L"Absent", &out));
    EXPECT_EQ(1234u, out) << "out is untouched on failure";
}

namespace {
// The effects of one switch as words, in the order the window carries them out.
std::wstring apply(int32_t* setting, int32_t value, const wchar_t* name) {
    const uint32_t e = apply_setting(setting, value, name);
    std::wstring words;
    const struct {
        uint32_t bit;
        const wchar_t* word;
    } names[] = {{SettingTopmost, L"topmost "},
                 {SettingRibbon, L"ribbon "},
                 {SettingRediagnose, L"rediagnose "},
                 {SettingCheckAsConfigured, L"check-as-set "},
                 {SettingCheckWithNetwork, L"check+net "},
                 {SettingCheckWithout, L"check "},
                 {SettingBanner, L"banner "},
                 {SettingPage, L"page "}};
    for (const auto& n : names)
        if (e & n.bit) words += n.word;
    return words;
}
} // namespace

TEST_F(SettingsStore, ApplyingASwitchStoresItAndSaysWhatItSetsInMotion) {
    Settings saved = g_settings;
    settings_defaults(&g_settings);

    EXPECT_EQ(L"topmost page ", apply(&g_settings.topmost, 1, L"Topmost"));
    EXPECT_EQ(1u, read_setting_dword(L"Topmost", 0)) << "written at once";
    EXPECT_EQ(1, g_settings.topmost);
    EXPECT_EQ(L"ribbon page ", apply(&g_settings.expertTools, 1, L"ExpertTools"));
    EXPECT_EQ(L"rediagnose check-as-set page ", apply(&g_settings.checkVirtual, 1, L"CheckVirtual"))
        << "re-diagnosed and refreshed at once, then a check";
    EXPECT_EQ(L"check+net page ", apply(&g_settings.askPrinter, 0, L"AskPrinter"));
    EXPECT_EQ(L"page ", apply(&g_settings.autoNetTest, 0, L"AutoNetTest")) << "switched off: nothing to test";
    EXPECT_EQ(L"check banner page ", apply(&g_settings.readEventLog, 0, L"ReadEventLog"));
    EXPECT_EQ(L"page ", apply(&g_settings.logFile, 0, L"LogFile"));
    EXPECT_EQ(0, g_settings.logFile);
    EXPECT_EQ(0u, read_setting_dword(L"LogFile", 1));
    EXPECT_EQ(0u, apply_setting(nullptr, 1, L"X"));
    g_settings = saved;
}

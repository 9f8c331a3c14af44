// User settings and remembered values, kept under HKEY_CURRENT_USER "Software\Corvalen\Vantrel".
// Settings are read once at start-up; every later change is written back at once. A missing key, a
// missing value or a value of the wrong type never stops anything: reads fall back to the built-in
// values and writes fail silently.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#define VANTREL_SETTINGS_KEY L"Software\\Corvalen\\Vantrel"
#define VANTREL_KNOWN_KEY VANTREL_SETTINGS_KEY L"\\Known"
#define VANTREL_CHANGES_KEY VANTREL_SETTINGS_KEY L"\\Changes"

// The release page whose address the share message carries unless the user set another.
#define VANTREL_DEFAULT_SHARE_LINK L"https://github.com/Corvalen/vantrel-releases"

enum BottomView : int32_t {
    ViewProblems = 0,
    ViewPrintQueue = 1,
    ViewWindowsLog = 2,
    ViewDrivers = 3,
    ViewNetworkPrinters = 4,
};

struct Settings {
    int32_t autoCheck;
    int32_t autoNetTest;
    int32_t askPrinter;
    int32_t readEventLog;
    int32_t checkVirtual;
    int32_t expertTools;
    int32_t logFile;
    int32_t topmost;
    int32_t autoUpdate;
    int32_t view; // BottomView
    wchar_t shareLink[512];
    wchar_t shareYourName[128];
};

// The process-wide settings. Until load_settings runs (and in the task and network-test modes,
// which never load them) they hold the built-in values.
extern Settings g_settings;

void settings_defaults(Settings* s);

// Reads every setting in a fixed order; in demonstration mode the bottom view always starts at 0.
void load_settings(Settings* s, int demo);

uint32_t read_setting_dword(const wchar_t* name, uint32_t fallback);

// A REG_SZ of at most capacity - 2 characters (never more than 1022) is copied, terminated;
// anything else leaves the buffer as it was, so the caller's built-in value stays.
void read_setting_string(const wchar_t* name, wchar_t* buf, size_t cap);

void write_setting_dword(const wchar_t* name, uint32_t value);
void write_setting_string(const wchar_t* name, const wchar_t* text);

// What a changed switch sets in motion. The window carries these out, in this order.
enum SettingEffect : uint32_t {
    SettingTopmost = 0x1,           // the window becomes topmost or not, as the value says
    SettingRibbon = 0x2,            // the ribbon is laid out again (expert tools)
    SettingRediagnose = 0x4,        // the findings are diagnosed again and lists and banner redrawn
    SettingCheckAsConfigured = 0x8, // a check, with network tests when "AutoNetTest" is on
    SettingCheckWithNetwork = 0x10, // a check with network tests
    SettingCheckWithout = 0x20,     // a check without network tests
    SettingBanner = 0x40,           // the banner and status line are redrawn
    SettingPage = 0x80,             // the Settings page's check boxes follow the stored values
};

// The settings page's operation for one switch: stores the value in memory (setting points into
// g_settings), writes it under `name`, and returns the SettingEffect bits that switch needs.
uint32_t apply_setting(int32_t* setting, int32_t value, const wchar_t* name);

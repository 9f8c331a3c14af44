// The settings store's registry side and the readers of other keys.
#include "settings.h"

#include "registry.h"
#include "text.h"

Settings g_settings = {1, 1, 1, 1, 0, 0, 1, 0, 1, 0, VANTREL_DEFAULT_SHARE_LINK, L""};

void settings_defaults(Settings* s) {
    *s = Settings{};
    s->autoCheck = 1;
    s->autoNetTest = 1;
    s->askPrinter = 1;
    s->readEventLog = 1;
    s->logFile = 1;
    s->autoUpdate = 1;
    text_copy(s->shareLink, _countof(s->shareLink), VANTREL_DEFAULT_SHARE_LINK);
}

int registry_query_string(HKEY key, const wchar_t* name, wchar_t* buf, size_t room, int accept_expand) {
    if (!buf || room == 0 || room > 0x7FFFFFFF / sizeof(wchar_t)) return 0;
    DWORD type = 0;
    DWORD bytes = (DWORD)(room * sizeof(wchar_t));
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &bytes) != ERROR_SUCCESS)
        return 0;
    if (type != REG_SZ && !(accept_expand && type == REG_EXPAND_SZ)) return 0;
    // Registry strings need not be stored with their terminator, and an odd byte count can be
    // stored on purpose. The text must fit with its terminator inside the room.
    size_t chars = bytes / sizeof(wchar_t);
    size_t len = text_length(buf, chars);
    if (len >= room) return 0;
    buf[len] = 0;
    return 1;
}

int read_registry_string(HKEY root, const wchar_t* path, const wchar_t* name, wchar_t* buf, size_t cap) {
    if (!buf || cap == 0) return 0;
    buf[0] = 0;
    if (cap < 2) return 0;
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    // The whole buffer: a field of capacity N holds a stored value of up to N - 1 characters.
    int ok = registry_query_string(key, name, buf, cap, 1);
    RegCloseKey(key);
    if (!ok) {
        buf[0] = 0;
        return 0;
    }
    return buf[0] != 0;
}

int read_registry_dword(HKEY root, const wchar_t* path, const wchar_t* name, uint32_t* out) {
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    DWORD type = 0, value = 0, bytes = sizeof(value);
    LONG rc = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || bytes != sizeof(value)) return 0;
    if (out) *out = value;
    return 1;
}

uint32_t read_setting_dword(const wchar_t* name, uint32_t fallback) {
    uint32_t value = fallback;
    return read_registry_dword(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY, name, &value) ? value : fallback;
}

void read_setting_string(const wchar_t* name, wchar_t* buf, size_t cap) {
    if (!buf || cap < 2) return;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    wchar_t value[1024];
    size_t room = cap - 1 < _countof(value) - 1 ? cap - 1 : _countof(value) - 1;
    if (registry_query_string(key, name, value, room, 0)) text_copy(buf, cap, value);
    RegCloseKey(key);
}

static HKEY create_settings_key() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

void write_setting_dword(const wchar_t* name, uint32_t value) {
    HKEY key = create_settings_key();
    if (!key) return;
    DWORD v = value;
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof(v));
    RegCloseKey(key);
}

void write_setting_string(const wchar_t* name, const wchar_t* text) {
    HKEY key = create_settings_key();
    if (!key) return;
    if (!text) text = L"";
    DWORD bytes = (DWORD)((wcslen(text) + 1) * sizeof(wchar_t));
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
    RegCloseKey(key);
}

static int32_t read_switch(const wchar_t* name, uint32_t fallback) {
    return read_setting_dword(name, fallback) != 0 ? 1 : 0;
}

void load_settings(Settings* s, int demo) {
    settings_defaults(s);
    s->autoCheck = read_switch(L"AutoCheck", 1);
    s->autoNetTest = read_switch(L"AutoNetTest", 1);
    s->askPrinter = read_switch(L"AskPrinter", 1);
    s->readEventLog = read_switch(L"ReadEventLog", 1);
    s->checkVirtual = read_switch(L"CheckVirtual", 0);
    s->expertTools = read_switch(L"ExpertTools", 0);
    s->logFile = read_switch(L"LogFile", 1);
    s->topmost = read_switch(L"Topmost", 0);
    s->autoUpdate = read_switch(L"AutoUpdate", 1);
    uint32_t view = read_setting_dword(L"View", 0);
    s->view = (view > ViewNetworkPrinters || demo) ? ViewProblems : (int32_t)view;
    read_setting_string(L"ShareLink", s->shareLink, _countof(s->shareLink));
    read_setting_string(L"ShareYourName", s->shareYourName, _countof(s->shareYourName));
}

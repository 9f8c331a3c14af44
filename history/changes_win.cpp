// The change history's registry side.
#include "changes.h"

#include <windows.h>

#include "core/settings.h"
#include "core/text.h"
#include "core/log_file.h"

#define CHANGE_SEQ_NAME L"ChangeSeq"

static int change_name_taken(void* ctx, uint64_t number) {
    wchar_t name[24];
    change_value_name(number, name, _countof(name));
    LONG rc = RegQueryValueExW((HKEY)ctx, name, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_FILE_NOT_FOUND) return 0;
    return rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA ? 1 : -1;
}

void record_change(ChangeKind change_kind, const wchar_t* detail, const wchar_t* description) {
    log_line(L"CHANGE BY VANTREL: %ls", description ? description : L"");

    HKEY settings = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY, 0, nullptr, 0, KEY_WRITE | KEY_QUERY_VALUE,
                        nullptr, &settings, nullptr) != ERROR_SUCCESS)
        return;
    DWORD type = 0, seq = 0, bytes = sizeof(seq);
    if (RegQueryValueExW(settings, CHANGE_SEQ_NAME, nullptr, &type, (BYTE*)&seq, &bytes) != ERROR_SUCCESS ||
        type != REG_DWORD || bytes != sizeof(seq))
        seq = 0;
    HKEY changes = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, VANTREL_CHANGES_KEY, 0, nullptr, 0, KEY_WRITE | KEY_QUERY_VALUE,
                        nullptr, &changes, nullptr) != ERROR_SUCCESS) {
        RegCloseKey(settings);
        return;
    }
    // The counter alone is not trusted: a value that already holds a record is never written over.
    uint64_t number = next_change_number(seq, change_name_taken, changes);
    if (number) {
        DWORD next = change_counter_after(seq, number);
        if (next != seq || type != REG_DWORD)
            RegSetValueExW(settings, CHANGE_SEQ_NAME, 0, REG_DWORD, (const BYTE*)&next, sizeof(next));
    }
    RegCloseKey(settings);
    if (!number) {
        RegCloseKey(changes);
        return;
    }

    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t when[40];
    format_time_stamp(when, _countof(when), now.wMonth, now.wDay, now.wYear, now.wHour, now.wMinute);
    wchar_t name[24];
    change_value_name(number, name, _countof(name));
    wchar_t text[900];
    build_change_text(text, _countof(text), when, change_kind, detail, description);
    RegSetValueExW(changes, name, 0, REG_SZ, (const BYTE*)text,
                   (DWORD)((wcslen(text) + 1) * sizeof(wchar_t)));
    RegCloseKey(changes);
}

void load_changes(ChangeList* out) {
    out->count = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, VANTREL_CHANGES_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    // Room for 899 characters and the terminator; one character more marks a value as too long.
    wchar_t data[900];
    for (DWORD index = 0; out->count < CHANGE_LIST_CAPACITY && index < 0x7FFFFFFF; index++) {
        wchar_t name[16];
        DWORD name_len = _countof(name), type = 0, bytes = sizeof(data);
        LONG rc = RegEnumValueW(key, index, name, &name_len, nullptr, &type, (BYTE*)data, &bytes);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS || type != REG_SZ) continue;
        size_t chars = bytes / sizeof(wchar_t);
        if (chars >= _countof(data)) chars = _countof(data) - 1;
        data[chars] = 0;
        if (parse_change_text(name, data, &out->records[out->count])) out->count++;
    }
    RegCloseKey(key);
    sort_changes(out);
}

void delete_change(const wchar_t* value_name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, VANTREL_CHANGES_KEY, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(key, value_name);
    RegCloseKey(key);
}

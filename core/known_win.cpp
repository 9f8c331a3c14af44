// The registry side of the remembered printer identities: one REG_SZ per printer name under the
// per-user "Known" key. Failures leave the store as it was and are not reported.
#include "known.h"

#include <windows.h>

#include "registry.h"
#include "settings.h"
#include "text.h"

int known_store_read(const wchar_t* printer_name, wchar_t* value, size_t cap) {
    if (!value || cap == 0) return 0;
    value[0] = 0;
    if (!printer_name || !printer_name[0]) return 0;
    // The store's own capacity, whatever the caller's buffer.
    wchar_t buf[kKnownValueCapacity];
    if (!read_registry_string(HKEY_CURRENT_USER, VANTREL_KNOWN_KEY, printer_name, buf, _countof(buf)))
        return 0;
    text_copy(value, cap, buf);
    return 1;
}

void known_store_write(const wchar_t* printer_name, const wchar_t* value) {
    if (!printer_name || !printer_name[0] || !value) return;
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, VANTREL_KNOWN_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    DWORD bytes = (DWORD)((wcslen(value) + 1) * sizeof(wchar_t));
    RegSetValueExW(key, printer_name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes);
    RegCloseKey(key);
}

void load_known_printer(PrinterRecord* printer) {
    if (!printer) return;
    printer->knownMac[0] = 0;
    printer->knownSerial[0] = 0;
    wchar_t name[260], value[kKnownValueCapacity];
    text_copy(name, _countof(name), printer->name);
    if (!known_store_read(name, value, _countof(value))) return;
    parse_known_value(value, printer->knownMac, _countof(printer->knownMac), printer->knownSerial,
                      _countof(printer->knownSerial));
}

void remember_known_printers(const Snapshot* snapshot, const NetworkSearchResult* search, int demo) {
    if (!snapshot || demo) return;
    int count = snapshot->printerCount < 0              ? 0
                : snapshot->printerCount > kMaxPrinters ? kMaxPrinters
                                                        : snapshot->printerCount;
    for (int i = 0; i < count; i++) {
        const PrinterRecord* p = &snapshot->printers[i];
        wchar_t value[kKnownValueCapacity], stored[kKnownValueCapacity], name[260];
        if (!known_value_for(p, search, value, _countof(value))) continue;
        text_copy(name, _countof(name), p->name);
        known_store_read(name, stored, _countof(stored));
        if (wcscmp(stored, value) != 0) known_store_write(name, value);
    }
}

// What to remember about a network printer's identity, and how a remembered value reads back.
#include "known.h"

#include "text.h"

int known_value_for(const PrinterRecord* printer, const NetworkSearchResult* search, wchar_t* value,
                    size_t cap) {
    if (value && cap) value[0] = 0;
    if (!printer || !value || cap == 0) return 0;
    if (printer->isVirtual || !printer->address[0]) return 0;
    wchar_t mac[24], serial[80], ip_text[64];
    text_copy(mac, _countof(mac), printer->net.mac);
    text_copy(serial, _countof(serial), printer->net.serial);
    text_copy(ip_text, _countof(ip_text), printer->net.ipText);

    // The search may have learnt over ARP or SNMP what the network test did not, but only a printer
    // that answered at its own address this time is surely the device found there.
    int answered = printer->net.pingOk || printer->net.portOpen[0];
    if (search && ip_text[0] && answered) {
        int count = search->count < 0                   ? 0
                    : search->count > kMaxFoundPrinters ? kMaxFoundPrinters
                                                        : search->count;
        for (int i = 0; i < count; i++) {
            const FoundPrinter* f = &search->printers[i];
            wchar_t ip[20];
            text_copy(ip, _countof(ip), f->ip);
            if (wcscmp(ip, ip_text) != 0) continue;
            if (!mac[0]) text_copy(mac, _countof(mac), f->mac);
            if (!serial[0]) text_copy(serial, _countof(serial), f->serial);
        }
    }

    if (mac[0] && !serial[0]) text_copy(serial, _countof(serial), printer->knownSerial);
    if (!mac[0]) {
        if (!serial[0]) return 0;
        text_copy(mac, _countof(mac), printer->knownMac);
    }
    text_format(value, cap, L"%ls|%ls", mac, serial);
    return 1;
}

void parse_known_value(const wchar_t* value, wchar_t* mac, size_t mac_cap, wchar_t* serial,
                       size_t serial_cap) {
    if (mac && mac_cap) mac[0] = 0;
    if (serial && serial_cap) serial[0] = 0;
    if (!value || !mac || !serial || mac_cap == 0 || serial_cap == 0) return;
    const wchar_t* bar = wcschr(value, L'|');
    if (!bar) {
        text_copy(mac, mac_cap, value);
        return;
    }
    text_copy(serial, serial_cap, bar + 1);
    size_t n = (size_t)(bar - value);
    size_t i = 0;
    for (; i < n && i + 1 < mac_cap; i++)
        mac[i] = value[i];
    mac[i] = 0;
}

// Matching found printers to installed ones. Pure.
#include "net/installed.h"

#include <wchar.h>

#include "core/text.h"
#include "net/ipv4.h"

static void short_name(const wchar_t* name, wchar_t* out, size_t cap) {
    text_copy(out, cap, name);
    wchar_t* dot = wcschr(out, L'.');
    if (dot) *dot = 0;
}

static int uses_device(const PrinterRecord* p, const FoundPrinter* f) {
    if (f->ip[0] && wcscmp(p->net.ipText, f->ip) == 0) return 1;
    if (text_equal_ci(p->address, f->ip)) return 1;
    uint32_t ignored;
    if (parse_ipv4(p->address, &ignored)) return 0;
    wchar_t mine[200];
    short_name(p->address, mine, _countof(mine));
    if (f->hostName[0]) {
        wchar_t host[200];
        short_name(f->hostName, host, _countof(host));
        if (text_equal_ci(mine, host)) return 1;
    }
    return f->sysName[0] && text_equal_ci(f->sysName, mine);
}

void mark_installed(NetworkSearchResult* result, const Snapshot* snapshot) {
    if (!result) return;
    int32_t count = result->count < 0                   ? 0
                    : result->count > kMaxFoundPrinters ? kMaxFoundPrinters
                                                        : result->count;
    for (int32_t i = 0; i < count; i++) {
        FoundPrinter* f = &result->printers[i];
        f->installedAs[0] = 0;
        if (!snapshot) continue;
        for (int32_t k = 0; k < snapshot->printerCount && k < kMaxPrinters; k++) {
            const PrinterRecord* p = &snapshot->printers[k];
            if (p->isVirtual || !p->address[0] || !uses_device(p, f)) continue;
            text_append(f->installedAs, _countof(f->installedAs), L"%ls%ls", f->installedAs[0] ? L"; " : L"",
                        p->name);
        }
    }
}

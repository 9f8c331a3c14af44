// The headless network test's snapshot and text, kept free of Windows calls.
#include "nettest.h"

#include <string.h>

#include "app/app.h"
#include "core/settings.h"
#include "core/text.h"
#include "reports/details.h"

void build_nettest_snapshot(Snapshot* s, const wchar_t* address) {
    memset(s, 0, sizeof(*s));
    PrinterRecord* p = snapshot_add_printer(s);
    text_copy(p->name, _countof(p->name), address);
    text_copy(p->address, _countof(p->address), address);
    text_copy(p->portName, _countof(p->portName), L"(not installed - tested by address)");
    text_copy(p->driverName, _countof(p->driverName), L"(none)");
    p->driverFound = 1;
    p->kind = KindTcpIp;
    p->portNumber = 9100;
    p->protocol = 1;
    p->driverIndex = -1;
}

void build_nettest_text(const Snapshot* s, const FindingList* findings, wchar_t* out, size_t cap) {
    if (cap == 0) return;
    out[0] = 0;
    printer_details_of(s, findings, g_settings.checkVirtual, 0, out, cap);
}

// The headless network test's snapshot and text, kept free of Windows calls.
#include "nettest.h"

#include <string.h>

#include "app/app.h"
#include "core/settings.h"
#include "core/text.h"
#include "net/addresses.h"
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

int nettest_refusal_text(const wchar_t* address, wchar_t* out, size_t cap) {
    if (cap) out[0] = 0;
    if (is_name_or_ipv4(address)) return 0;
    if (!address || !address[0])
        text_copy(out, cap,
                  L"Vantrel network test\n\nNothing was tested: no address was given. Give a "
                  L"printer's host name or IPv4 address, such as 192.168.1.50.");
    else
        text_format(out, cap,
                    L"Vantrel network test\n\nNothing was tested: \"%ls\" is neither a host name nor an "
                    L"IPv4 address. Give a printer's host name or IPv4 address, such as 192.168.1.50.",
                    address);
    return 1;
}

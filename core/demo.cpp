// The demonstration data. Everything the findings, the moved-printer match and the reports show in
// demonstration mode derives from these records, so they are built exactly, field by field.
#include "core/demo.h"

#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "core/classify.h"
#include "core/text.h"

// Made-up people of the dealership, owners of the demo jobs.
#define DEMO_PERSON_1 L"dwalker"
#define DEMO_PERSON_2 L"kmorales"
#define DEMO_PERSON_3 L"bchen"

PrinterRecord* add_demo_printer(Snapshot* s, const wchar_t* name, const wchar_t* driver_name,
                                const wchar_t* port_name, ConnectionKind kind, const wchar_t* address) {
    PrinterRecord* p = snapshot_add_printer(s);
    if (!p) return nullptr;
    text_copy(p->name, _countof(p->name), name);
    text_copy(p->driverName, _countof(p->driverName), driver_name);
    text_copy(p->portName, _countof(p->portName), port_name);
    p->kind = kind;
    text_copy(p->address, _countof(p->address), address);
    p->portNumber = 9100;
    p->protocol = 1;
    p->driverFound = 1;
    p->net.pageCount = -1;
    if (p->address[0]) {
        text_copy(p->net.target, _countof(p->net.target), p->address);
        text_copy(p->net.ipText, _countof(p->net.ipText), p->address);
        p->net.tested = 1;
        p->net.resolved = 1;
    }
    DriverRecord* d = snapshot_add_driver(s);
    if (d) {
        text_copy(d->name, _countof(d->name), driver_name);
        text_copy(d->environment, _countof(d->environment), L"Windows x64");
        d->version = text_contains_ci(driver_name, L"(V4)") || text_contains_ci(driver_name, L"PDF") ? 4 : 3;
        d->printerCount = 1;
        d->language = classify_driver_language(driver_name);
        p->driverIndex = (int32_t)(d - s->drivers);
    }
    return p;
}

JobRecord* add_demo_job(Snapshot* s, int32_t printer_index, const wchar_t* document, const wchar_t* owner,
                        uint32_t status, int32_t pages, int32_t age_minutes) {
    if (!s || printer_index < 0 || printer_index >= s->printerCount) return nullptr;
    JobRecord* j = snapshot_add_job(s);
    if (!j) return nullptr;
    int32_t index = (int32_t)(j - s->jobs);
    j->printerIndex = printer_index;
    j->jobId = 40 + index;
    j->position = index + 1;
    text_copy(j->document, _countof(j->document), document);
    text_copy(j->userName, _countof(j->userName), owner);
    j->status = status;
    j->totalPages = pages;
    j->size = pages * 48000;
    j->ageMinutes = age_minutes;
    job_status_text(j->statusText, _countof(j->statusText), nullptr, status);
    s->printers[printer_index].jobCount++;
    return j;
}

LogEntry* add_demo_log_entry(Snapshot* s, const wchar_t* time_text, int32_t event_id, const wchar_t* message,
                             uint64_t now_utc) {
    LogEntry* e = snapshot_add_log_entry(s);
    if (!e) return nullptr;
    e->level = 2;
    e->channel = 0;
    text_copy(e->timeText, _countof(e->timeText), time_text);
    e->eventId = event_id;
    text_copy(e->message, _countof(e->message), message);
    e->time = now_utc;
    return e;
}

static void set_ports(NetTestResult* n, int p9100, int p515, int p631, int p80, int p443, int p445) {
    int open[kPortProbeCount] = {p9100, p515, p631, p80, p443, p445};
    for (int i = 0; i < kPortProbeCount; i++)
        n->portOpen[i] = open[i];
}

static void complete_driver(Snapshot* s, int32_t printer, const wchar_t* date, const wchar_t* version,
                            const wchar_t* maker) {
    if (printer < 0 || printer >= s->printerCount) return;
    int32_t i = s->printers[printer].driverIndex;
    if (i < 0 || i >= s->driverCount) return;
    DriverRecord* d = &s->drivers[i];
    text_copy(d->date, _countof(d->date), date);
    text_copy(d->versionText, _countof(d->versionText), version);
    text_copy(d->maker, _countof(d->maker), maker);
}

void build_demo_snapshot(Snapshot* s, const LocalTime* now_local, uint64_t now_utc) {
    if (!s) return;
    s->spoolerState = 4;
    s->spoolerStartType = 2;
    s->spoolFolderRead = 1;
    s->adminLogRead = 1;
    s->networkTested = 1;
    text_copy(s->spoolFolder, _countof(s->spoolFolder), L"C:\\Windows\\System32\\spool\\PRINTERS");
    text_copy(s->defaultPrinter, _countof(s->defaultPrinter), L"Service Drive - HP LaserJet Pro M404");
    s->windowsManagesDefault = 1;
    s->operationalLogKnown = 1;
    s->operationalLogEnabled = 0;
    text_copy(s->userName, _countof(s->userName), L"demo");
    text_copy(s->sessionUserName, _countof(s->sessionUserName), L"demo");
    s->spoolFileCount = 6;
    s->spoolBytes = 412000;
    if (now_local) s->checkTime = *now_local;

    PrinterRecord* p =
        add_demo_printer(s, L"Service Drive - HP LaserJet Pro M404", L"HP LaserJet Pro M404-M405 PCL-6 (V4)",
                         L"IP_192.168.10.41", KindTcpIp, L"192.168.10.41");
    p->isDefault = 1;
    p->snmpEnabled = 1;
    p->net.pingOk = 1;
    p->net.pingMs = 2;
    set_ports(&p->net, 1, 0, 1, 1, 1, 0);
    p->net.snmpAsked = 1;
    p->net.snmpAnswered = 1;
    text_copy(p->net.model, _countof(p->net.model), L"HP LaserJet Pro M404dn");
    p->net.deviceStatus = 2;
    p->net.printerStatus = 3;
    p->net.haveErrorState = 1;
    p->net.errorBits = 0;
    p->net.pageCount = 48213;
    text_copy(p->net.supplies[0].description, _countof(p->net.supplies[0].description),
              L"Black Cartridge HP CF258A");
    p->net.supplies[0].level = 62;
    p->net.supplies[0].maxCapacity = 100;
    p->net.supplyCount = 1;
    text_copy(p->net.mac, _countof(p->net.mac), L"3C-52-82-1A-77-01");
    text_copy(p->net.serial, _countof(p->net.serial), L"PHBQK41022");
    text_copy(p->net.hostName, _countof(p->net.hostName), L"NPI1A7701." DEMO_DOMAIN);

    p = add_demo_printer(s, L"Parts Counter - Lexmark MS621", L"Lexmark MS620 Series XL", L"IP_192.168.10.57",
                         KindTcpIp, L"192.168.10.57");
    p->status = 0x80;
    p->snmpEnabled = 1;
    p->net.snmpAsked = 1;
    text_copy(p->knownMac, _countof(p->knownMac), L"00-21-B7-4C-19-AA");
    text_copy(p->knownSerial, _countof(p->knownSerial), L"4517294X8C");

    p = add_demo_printer(s, L"F&I Office - Kyocera ECOSYS M3655", L"Kyocera ECOSYS M3655idn KX",
                         L"IP_192.168.10.62", KindTcpIp, L"192.168.10.62");
    p->snmpEnabled = 1;
    p->net.pingOk = 1;
    p->net.pingMs = 3;
    set_ports(&p->net, 1, 0, 0, 1, 0, 0);
    p->net.snmpAsked = 1;
    p->net.snmpAnswered = 1;
    text_copy(p->net.model, _countof(p->net.model), L"ECOSYS M3655idn");
    p->net.deviceStatus = 5;
    p->net.printerStatus = 1;
    p->net.haveErrorState = 1;
    p->net.errorBits = 0x2400;
    p->net.pageCount = 211904;
    text_copy(p->net.supplies[0].description, _countof(p->net.supplies[0].description),
              L"TK-3182 Black Toner");
    p->net.supplies[0].level = 1260;
    p->net.supplies[0].maxCapacity = 21000;
    p->net.supplyCount = 1;
    text_copy(p->net.mac, _countof(p->net.mac), L"00-17-C8-5E-02-11");
    text_copy(p->net.serial, _countof(p->net.serial), L"VCF9X04512");
    text_copy(p->net.hostName, _countof(p->net.hostName), L"fi-office." DEMO_DOMAIN);

    // The Brother's port carries the printer's own network name: BRN and its MAC's twelve digits.
    p = add_demo_printer(s, L"Cashier - Brother HL-L5200DW", L"Brother HL-L5200DW series", L"BRN3C2AF4A1B2C3",
                         KindTcpIp, L"192.168.10.70");
    p->status = 0x80;
    p->snmpEnabled = 1;
    p->net.pingOk = 1;
    p->net.pingMs = 4;
    set_ports(&p->net, 1, 0, 0, 1, 0, 0);
    p->net.snmpAsked = 1;
    text_copy(p->net.mac, _countof(p->net.mac), L"3C-2A-F4-A1-B2-C3");
    text_copy(p->net.hostName, _countof(p->net.hostName), L"BRN3C2AF4A1B2C3." DEMO_DOMAIN);

    p = add_demo_printer(s, L"Showroom - Canon iR-ADV C3530 (Copy 1)", L"Canon Generic Plus PCL6",
                         L"WSD-3f1c9a7e-22b1-4c10-9d55-0a1b2c3d4e5f", KindWsd, L"");
    p->status = 0x1;
    p->driverFilesMissing = 1;

    p = add_demo_printer(s, L"Title Clerk - Epson LQ-590II (forms)", L"EPSON LQ-590II ESC/P2", L"USB001",
                         KindUsb, L"");
    p->attributes = 0x400;
    p->useOffline = 1;

    p = add_demo_printer(s, L"Microsoft Print to PDF", L"Microsoft Print To PDF", L"PORTPROMPT:", KindBuiltIn,
                         L"");
    p->isVirtual = 1;

    add_demo_job(s, 1, L"Parts Invoice 448120", DEMO_PERSON_1, 0x12, 2, 47);
    add_demo_job(s, 1, L"Parts Invoice 448121", DEMO_PERSON_1, 0, 2, 44);
    add_demo_job(s, 1, L"Pick Ticket 99172", DEMO_PERSON_2, 0, 1, 31);
    add_demo_job(s, 2, L"Retail Installment Contract", DEMO_PERSON_3, 0x10, 6, 4);
    add_demo_job(s, 4, L"Window Sticker - Stock 7H1142", L"reception", 0x1, 1, 12);

    complete_driver(s, 0, L"10/14/2024", L"61.290.1.25218", L"HP");
    complete_driver(s, 1, L"03/02/2021", L"3.1.0.0", L"Lexmark");
    complete_driver(s, 2, L"08/19/2023", L"8.3.1006", L"Kyocera");
    complete_driver(s, 3, L"05/11/2019", L"1.4.0.0", L"Brother");
    complete_driver(s, 4, L"01/23/2024", L"3.30.0.0", L"Canon");
    complete_driver(s, 5, L"06/21/2006", L"6.1.7600.16385", L"EPSON");
    complete_driver(s, 6, L"06/21/2006", L"10.0.26100.1", L"Microsoft");
    if (s->printerCount > 4 && s->printers[4].driverIndex >= 0) {
        DriverRecord* canon = &s->drivers[s->printers[4].driverIndex];
        text_copy(canon->driverPath, _countof(canon->driverPath),
                  L"C:\\Windows\\System32\\spool\\DRIVERS\\x64\\3\\cnp60ma64.dll");
        canon->fileMissing = 1;
    }

    add_demo_log_entry(
        s, L"today 9:14 AM", 372,
        L"The document Parts Invoice 448120, owned by " DEMO_PERSON_1 L", failed to print on printer "
        L"Parts Counter - Lexmark MS621. Try to print the document again, or restart the print spooler. "
        L"Data type: RAW. Size of the spool file in bytes: 96000. Number of bytes printed: 0. Total "
        L"number of pages in the document: 2. Number of pages printed: 0. Client computer: \\\\PARTS-01. "
        L"Win32 error code returned by the print processor: 0x709.",
        now_utc);
    add_demo_log_entry(s, L"today 8:52 AM", 808,
                       L"The print spooler failed to load a plug-in module "
                       L"C:\\Windows\\System32\\spool\\DRIVERS\\x64\\3\\lmud1n40.dll, error code 0x7E.",
                       now_utc);
    add_demo_log_entry(
        s, L"yesterday 4:40 PM", 315,
        L"The print spooler failed to share printer Showroom - Canon iR-ADV C3530 (Copy 1) with shared "
        L"resource name Showroom. Error 2114.",
        now_utc);
}

void build_demo_search_result(NetworkSearchResult* r, const LocalTime* now_local) {
    if (!r) return;
    static const struct {
        const wchar_t *ip, *mac, *host, *model, *serial, *sys;
    } found[] = {
        {L"192.168.10.41", L"3C-52-82-1A-77-01", L"NPI1A7701." DEMO_DOMAIN, L"HP LaserJet Pro M404dn",
         L"PHBQK41022", L"NPI1A7701"},
        {L"192.168.10.62", L"00-17-C8-5E-02-11", L"fi-office." DEMO_DOMAIN, L"ECOSYS M3655idn", L"VCF9X04512",
         L"FINANCE"},
        {L"192.168.10.70", L"3C-2A-F4-A1-B2-C3", L"BRN3C2AF4A1B2C3." DEMO_DOMAIN,
         L"Brother HL-L5200DW series", L"U64291J7N123456", L"BRN3C2AF4A1B2C3"},
        // The Lexmark of the Parts Counter, at a new address the router gave it.
        {L"192.168.10.88", L"00-21-B7-4C-19-AA", L"", L"Lexmark MS621", L"4517294X8C", L"ET0021B74C19AA"},
        {L"192.168.10.95", L"A0-8C-FD-33-10-5E", L"NPI33105E." DEMO_DOMAIN, L"HP Color LaserJet Pro M479fdw",
         L"CNBRM8T1XQ", L"NPI33105E"},
    };
    for (int i = 0; i < (int)_countof(found); i++) {
        FoundPrinter* f = &r->printers[i];
        text_copy(f->ip, _countof(f->ip), found[i].ip);
        text_copy(f->mac, _countof(f->mac), found[i].mac);
        text_copy(f->hostName, _countof(f->hostName), found[i].host);
        text_copy(f->model, _countof(f->model), found[i].model);
        text_copy(f->serial, _countof(f->serial), found[i].serial);
        text_copy(f->sysName, _countof(f->sysName), found[i].sys);
        f->ports = FoundPort9100 | FoundPort631;
        f->pageCount = 10000 + 7331 * i;
        f->ipValue = (uint32_t)i;
    }
    r->count = (int32_t)_countof(found);
    r->addressesSwept = 254;
    text_copy(r->rangesText, _countof(r->rangesText), L"192.168.10.0/24");
    if (now_local) r->startedAt = *now_local;
}

NetworkSearchResult* new_demo_search_result() {
    NetworkSearchResult* r = static_cast<NetworkSearchResult*>(calloc(1, sizeof(NetworkSearchResult)));
    if (!r) return nullptr;
    LocalTime now;
    uint64_t utc = 0;
    demo_clock(&now, &utc);
    build_demo_search_result(r, &now);
    return r;
}

void demo_clock(LocalTime* now_local, uint64_t* now_utc) {
    time_t now = time(nullptr);
    if (now_local) {
        memset(now_local, 0, sizeof(*now_local));
        struct tm local = {};
#ifdef _WIN32
        localtime_s(&local, &now);
#else
        localtime_r(&now, &local);
#endif
        now_local->year = (uint16_t)(local.tm_year + 1900);
        now_local->month = (uint16_t)(local.tm_mon + 1);
        now_local->dayOfWeek = (uint16_t)local.tm_wday;
        now_local->day = (uint16_t)local.tm_mday;
        now_local->hour = (uint16_t)local.tm_hour;
        now_local->minute = (uint16_t)local.tm_min;
        now_local->second = (uint16_t)local.tm_sec;
    }
    // 11644473600 seconds lie between 1601-01-01 and 1970-01-01.
    if (now_utc) *now_utc = ((uint64_t)now + 11644473600ULL) * 10000000ULL;
}

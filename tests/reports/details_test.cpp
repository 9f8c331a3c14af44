// The printer details page: whole pages where the text is the point, then the pieces that vary
// (status text, driver suffix, network and SNMP sections, supplies, jobs, findings) and the bounded
// buffer.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "core/demo.h"
#include "core/diagnose.h"
#include "core/findings.h"
#include "core/settings.h"
#include "net/installed.h"
#include "reports/details.h"

namespace {
struct Page {
    Snapshot* s = snapshot_new();
    FindingList* list = new FindingList();
    ~Page() {
        snapshot_free(s);
        delete list;
    }
    PrinterRecord* add(const wchar_t* name, ConnectionKind kind, const wchar_t* address) {
        PrinterRecord* p = snapshot_add_printer(s);
        wcscpy(p->name, name);
        wcscpy(p->driverName, L"Acme 3000 PCL6");
        wcscpy(p->portName, L"PORT1");
        p->kind = kind;
        wcscpy(p->address, address);
        p->portNumber = 9100;
        p->protocol = 1;
        p->driverFound = 1;
        return p;
    }
    std::wstring text(int index, int check_virtual = 0, size_t cap = 30000) {
        std::wstring buf(cap, L'#');
        buf[0] = 0;
        printer_details_of(s, list, check_virtual, index, &buf[0], cap);
        return buf.c_str();
    }
};

const LocalTime kNow = {2026, 12, 3, 9, 14, 5, 6, 0};
} // namespace

TEST(Details, TheDemoHpPageWhole) {
    Page page;
    NetworkSearchResult* r = new NetworkSearchResult();
    build_demo_snapshot(page.s, &kNow, 0);
    build_demo_search_result(r, &kNow);
    mark_installed(r, page.s);
    Settings settings;
    settings_defaults(&settings);
    DiagnosisInput input = {page.s, r, &settings, 1, 0};
    diagnose_at(&input, page.list, 0);
    EXPECT_EQ(
        L"Service Drive - HP LaserJet Pro M404   (the default printer)\n"
        L"Overall: OK \x2014 No problems found - reachable on the network\n"
        L"\n"
        L"WHAT WINDOWS SAYS\n"
        L"  Status: Ready\n"
        L"  Jobs waiting: 0\n"
        L"  Driver: HP LaserJet Pro M404-M405 PCL-6 (V4)\n"
        L"  Port: IP_192.168.10.41\n"
        L"  Connection: Network (TCP/IP)\n"
        L"  Model (best guess): HP LaserJet Pro M404dn   \x2014 made by HP\n"
        L"  Address: 192.168.10.41   port 9100 (RAW)   SNMP status: on, community public\n"
        L"\n"
        L"DRIVER\n"
        L"  Name: HP LaserJet Pro M404-M405 PCL-6 (V4)\n"
        L"  Maker: HP\n"
        L"  Date: 10/14/2024\n"
        L"  Version: 61.290.1.25218\n"
        L"  Kind: Type 4 (the newer, simpler kind)\n"
        L"  Printer language: PCL 6\n"
        L"  PCL 6 (also called PCL XL): HP's modern printer language. Fast, compact, and the best everyday "
        L"choice for office printing.\n"
        L"\n"
        L"NETWORK TEST\n"
        L"  IP address: 192.168.10.41\n"
        L"  MAC address: 3C-52-82-1A-77-01\n"
        L"  Host name: NPI1A7701." DEMO_DOMAIN L"\n"
        L"  Ping: answered in 2 ms\n"
        L"  Ports open: 9100 (printing), 631 (IPP/AirPrint), 80 (web page), 443 (secure web page)\n"
        L"\n"
        L"WHAT THE PRINTER ITSELF SAYS (SNMP)\n"
        L"  Model: HP LaserJet Pro M404dn\n"
        L"  Serial number: PHBQK41022\n"
        L"  Device: running normally\n"
        L"  Print engine: idle\n"
        L"  Errors: none\n"
        L"  Pages printed in its lifetime: 48213\n"
        L"  Supply \x2014 Black Cartridge HP CF258A: 62%\n",
        page.text(0));
    // The Lexmark: remembered MAC with its note, no port open, its jobs and findings with fixes.
    std::wstring lex = page.text(1);
    EXPECT_NE(std::wstring::npos,
              lex.find(L"  MAC address: 00-21-B7-4C-19-AA\n  Host name: none registered in DNS\n"
                       L"  Ping: NO ANSWER   (MAC above is from the last time it answered)\n"
                       L"  Ports open: none\n"));
    EXPECT_NE(
        std::wstring::npos,
        lex.find(
            L"\nJOBS WAITING (first in line at the top)\n"
            L"  \x2022 Parts Invoice 448120 \x2014 from dwalker, 2 pages, sent 47 min ago \x2014 Error, "
            L"Printing\n"
            L"  \x2022 Parts Invoice 448121 \x2014 from dwalker, 2 pages, sent 44 min ago \x2014 Waiting\n"
            L"  \x2022 Pick Ticket 99172 \x2014 from kmorales, 1 page, sent 31 min ago \x2014 Waiting\n"
            L"\nWHAT VANTREL FOUND\n\n  [PROBLEM] Nothing answers at the printer's address\n"));
    EXPECT_NE(std::wstring::npos,
              lex.find(L"  One-click fix available: Point Windows at the new address.\n"));
    EXPECT_NE(std::wstring::npos, lex.find(L"  One-click fix available: Cancel this printer's jobs.\n"));
    // The built-in PDF printer: not checked, no model line, no address, no network section.
    EXPECT_EQ(
        L"Microsoft Print to PDF\n"
        L"Overall: not checked \x2014 Built into Windows or a PDF maker - not checked\n"
        L"\n"
        L"WHAT WINDOWS SAYS\n"
        L"  Status: Ready\n"
        L"  Jobs waiting: 0\n"
        L"  Driver: Microsoft Print To PDF\n"
        L"  Port: PORTPROMPT:\n"
        L"  Connection: Built into Windows\n"
        L"\n"
        L"DRIVER\n"
        L"  Name: Microsoft Print To PDF\n"
        L"  Maker: Microsoft\n"
        L"  Date: 06/21/2006\n"
        L"  Version: 10.0.26100.1\n"
        L"  Kind: Type 4 (the newer, simpler kind)\n"
        L"  Printer language: PDF / file\n"
        L"  Not a printer language: this \"printer\" makes a file (PDF, XPS or OneNote) instead of paper.\n",
        page.text(6));
    // The Kyocera's SNMP errors and its supply, and the Canon's missing files.
    std::wstring kyo = page.text(2);
    EXPECT_NE(std::wstring::npos,
              kyo.find(L"  Device: DOWN\n  Print engine: other\n  Errors: paper jam, toner/ink low\n"
                       L"  Pages printed in its lifetime: 211904\n"
                       L"  Supply \x2014 TK-3182 Black Toner: 6%\n"));
    EXPECT_NE(std::wstring::npos,
              page.text(4).find(
                  L"  Driver: Canon Generic Plus PCL6   (FILES MISSING - \"Driver is unavailable\")\n"));
    EXPECT_NE(std::wstring::npos, page.text(5).find(L"  Status: Use Printer Offline is ON\n"));
    delete r;
}

TEST(Details, AUsbPrinterWithoutDriverRecordOrAddress) {
    Page page;
    PrinterRecord* p = page.add(L"Label", KindUsb, L"");
    wcscpy(p->driverName, L"ZDesigner GK420d");
    wcscpy(p->portName, L"USB002");
    wcscpy(p->headline, L"No problems found");
    EXPECT_EQ(L"Label\n"
              L"Overall: OK \x2014 No problems found\n"
              L"\n"
              L"WHAT WINDOWS SAYS\n"
              L"  Status: Ready\n"
              L"  Jobs waiting: 0\n"
              L"  Driver: ZDesigner GK420d\n"
              L"  Port: USB002\n"
              L"  Connection: USB cable\n"
              L"  Model (best guess): ZDesigner GK420d\n",
              page.text(0));
}

TEST(Details, StatusTextAndDriverSuffix) {
    Page page;
    PrinterRecord* p = page.add(L"P", KindUsb, L"");
    p->attributes = 0x400;
    p->status = 0x2 | 0x1 | 0x1000000;
    EXPECT_NE(std::wstring::npos,
              page.text(0).find(L"  Status: Use Printer Offline is ON, Paused, Error, Power save\n"));
    p->attributes = 0;
    p->status = 0x400 | 0x80 | 0x4;
    EXPECT_NE(std::wstring::npos, page.text(0).find(L"  Status: Offline, Being removed, Printing\n"));

    // Not installed only when the snapshot lists drivers at all, and never for a connection.
    p->driverFound = 0;
    p->driverFilesMissing = 1;
    EXPECT_NE(std::wstring::npos, page.text(0).find(L"PCL6   (FILES MISSING - \"Driver is unavailable\")\n"));
    snapshot_add_driver(page.s);
    EXPECT_NE(std::wstring::npos, page.text(0).find(L"PCL6   (NOT INSTALLED)\n"));
    p->isConnection = 1;
    EXPECT_NE(std::wstring::npos, page.text(0).find(L"PCL6   (FILES MISSING"));
    p->driverFilesMissing = 0;
    EXPECT_NE(std::wstring::npos, page.text(0).find(L"  Driver: Acme 3000 PCL6\n"));
}

TEST(Details, SharedLocationCommentAndAddresses) {
    Page page;
    PrinterRecord* p = page.add(L"P", KindTcpIp, L"10.0.0.5");
    wcscpy(p->shareName, L"FRONT");
    wcscpy(p->location, L"Front desk");
    wcscpy(p->comment, L"Ask Ann");
    p->protocol = 2;
    p->portNumber = 515;
    std::wstring t = page.text(0);
    EXPECT_EQ(std::wstring::npos, t.find(L"Shared with")) << "a share name without the shared attribute";
    EXPECT_NE(std::wstring::npos, t.find(L"  Location: Front desk\n  Comment: Ask Ann\n"
                                         L"  Address: 10.0.0.5   port 515 (LPR)   SNMP status: off\n"));
    p->attributes = 0x8;
    p->snmpEnabled = 1;
    wcscpy(p->snmpCommunity, L"office");
    t = page.text(0);
    EXPECT_NE(std::wstring::npos, t.find(L"  Shared with other PCs as: FRONT\n"));
    EXPECT_NE(std::wstring::npos, t.find(L"SNMP status: on, community office\n"));
    EXPECT_NE(std::wstring::npos,
              t.find(L"\nNETWORK TEST\n  Not tested yet. Click Network Test on the Home tab.\n"));

    p->kind = KindShared;
    wcscpy(p->address, L"SERVER1");
    p->net.tested = 1;
    t = page.text(0);
    EXPECT_NE(std::wstring::npos, t.find(L"  Address: SERVER1\n"));
    EXPECT_NE(std::wstring::npos,
              t.find(L"\nNETWORK TEST\n  The name \"SERVER1\" could not be found on the network.\n"));
    EXPECT_EQ(std::wstring::npos, t.find(L"IP address"));
}

TEST(Details, NetworkAndSnmpSections) {
    Page page;
    PrinterRecord* p = page.add(L"P", KindTcpIp, L"10.0.0.5");
    NetTestResult& n = p->net;
    n.tested = n.resolved = 1;
    wcscpy(n.ipText, L"10.0.0.5");
    n.portOpen[5] = 1;
    n.portOpen[1] = 1;
    wcscpy(n.sysName, L"PRN-5");
    n.snmpAsked = 1;
    n.pageCount = -1;
    std::wstring t = page.text(0);
    EXPECT_NE(
        std::wstring::npos,
        t.find(
            L"  IP address: 10.0.0.5\n"
            L"  MAC address: not known (not on this PC's part of the network, and the printer did not say)\n"
            L"  Host name: PRN-5\n  Ping: NO ANSWER\n  Ports open: 515 (LPR printing), 445 (Windows "
            L"sharing)\n"
            L"\nWHAT THE PRINTER ITSELF SAYS (SNMP)\n  The printer did not answer. SNMP is switched off on "
            L"it, uses a different community name, or the printer is unreachable.\n"));

    n.snmpAnswered = 1;
    n.pingOk = 1;
    n.pingMs = 0;
    wcscpy(n.mac, L"00-11-22-33-44-55");
    wcscpy(p->knownMac, L"AA-AA-AA-AA-AA-AA");
    wcscpy(n.sysDescr, L"Acme OS");
    n.deviceStatus = 6; // no label
    n.printerStatus = 5;
    n.haveErrorState = 1;
    n.errorBits = 0x40 | 0x10 | 0x1; // 0x1 has no label
    n.pageCount = 0;
    n.supplyCount = 4;
    wcscpy(n.supplies[0].description, L"Half");
    n.supplies[0].level = 40;
    n.supplies[0].maxCapacity = 80;
    wcscpy(n.supplies[1].description, L"Over");
    n.supplies[1].level = 90;
    n.supplies[1].maxCapacity = 80;
    wcscpy(n.supplies[2].description, L"Some");
    n.supplies[2].level = -3;
    n.supplies[2].maxCapacity = 100;
    wcscpy(n.supplies[3].description, L"Unknown");
    n.supplies[3].level = 5;
    n.supplies[3].maxCapacity = 0;
    t = page.text(0);
    EXPECT_NE(std::wstring::npos, t.find(L"  MAC address: 00-11-22-33-44-55\n"));
    EXPECT_NE(std::wstring::npos, t.find(L"  Ping: answered in 0 ms\n"));
    EXPECT_NE(std::wstring::npos,
              t.find(L"\nWHAT THE PRINTER ITSELF SAYS (SNMP)\n  Description: Acme OS\n  Its own name: PRN-5\n"
                     L"  Print engine: warming up\n  Errors: output tray missing, output tray nearly full\n"
                     L"  Pages printed in its lifetime: 0\n"
                     L"  Supply \x2014 Half: 50%\n  Supply \x2014 Over: 112%\n"
                     L"  Supply \x2014 Some: some left (the printer does not say how much)\n"
                     L"  Supply \x2014 Unknown: level not reported\n"));
    n.errorBits = 0x1;
    EXPECT_NE(std::wstring::npos, page.text(0).find(L"  Errors: none\n"));
    n.supplyCount = 99; // a corrupt count never reads past the table
    page.text(0);

    // The note and the time, both on the ping line.
    n.mac[0] = 0;
    n.pingMs = 7;
    EXPECT_NE(std::wstring::npos,
              page.text(0).find(L"  Ping: answered   (MAC above is from the last time it answered) in "
                                L"7 ms\n"));
}

TEST(Details, FindingsOnlyOfThisPrinter) {
    Page page;
    page.add(L"A", KindUsb, L"");
    page.add(L"B", KindUsb, L"");
    add_finding_to(page.list, L"test-rule", SeverityHeadsUp, 1, OpenWebPage, L"B", L"Title one", L"Text %d",
                   1);
    add_finding_to(page.list, L"test-rule", SeverityNote, -1, NoFix, L"", L"PC wide", L"x");
    add_finding_to(page.list, L"test-rule", SeverityNote, 1, NoFix, L"B", L"Title two", L"Text two");
    EXPECT_EQ(std::wstring::npos, page.text(0).find(L"WHAT VANTREL FOUND"));
    std::wstring t = page.text(1);
    size_t at = t.find(L"\nWHAT VANTREL FOUND\n");
    ASSERT_NE(std::wstring::npos, at);
    EXPECT_EQ(
        L"\nWHAT VANTREL FOUND\n\n  [Heads-up] Title one\n  Text 1\n  One-click fix available: Open the "
        L"printer's web page.\n\n  [Note] Title two\n  Text two\n",
        t.substr(at));
}

TEST(Details, BadInputAppendsNothing) {
    Page page;
    page.add(L"A", KindUsb, L"");
    EXPECT_EQ(L"", page.text(-1));
    EXPECT_EQ(L"", page.text(1));
    EXPECT_EQ(L"", page.text(kMaxPrinters));
    wchar_t buf[10] = L"keep";
    printer_details_of(nullptr, page.list, 0, 0, buf, _countof(buf));
    EXPECT_STREQ(L"keep", buf);
    printer_details_of(page.s, nullptr, 0, 0, buf, _countof(buf)); // no findings list: no crash
    printer_details_of(page.s, page.list, 0, 0, nullptr, 100);
    printer_details_of(page.s, page.list, 0, 0, buf, 0);
    EXPECT_NE(L"", page.text(0));
}

TEST(Details, AppendsAfterWhatIsThereAndStaysInsideASmallBuffer) {
    Page page;
    page.add(L"A printer with a name", KindUsb, L"");
    wchar_t buf[64] = L"head\n";
    printer_details_of(page.s, page.list, 0, 0, buf, _countof(buf));
    EXPECT_EQ(0, wcsncmp(buf, L"head\nA printer with a name\nOverall: OK", 36));
    EXPECT_EQ(63u, wcslen(buf)) << "the piece that does not fit is cut at the capacity";

    // A page into a buffer already within two characters of full adds nothing.
    wchar_t full[8] = L"abcdef";
    printer_details_of(page.s, page.list, 0, 0, full, _countof(full));
    EXPECT_STREQ(L"abcdef", full);

    // Guard characters after a cut buffer stay untouched.
    wchar_t guarded[40];
    for (auto& c : guarded)
        c = L'#';
    guarded[0] = 0;
    printer_details_of(page.s, page.list, 0, 0, guarded, 30);
    EXPECT_EQ(29u, wcslen(guarded));
    for (int i = 30; i < 40; i++)
        EXPECT_EQ(L'#', guarded[i]);
}

TEST(Details, FullCapacityNamesAndAllJobsOfAFullQueue) {
    Page page;
    PrinterRecord* p = page.add(L"", KindTcpIp, L"");
    for (int i = 0; i < 259; i++)
        p->name[i] = L'N';
    p->name[259] = 0;
    for (int i = 0; i < 199; i++)
        p->address[i] = L'a';
    p->address[199] = 0;
    for (int i = 0; i < kMaxJobs; i++) {
        JobRecord* j = snapshot_add_job(page.s);
        j->printerIndex = 0;
        wcscpy(j->document, L"D");
        j->totalPages = 1;
    }
    std::wstring t = page.text(0, 0, 30000);
    EXPECT_EQ(0u, t.find(std::wstring(259, L'N') + L"\n"));
    size_t jobs = 0;
    for (size_t at = t.find(L"\x2022 D"); at != std::wstring::npos; at = t.find(L"\x2022 D", at + 1))
        jobs++;
    EXPECT_EQ((size_t)kMaxJobs, jobs);
}

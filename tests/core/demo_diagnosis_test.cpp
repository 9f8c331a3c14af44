// The demonstration office, rebuilt here from its published description, must give its fourteen
// findings in order: a check of the whole rule set working together.
#include "diagnosis_fixture.h"

#include "core/classify.h"

static PrinterRecord* demo_printer(Diag& d, const wchar_t* name, const wchar_t* driver, const wchar_t* port,
                                   ConnectionKind kind, const wchar_t* address) {
    PrinterRecord* p = snapshot_add_printer(d.s);
    text_copy(p->name, _countof(p->name), name);
    text_copy(p->driverName, _countof(p->driverName), driver);
    text_copy(p->portName, _countof(p->portName), port);
    text_copy(p->address, _countof(p->address), address);
    p->kind = kind;
    p->portNumber = 9100;
    p->protocol = 1;
    p->driverFound = 1;
    if (address[0]) {
        text_copy(p->net.target, _countof(p->net.target), address);
        text_copy(p->net.ipText, _countof(p->net.ipText), address);
        p->net.tested = 1;
        p->net.resolved = 1;
    }
    DriverRecord* r = snapshot_add_driver(d.s);
    text_copy(r->name, _countof(r->name), driver);
    r->language = classify_driver_language(driver);
    r->printerCount = 1;
    p->driverIndex = d.s->driverCount - 1;
    return p;
}

static void build_demo(Diag& d) {
    Snapshot* s = d.s;
    s->spoolerState = 4;
    s->spoolerStartType = 2;
    s->spoolFolderRead = 1;
    s->adminLogRead = 1;
    s->networkTested = 1;
    text_copy(s->defaultPrinter, _countof(s->defaultPrinter), L"Service Drive - HP LaserJet Pro M404");
    s->windowsManagesDefault = 1;
    s->operationalLogKnown = 1;
    text_copy(s->userName, _countof(s->userName), L"demo");
    text_copy(s->sessionUserName, _countof(s->sessionUserName), L"demo");
    s->spoolFileCount = 6;
    s->spoolBytes = 412000;

    PrinterRecord* p =
        demo_printer(d, L"Service Drive - HP LaserJet Pro M404", L"HP LaserJet Pro M404-M405 PCL-6 (V4)",
                     L"IP_192.168.10.41", KindTcpIp, L"192.168.10.41");
    p->isDefault = 1;
    p->snmpEnabled = 1;
    p->net.pingOk = 1;
    p->net.pingMs = 2;
    p->net.portOpen[0] = p->net.portOpen[2] = p->net.portOpen[3] = p->net.portOpen[4] = 1;
    p->net.snmpAsked = p->net.snmpAnswered = 1;
    text_copy(p->net.model, _countof(p->net.model), L"HP LaserJet Pro M404dn");
    p->net.deviceStatus = 2;
    p->net.printerStatus = 3;
    p->net.haveErrorState = 1;
    p->net.pageCount = 48213;
    p->net.supplyCount = 1;
    p->net.supplies[0] = {L"Black Cartridge HP CF258A", 62, 100};

    p = demo_printer(d, L"Parts Counter - Lexmark MS621", L"Lexmark MS620 Series XL", L"IP_192.168.10.57",
                     KindTcpIp, L"192.168.10.57");
    p->status = 0x80;
    p->snmpEnabled = 1;
    p->net.snmpAsked = 1;
    text_copy(p->knownMac, _countof(p->knownMac), L"00-21-B7-4C-19-AA");
    text_copy(p->knownSerial, _countof(p->knownSerial), L"4517294X8C");

    p = demo_printer(d, L"F&I Office - Kyocera ECOSYS M3655", L"Kyocera ECOSYS M3655idn KX",
                     L"IP_192.168.10.62", KindTcpIp, L"192.168.10.62");
    p->snmpEnabled = 1;
    p->net.pingOk = 1;
    p->net.portOpen[0] = p->net.portOpen[3] = 1;
    p->net.snmpAsked = p->net.snmpAnswered = 1;
    text_copy(p->net.model, _countof(p->net.model), L"ECOSYS M3655idn");
    p->net.deviceStatus = 5;
    p->net.printerStatus = 1;
    p->net.haveErrorState = 1;
    p->net.errorBits = 0x2400;
    p->net.supplyCount = 1;
    p->net.supplies[0] = {L"TK-3182 Black Toner", 1260, 21000};

    p = demo_printer(d, L"Cashier - Brother HL-L5200DW", L"Brother HL-L5200DW series", L"BRN3C2AF4A1B2C3",
                     KindTcpIp, L"192.168.10.70");
    p->status = 0x80;
    p->snmpEnabled = 1;
    p->net.pingOk = 1;
    p->net.portOpen[0] = p->net.portOpen[3] = 1;
    p->net.snmpAsked = 1;

    p = demo_printer(d, L"Showroom - Canon iR-ADV C3530 (Copy 1)", L"Canon Generic Plus PCL6",
                     L"WSD-3f1c9a7e-22b1-4c10-9d55-0a1b2c3d4e5f", KindWsd, L"");
    p->status = 0x1;
    p->driverFilesMissing = 1;

    p = demo_printer(d, L"Title Clerk - Epson LQ-590II (forms)", L"EPSON LQ-590II ESC/P2", L"USB001", KindUsb,
                     L"");
    p->attributes = 0x400;
    p->useOffline = 1;

    p = demo_printer(d, L"Microsoft Print to PDF", L"Microsoft Print To PDF", L"PORTPROMPT:", KindBuiltIn,
                     L"");
    p->isVirtual = 1;

    d.job(1, 0x12, 47);
    d.job(1, 0, 44);
    d.job(1, 0, 31);
    d.job(2, 0x10, 4);
    d.job(4, 0x1, 12);

    for (int i = 0; i < 3; i++) {
        LogEntry* e = snapshot_add_log_entry(s);
        e->level = 2;
        e->time = d.now;
    }

    d.found(L"192.168.10.41", L"3C-52-82-1A-77-01", L"HP LaserJet Pro M404dn", L"PHBQK41022");
    d.found(L"192.168.10.62", L"00-17-C8-5E-02-11", L"ECOSYS M3655idn", L"VCF9X04512");
    d.found(L"192.168.10.70", L"3C-2A-F4-A1-B2-C3", L"Brother HL-L5200DW series", L"U64291J7N123456");
    d.found(L"192.168.10.88", L"00-21-B7-4C-19-AA", L"Lexmark MS621", L"4517294X8C");
    d.found(L"192.168.10.95", L"A0-8C-FD-33-10-5E", L"HP Color LaserJet Pro M479fdw", L"CNBRM8T1XQ");
    d.search->addressesSwept = 254;
    d.demo = 1;
}

TEST(DemoOffice, FourteenFindingsInOrder) {
    Diag d;
    build_demo(d);
    d.run();
    struct Expected {
        Severity severity;
        int printer;
        const wchar_t* title;
    } expected[] = {
        {SeverityProblem, 1, L"Nothing answers at the printer's address"},
        {SeverityProblem, 1, L"The printer has moved to 192.168.10.88"},
        {SeverityProblem, 1, L"A job has an error and is blocking the queue"},
        {SeverityProblem, 2, L"The printer says: paper jam"},
        {SeverityProblem, 3,
         L"Windows shows this printer Offline, but it is on the network and accepting jobs"},
        {SeverityProblem, 4, L"The printer is paused"},
        {SeverityProblem, 4, L"\"Driver is unavailable\" — the driver's files are missing"},
        {SeverityProblem, 5, L"\"Use Printer Offline\" is switched on"},
        {SeverityHeadsUp, 2, L"The printer says: toner or ink is low"},
        {SeverityHeadsUp, 4, L"Uses a WSD port (the least reliable kind of connection)"},
        {SeverityNote, 4, L"This looks like a duplicate printer"},
        {SeverityNote, -1, L"Windows is allowed to change the default printer by itself"},
        {SeverityNote, -1, L"Windows' detailed print log is switched off"},
        {SeverityNote, -1, L"Windows logged print errors in the last 24 hours"},
    };
    ASSERT_EQ((int)_countof(expected), d.count());
    for (int i = 0; i < d.count(); i++) {
        EXPECT_EQ(expected[i].severity, d.at(i).severity) << i;
        EXPECT_EQ(expected[i].printer, d.at(i).printerIndex) << i;
        EXPECT_STREQ(expected[i].title, d.at(i).title) << i;
    }
    EXPECT_EQ(NoFix, d.at(0).fix) << "a search result exists";
    EXPECT_EQ(PointToNewAddress, d.at(1).fix);
    EXPECT_STREQ(L"IP_192.168.10.57|192.168.10.88", d.at(1).subject);
    EXPECT_STREQ(L"BRN3C2AF4A1B2C3", d.at(4).subject);
    EXPECT_NE(std::wstring::npos, std::wstring(d.at(13).text).find(L"recorded 3 print errors or warnings"));

    EXPECT_STREQ(L"No problems found - reachable on the network", d.s->printers[0].headline);
    EXPECT_STREQ(L"Nothing answers at the printer's address  (+2 more)", d.s->printers[1].headline);
    EXPECT_STREQ(L"The printer says: paper jam  (+1 more)", d.s->printers[2].headline);
    EXPECT_STREQ(L"The printer is paused  (+3 more)", d.s->printers[4].headline);
    EXPECT_EQ(SeverityProblem, d.s->printers[4].worstSeverity);
    EXPECT_STREQ(L"Built into Windows or a PDF maker - not checked", d.s->printers[6].headline);
    EXPECT_EQ(0, d.s->printers[6].findingCount);

    for (int i = 0; i < d.count(); i++) {
        EXPECT_TRUE(is_known_message(d.at(i).title)) << narrow(d.at(i).title);
        EXPECT_TRUE(is_known_message(d.at(i).text)) << narrow(d.at(i).text);
    }
}

TEST(DemoOffice, BeforeAnySearchTheSilentPrinterOffersOne) {
    Diag d;
    build_demo(d);
    d.search.reset();
    d.run();
    EXPECT_EQ(13, d.count());
    EXPECT_STREQ(L"Nothing answers at the printer's address", d.at(0).title);
    EXPECT_EQ(SearchNetwork, d.at(0).fix);
}

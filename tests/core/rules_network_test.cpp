// The rules about a printer's network test result and what it reports over SNMP.
#include "diagnosis_fixture.h"

TEST(NetworkRules, OnlyWithAnAddressAndATestResult) {
    Diag d;
    PrinterRecord* p = d.net_printer(L"P", L"10.0.0.9");
    p->net.resolved = 0;
    p->net.tested = 0;
    d.run();
    EXPECT_TRUE(d.titles_of(0).empty());
    p->net.tested = 1;
    p->address[0] = 0;
    d.run();
    EXPECT_TRUE(d.titles_of(0).empty());
}

TEST(NetworkRules, NameNotFound) {
    Diag d;
    PrinterRecord* p = d.net_printer(L"P", L"npi77.corp.example");
    p->net.resolved = 0;
    p->net.snmpAsked = 1;
    p->snmpEnabled = 1;
    d.run();
    ASSERT_EQ(std::vector<std::wstring>{L"The printer's network name cannot be found"}, d.titles_of(0))
        << "the rules end after it";
    const Finding* f = d.find(L"The printer's network name cannot be found");
    EXPECT_EQ(NoFix, f->fix);
    EXPECT_EQ(SeverityProblem, f->severity);
    EXPECT_EQ(
        filled(
            L"Windows is set to reach this printer at the name \"%ls\", and that name does not exist on the "
            L"network right now (DNS lookup failed).\n\nWhat to do: print a network configuration page from "
            L"the printer's own control panel to get its current IP address, then change the printer's port "
            L"to that address (Tools → Properties → Ports → Configure Port).",
            L"npi77.corp.example"),
        f->text);
}

TEST(NetworkRules, NothingAnswersOffersTheSearchUntilOneExists) {
    Diag d;
    PrinterRecord* p = d.net_printer(L"P", L"10.0.0.9");
    p->net.pingOk = 0;
    p->net.portOpen[0] = 0;
    p->status = 0x80;
    p->snmpEnabled = 1;
    p->net.snmpAsked = 1;
    d.run();
    ASSERT_EQ(std::vector<std::wstring>{L"Nothing answers at the printer's address"}, d.titles_of(0));
    const Finding* f = d.find(L"Nothing answers at the printer's address");
    EXPECT_EQ(SearchNetwork, f->fix);
    std::wstring text = f->text;
    EXPECT_EQ(0u, text.find(L"Windows sends this printer's jobs to 10.0.0.9. Vantrel pinged that address"));
    EXPECT_NE(std::wstring::npos, text.find(L"compare its address with 10.0.0.9. If they differ"));
    EXPECT_NE(std::wstring::npos, text.find(L"\n• The printer is switched off, asleep"));

    d.make_search(); // a search has been done: no fix, and the search's own verdict follows
    d.run();
    EXPECT_EQ((std::vector<std::wstring>{L"Nothing answers at the printer's address",
                                         L"The network search did not find this printer anywhere"}),
              d.titles_of(0));
    EXPECT_EQ(NoFix, d.find(L"Nothing answers at the printer's address")->fix);
}

TEST(NetworkRules, PrintPortPositions) {
    // 9100 closed, 80 open: something answers, but not where Windows prints.
    for (int ping : {0, 1}) {
        Diag d;
        PrinterRecord* p = d.net_printer(L"P", L"10.0.0.9");
        p->net.pingOk = ping;
        p->net.portOpen[0] = 0;
        p->net.portOpen[3] = 1;
        d.run();
        ASSERT_EQ(
            std::vector<std::wstring>{
                L"Something answers at the address, but it is not accepting print jobs"},
            d.titles_of(0))
            << ping;
        EXPECT_EQ(OpenWebPage, d.at(0).fix);
        EXPECT_EQ(
            0u, std::wstring(d.at(0).text)
                    .find(L"A device answers at 10.0.0.9, but the port Windows prints to (9100) is closed."));
    }
    // LPR on 515 with only 9100 open.
    Diag l;
    PrinterRecord* lpr = l.net_printer(L"P", L"10.0.0.9");
    lpr->portNumber = 515;
    l.run();
    ASSERT_NE(nullptr, l.find(L"Something answers at the address, but it is not accepting print jobs"));
    EXPECT_NE(
        std::wstring::npos,
        std::wstring(l.find(L"Something answers at the address, but it is not accepting print jobs")->text)
            .find(L"prints to (515) is closed"));
    // A port number outside the probe list counts as 9100.
    Diag o;
    PrinterRecord* odd = o.net_printer(L"P", L"10.0.0.9");
    odd->portNumber = 9101;
    o.run();
    EXPECT_TRUE(o.titles_of(0).empty());
    odd->net.portOpen[0] = 0;
    odd->net.portOpen[5] = 1;
    o.run();
    EXPECT_NE(std::wstring::npos, std::wstring(o.at(0).text).find(L"prints to (9101) is closed"));
    // A WSD printer counts any open port.
    Diag w;
    PrinterRecord* wsd = w.net_printer(L"P", L"10.0.0.9");
    wsd->kind = KindWsd;
    wsd->net.portOpen[0] = 0;
    wsd->net.portOpen[3] = 1;
    w.run();
    EXPECT_EQ(std::vector<std::wstring>{L"Uses a WSD port (the least reliable kind of connection)"},
              w.titles_of(0));
}

TEST(NetworkRules, PingIgnoredButPrintPortOpen) {
    Diag d;
    PrinterRecord* p = d.net_printer(L"P", L"10.0.0.9");
    p->net.pingOk = 0;
    p->net.snmpAnswered = 1;
    p->net.haveErrorState = 1;
    p->net.errorBits = 0x400;
    d.run();
    EXPECT_EQ((std::vector<std::wstring>{L"The printer says: paper jam",
                                         L"The printer does not answer pings (but its print port is open)"}),
              d.titles_of(0));
    const Finding* f = d.find(L"The printer does not answer pings (but its print port is open)");
    EXPECT_EQ(SeverityNote, f->severity);
    EXPECT_STREQ(
        L"The print port at 10.0.0.9 is open, so printing can work. The printer just ignores \"ping\", which "
        L"some printers and firewalls are set to do. Nothing to fix.",
        f->text);
}

static const wchar_t kSnmpText[] = L"The port for this printer has \"SNMP Status Enabled\" ticked. That "
                                   L"makes Windows ask the printer \"are you "
                                   L"there?\" in a language called SNMP. This printer does not answer SNMP "
                                   L"(it is switched off on the printer, or "
                                   L"uses a different community name than \"%ls\"), so Windows decides the "
                                   L"printer is Offline %ls even though it "
                                   L"is reachable at %ls and its print port is open.\n\nThe fix: switch off "
                                   L"SNMP status on this port. Windows then "
                                   L"simply sends the job. This is one of the most common causes of "
                                   L"\"printer offline\" on network printers, and the "
                                   L"change is safe and can be undone from History & Undo.";

TEST(NetworkRules, SnmpStatusMakesWindowsSayOffline) {
    Diag d;
    PrinterRecord* p = d.net_printer(L"Cashier", L"192.168.10.70");
    text_copy(p->portName, _countof(p->portName), L"BRN3C2AF4A1B2C3");
    p->status = 0x80;
    p->snmpEnabled = 1;
    p->net.snmpAsked = 1;
    d.run();
    ASSERT_EQ(1, d.count());
    EXPECT_STREQ(L"Windows shows this printer Offline, but it is on the network and accepting jobs",
                 d.at(0).title);
    EXPECT_EQ(SeverityProblem, d.at(0).severity);
    EXPECT_EQ(SnmpStatusOff, d.at(0).fix);
    EXPECT_STREQ(L"BRN3C2AF4A1B2C3", d.at(0).subject) << "the port is what the fix changes";
    EXPECT_EQ(filled(kSnmpText, L"public", L"and holds every job", L"192.168.10.70"), d.at(0).text);

    text_copy(p->snmpCommunity, _countof(p->snmpCommunity), L"office7");
    p->status = 0;
    d.run();
    ASSERT_EQ(1, d.count());
    EXPECT_STREQ(L"This printer may show as Offline for no reason (SNMP status)", d.at(0).title);
    EXPECT_EQ(SeverityHeadsUp, d.at(0).severity);
    EXPECT_EQ(filled(kSnmpText, L"office7", L"from time to time", L"192.168.10.70"), d.at(0).text);

    // A pool needs its ports' SNMP status to pick a free printer: the same finding, never the fix.
    text_copy(p->portName, _countof(p->portName), L"BRN3C2AF4A1B2C3, IP_192.168.10.71");
    d.run();
    ASSERT_EQ(1, d.count());
    EXPECT_EQ(NoFix, d.at(0).fix);
    EXPECT_NE(std::wstring::npos,
              std::wstring(d.at(0).text).find(L"\n\nThis printer is a pool, and Windows "));
    EXPECT_EQ(std::wstring::npos, std::wstring(d.at(0).text).find(L"The fix:"));
    text_copy(p->portName, _countof(p->portName), L"BRN3C2AF4A1B2C3,");
    d.run();
    EXPECT_EQ(SnmpStatusOff, d.at(0).fix) << "a list of one port is no pool";

    p->net.snmpAnswered = 1;
    d.run();
    EXPECT_EQ(nullptr, d.find(L"This printer may show as Offline for no reason (SNMP status)"));
    p->net.snmpAnswered = 0;
    p->snmpEnabled = 0;
    d.run();
    EXPECT_EQ(nullptr, d.find(L"This printer may show as Offline for no reason (SNMP status)"));
    p->snmpEnabled = 1;
    p->kind = KindIpp;
    d.run();
    EXPECT_EQ(nullptr, d.find(L"This printer may show as Offline for no reason (SNMP status)"));
}

static Diag* snmp_printer(int have_error_state, int error_bits, int device_status = 2) {
    Diag* d = new Diag();
    PrinterRecord* p = d->net_printer(L"P", L"10.0.0.9");
    p->net.snmpAsked = 1;
    p->net.snmpAnswered = 1;
    p->net.haveErrorState = have_error_state;
    p->net.errorBits = error_bits;
    p->net.deviceStatus = device_status;
    return d;
}

TEST(ReportedStatus, ErrorBitsInTableOrder) {
    std::unique_ptr<Diag> d(snmp_printer(1, 0x2400, 5));
    d->s->printers[0].net.supplyCount = 1;
    d->s->printers[0].net.supplies[0] = {L"TK-3182 Black Toner", 1260, 21000};
    d->run();
    EXPECT_EQ(
        (std::vector<std::wstring>{L"The printer says: paper jam", L"The printer says: toner or ink is low"}),
        d->titles_of(0))
        << "no down finding with error bits, no supply finding after the toner bit";

    d.reset(snmp_printer(1, 0xFFFF));
    d->run();
    EXPECT_EQ((std::vector<std::wstring>{
                  L"The printer says: paper jam", L"The printer says: out of paper",
                  L"The printer says: a door or cover is open", L"The printer says: out of toner or ink",
                  L"The printer says it is offline", L"The printer says: a cartridge or tray is missing",
                  L"The printer says: the output tray is full", L"The printer says it needs service",
                  L"The printer says: toner or ink is low", L"The printer says maintenance is overdue",
                  L"The printer says: paper is low"}),
              d->titles_of(0));
    EXPECT_EQ(OpenWebPage, d->find(L"The printer says it needs service")->fix);
    EXPECT_EQ(SeverityHeadsUp, d->find(L"The printer says it needs service")->severity);
    EXPECT_EQ(SeverityNote, d->find(L"The printer says: paper is low")->severity);
    EXPECT_STREQ(L"Take the printed pages out of the output tray.",
                 d->find(L"The printer says: the output tray is full")->text);

    for (int bits : {0xA0, 0x80, 0x20}) {
        d.reset(snmp_printer(1, bits));
        d->run();
        EXPECT_EQ(std::vector<std::wstring>{L"The printer says: a cartridge or tray is missing"},
                  d->titles_of(0))
            << bits;
    }
    for (int bits : {0x40, 0x10, 0x4, 0x1}) {
        d.reset(snmp_printer(1, bits));
        d->run();
        EXPECT_TRUE(d->titles_of(0).empty()) << bits;
    }
    d.reset(snmp_printer(0, 0x400)); // bits without the error state are not trusted
    d->run();
    EXPECT_TRUE(d->titles_of(0).empty());
}

TEST(ReportedStatus, DeviceDown) {
    std::unique_ptr<Diag> d(snmp_printer(1, 0, 5));
    d->run();
    ASSERT_EQ(std::vector<std::wstring>{L"The printer reports that it is down"}, d->titles_of(0));
    EXPECT_EQ(OpenWebPage, d->at(0).fix);
    EXPECT_EQ(SeverityProblem, d->at(0).severity);
    d.reset(snmp_printer(0, 0x400, 5));
    d->run();
    EXPECT_EQ(std::vector<std::wstring>{L"The printer reports that it is down"}, d->titles_of(0));
    d.reset(snmp_printer(1, 0x8000, 5));
    d->run();
    EXPECT_EQ(std::vector<std::wstring>{L"The printer says: paper is low"}, d->titles_of(0));
    // Nothing the printer says counts when it did not answer.
    d.reset(snmp_printer(1, 0x400, 5));
    d->s->printers[0].net.snmpAnswered = 0;
    d->run();
    EXPECT_TRUE(d->titles_of(0).empty());
}

TEST(ReportedStatus, SupplyLevels) {
    std::unique_ptr<Diag> d(snmp_printer(1, 0));
    NetTestResult* n = &d->s->printers[0].net;
    n->supplyCount = 6;
    n->supplies[0] = {L"Black at ten", 10, 100};
    n->supplies[1] = {L"Cyan at eleven", 11, 100};
    n->supplies[2] = {L"Magenta empty", 0, 500};
    n->supplies[3] = {L"Unknown capacity", 0, -2};
    n->supplies[4] = {L"Some remaining", -3, 100};
    n->supplies[5] = {L"Huge", 2000000000, 2100000000};
    d->run();
    ASSERT_EQ((std::vector<std::wstring>{L"A supply is empty", L"A supply is nearly empty"}),
              d->titles_of(0));
    EXPECT_EQ(SeverityProblem, d->at(0).severity);
    EXPECT_STREQ(
        L"Magenta empty is at 0%. Order a replacement - the printer may refuse to print until it is changed.",
        d->at(0).text);
    EXPECT_STREQ(L"Black at ten is at 10%. Order a replacement now so it is on hand.", d->at(1).text);
    EXPECT_EQ(NoFix, d->at(1).fix);

    n->supplies[6] = {L"Beyond the count", 0, 100};
    n->supplyCount = 1000; // a count beyond the array stops at its end
    d->run();
    EXPECT_EQ(3u, d->titles_of(0).size());
    n->supplyCount = -4;
    d->run();
    EXPECT_TRUE(d->titles_of(0).empty());

    n->supplyCount = 1;
    n->errorBits = 0x1000; // "out of toner" already said it
    d->run();
    EXPECT_EQ(std::vector<std::wstring>{L"The printer says: out of toner or ink"}, d->titles_of(0));
    n->errorBits = 0;
    n->haveErrorState = 0;
    d->run();
    EXPECT_EQ(std::vector<std::wstring>{L"A supply is nearly empty"}, d->titles_of(0));
}

TEST(SharedPrinters, OneFindingThenNothingElse) {
    std::unique_ptr<Diag> d(new Diag());
    PrinterRecord* p = d->net_printer(L"\\\\ACCT-PC\\Laser", L"ACCT-PC");
    p->kind = KindShared;
    p->isConnection = 0; // a local port that writes to the share; not a connection
    text_copy(p->net.ipText, _countof(p->net.ipText), L"10.0.0.44");
    p->net.resolved = 0;
    d->make_search(); // the moved-printer search never applies to a shared printer
    d->run();
    ASSERT_EQ(std::vector<std::wstring>{L"The PC that shares this printer cannot be found"}, d->titles_of(0));
    EXPECT_EQ(
        filled(
            L"This printer is shared from another computer called \"%ls\", and that name cannot be found on "
            L"the network. Either that computer was renamed or removed, or this PC is not on the same "
            L"network (or VPN) right now.\n\nWhat to do: check that \"%ls\" is switched on and on the "
            L"network. If it was replaced, remove this printer and add it again from the new computer.",
            L"ACCT-PC", L"ACCT-PC"),
        d->at(0).text);

    p->net.resolved = 1;
    p->net.pingOk = 0;
    p->net.portOpen[0] = 0;
    d->run();
    ASSERT_EQ(std::vector<std::wstring>{L"The PC that shares this printer is not answering"},
              d->titles_of(0));
    EXPECT_EQ(0u, std::wstring(d->at(0).text)
                      .find(L"This printer is shared from the computer \"ACCT-PC\" (10.0.0.44). That"));

    p->net.pingOk = 1;
    p->net.snmpAsked = 1;
    p->net.snmpAnswered = 1;
    p->net.haveErrorState = 1;
    p->net.errorBits = 0x400;
    d->run();
    ASSERT_EQ(std::vector<std::wstring>{L"The sharing PC is on, but printer sharing is not reachable"},
              d->titles_of(0));
    EXPECT_EQ(NoFix, d->at(0).fix);

    p->net.portOpen[5] = 1;
    d->run();
    EXPECT_TRUE(d->titles_of(0).empty()) << "sharing works; no SNMP rule runs for a shared printer";
}

// Damaged or extreme snapshots: the diagnosis must neither crash nor read or write past a field, and
// every text it makes stays terminated and word for word one of its messages.
#include "diagnosis_fixture.h"

#include <set>

#include "core/rule_catalog.h"
#include "core/session.h"
#include "core/state.h"

static void expect_sane(const Diag& d) {
    ASSERT_GE(d.count(), 1);
    ASSERT_LE(d.count(), kMaxFindings);
    for (int i = 0; i < d.count(); i++) {
        const Finding& f = d.at(i);
        EXPECT_LT(text_length(f.subject, _countof(f.subject)), _countof(f.subject));
        EXPECT_LT(text_length(f.title, _countof(f.title)), _countof(f.title));
        EXPECT_LT(text_length(f.text, _countof(f.text)), _countof(f.text));
        EXPECT_GE(f.printerIndex, -1);
        EXPECT_LT(f.printerIndex, d.s->printerCount);
    }
    for (int i = 0; i < d.s->printerCount; i++)
        EXPECT_LT(text_length(d.s->printers[i].headline, 300), 300u);
}

static void fill(wchar_t* buf, size_t cap, wchar_t c) {
    for (size_t i = 0; i + 1 < cap; i++)
        buf[i] = c;
    buf[cap - 1] = 0;
}

TEST(BadInput, NamesAtFullCapacity) {
    Diag d;
    PrinterRecord* p = d.net_printer(L"", L"10.0.0.1");
    fill(p->name, _countof(p->name), L'N');
    fill(p->driverName, _countof(p->driverName), L'%'); // a format character is only ever an argument
    fill(p->address, _countof(p->address), L'A');
    fill(p->portName, _countof(p->portName), L'P');
    fill(p->snmpCommunity, _countof(p->snmpCommunity), L'C');
    fill(p->net.ipText, _countof(p->net.ipText), L'I');
    fill(p->knownMac, _countof(p->knownMac), L'M');
    p->net.pingOk = 0;
    p->net.portOpen[0] = 0;
    p->status = 0xFFFFFFFF;
    p->driverFound = 0;
    d.driver(L"x");
    FoundPrinter* f = d.found(L"");
    fill(f->ip, _countof(f->ip), L'9');
    fill(f->mac, _countof(f->mac), L'M');
    fill(f->hostName, _countof(f->hostName), L'H');
    fill(d.s->defaultPrinter, _countof(d.s->defaultPrinter), L'D');
    fill(d.s->userName, _countof(d.s->userName), L'U');
    fill(d.s->sessionUserName, _countof(d.s->sessionUserName), L'S');
    d.run();
    expect_sane(d);
    const Finding* m = d.find((L"The printer has moved to " + std::wstring(19, L'9')).c_str());
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(259u, wcslen(m->subject)) << "port and address cut at the subject's capacity";
    const Finding* missing = d.find(L"The printer's driver is missing");
    ASSERT_NE(nullptr, missing);
    EXPECT_NE(std::wstring::npos, std::wstring(missing->text).find(std::wstring(199, L'%')));
    EXPECT_NE(nullptr, d.find(L"Vantrel is running as a different user than the person signed in"));
}

TEST(BadInput, UnterminatedTextsAreSealed) {
    Diag d;
    PrinterRecord* p = d.net_printer(L"x", L"10.0.0.1");
    for (auto& c : p->name)
        c = L'N';
    for (auto& c : p->address)
        c = L'A';
    for (auto& c : p->net.ipText)
        c = L'I';
    for (auto& c : p->headline)
        c = L'H';
    p->net.pingOk = 0;
    p->net.portOpen[0] = 0;
    d.run();
    expect_sane(d);
    EXPECT_EQ(259u, wcslen(p->name));
    EXPECT_NE(nullptr, d.find(L"Nothing answers at the printer's address"));
}

TEST(BadInput, CountsOutsideTheirArrays) {
    Diag d;
    d.printer(L"Only");
    d.s->printerCount = 1000;
    d.s->jobCount = 5000;
    d.s->driverCount = -7;
    d.s->logCount = 100000;
    d.s->adminLogRead = 1;
    d.run();
    expect_sane(d);
    EXPECT_EQ(kMaxPrinters, d.s->printerCount);
    EXPECT_EQ(kMaxJobs, d.s->jobCount);

    Diag n;
    n.s->printerCount = -1;
    n.s->jobCount = -1;
    n.run();
    EXPECT_STREQ(L"No printers are installed on this PC", n.at(0).title);
}

TEST(BadInput, FullSnapshot) {
    Diag d;
    for (int i = 0; i < kMaxPrinters; i++) {
        wchar_t name[32];
        text_format(name, _countof(name), L"Printer %d", i);
        d.net_printer(name, L"10.0.0.1")->status = 0x1;
    }
    for (int i = 0; i < kMaxJobs; i++)
        d.job(i % kMaxPrinters, 0x2, i);
    for (int i = 0; i < kMaxDrivers; i++)
        d.driver(L"D", LanguagePcl5);
    for (int i = 0; i < kMaxLogEntries; i++) {
        LogEntry* e = snapshot_add_log_entry(d.s);
        e->level = 2;
        e->time = d.now - 1;
    }
    d.s->adminLogRead = 1;
    d.run();
    expect_sane(d);
    EXPECT_EQ(129, d.count()) << "paused and a job in error for each of 64 printers, and the print log";
    EXPECT_NE(std::wstring::npos,
              std::wstring(d.find(L"Windows logged print errors in the last 24 hours")->text)
                  .find(L"recorded 80 print errors"));
}

TEST(BadInput, NullSettingsMeanTheBuiltInOnes) {
    Diag d;
    PrinterRecord* pdf = d.printer(L"PDF", KindBuiltIn, L"Microsoft Print To PDF");
    pdf->isVirtual = 1;
    pdf->status = 0x1;
    d.s->operationalLogKnown = 1;
    DiagnosisInput in = {d.s, nullptr, nullptr, 0, 0};
    diagnose_at(&in, d.list.get(), d.now);
    EXPECT_TRUE(d.titles_of(0).empty()) << "virtual printers are not checked";
    EXPECT_NE(nullptr, d.find(L"Windows' detailed print log is switched off")) << "the print log is read";
}

TEST(BadInput, SessionRun) {
    std::unique_ptr<Session> session(new Session());
    session_init(session.get());
    session->findings.count = 5;
    diagnose(session.get());
    EXPECT_EQ(0, session->findings.count);
    Diag d;
    d.printer(L"P")->status = 0x1;
    session->snapshot = d.s;
    diagnose(session.get());
    session->snapshot = nullptr; // the test's own snapshot, never freed by the session
    ASSERT_EQ(1, session->findings.count);
    EXPECT_STREQ(L"The printer is paused", session->findings.items[0].title);
    EXPECT_STREQ(L"printer-paused", session->findings.items[0].rule);
}

// The rules tested with their own records in rules_print_test.cpp.
const wchar_t* const kPrintServerRules =
    L" connection-refused ipp-class-driver ipp-class-duplicate point-and-print-admin-needed "
    L"point-and-print-unprotected pool-member-silent print-server-name print-server-named-pipes-only "
    L"print-server-silent rpc-privacy-off spooler-crashing ";

// Every rule at least once, every text checked against the message catalogue.
TEST(Messages, EveryFindingIsWordForWordAMessage) {
    std::vector<std::unique_ptr<Diag>> runs;
    auto add = [&]() -> Diag& {
        runs.emplace_back(new Diag());
        return *runs.back();
    };
    {
        Diag& d = add();
        d.s->spoolerState = 2;
        d.s->spoolerStartType = 4;
        d.s->spoolFolderRead = 1;
        d.s->spoolFileCount = 2;
        d.s->runningAsSystem = 1;
        d.s->protectedPrintPolicy = 1;
        d.s->operationalLogKnown = 1;
        d.demo = 1;
        d.s->defaultPrinter[0] = 0;
        d.s->pdfPrinterMissing = 1;
        d.s->windowsManagesDefault = 1;
        PrinterRecord* a =
            d.printer(L"Everything (Copy 1)", KindUsb, L"HP LaserJet 4250 PCL 5e Class Driver");
        a->status = 0xFFFFFFFF;
        a->useOffline = 1;
        a->driverIndex = 0;
        d.driver(L"HP LaserJet 4250 PCL 5e Class Driver", LanguagePcl5);
        PrinterRecord* b = d.printer(L"Cable", KindParallelSerial, L"Generic / Text Only");
        b->status = 0x80;
        b->driverFound = 0;
        b->driverFilesMissing = 1;
        d.printer(L"RD", KindRemoteDesktop);
        PrinterRecord* w = d.printer(L"Wsd", KindWsd);
        w->status = 0x80;
        text_copy(w->address, _countof(w->address), L"10.0.0.3");
        PrinterRecord* l = d.net_printer(L"Lpr", L"10.0.0.4");
        l->protocol = 2;
        l->driverFilesMissing = 1;
        d.job(0, 0x4, 5);
        d.job(1, 0x2, 5);
        d.job(4, 0, 500);
        LogEntry* e = snapshot_add_log_entry(d.s);
        e->level = 3;
        e->time = d.now;
        d.s->adminLogRead = 1;
    }
    {
        Diag& d = add();
        d.s->sessionUserName[0] = 0;
        d.s->runningAsSystem = 1;
        PrinterRecord* v = d.printer(L"PDF", KindBuiltIn, L"Microsoft Print To PDF");
        v->isVirtual = 1;
        v->isDefault = 1;
        d.printer(L"Real");
        text_copy(d.s->defaultPrinter, _countof(d.s->defaultPrinter), L"PDF");
        PrinterRecord* n = d.net_printer(L"Unresolved", L"gone.example");
        n->net.resolved = 0;
        PrinterRecord* s = d.net_printer(L"Snmp", L"10.0.0.5");
        s->net.pingOk = 0;
        s->snmpEnabled = 1;
        s->net.snmpAsked = 1;
        s->status = 0x80;
        PrinterRecord* r = d.net_printer(L"Reports", L"10.0.0.6");
        r->net.snmpAnswered = 1;
        r->net.haveErrorState = 1;
        r->net.errorBits = 0xFFFF;
        r->net.supplyCount = 2;
        r->net.supplies[0] = {L"Cyan", 0, 100};
        PrinterRecord* down = d.net_printer(L"Down", L"10.0.0.7");
        down->net.snmpAnswered = 1;
        down->net.deviceStatus = 5;
        down->net.supplyCount = 2;
        down->net.supplies[0] = {L"Cyan", 0, 100};
        down->net.supplies[1] = {L"Black", 5, 100};
        PrinterRecord* wrong = d.net_printer(L"Wrong device", L"10.0.0.8");
        wrong->net.portOpen[0] = 0;
        wrong->net.portOpen[4] = 1;
        for (int k = 0; k < 3; k++) {
            PrinterRecord* sh = d.net_printer(L"\\\\pc\\p", L"pc");
            sh->kind = KindShared;
            sh->isConnection = 0; // a local port on a share; connections have their print-server rules
            sh->net.resolved = k != 0;
            sh->net.pingOk = k == 2;
            sh->net.portOpen[0] = 0;
        }
    }
    {
        Diag& d = add();
        PrinterRecord* p = d.net_printer(L"Silent - Lexmark MS621", L"10.0.0.9");
        text_copy(p->driverName, _countof(p->driverName), L"Lexmark MS620 Series XL");
        p->net.pingOk = 0;
        p->net.portOpen[0] = 0;
        text_copy(p->knownMac, _countof(p->knownMac), L"00-00-00-00-00-01");
        PrinterRecord* q = d.net_printer(L"Silent two - Lexmark MS621", L"10.0.0.10");
        *q = *p;
        q->knownMac[0] = 0;
        text_copy(q->net.ipText, _countof(q->net.ipText), L"10.0.0.10");
        d.found(L"10.0.0.50", L"00-00-00-00-00-01", L"Lexmark CX410");
        d.found(L"10.0.0.51", L"", L"Lexmark MS621");
        PrinterRecord* r = d.net_printer(L"Silent three", L"10.0.0.11");
        r->net.resolved = 0;
        d.job(0, 0x2, 1);
        d.job(0, 0x2, 1);
        d.job(1, 0x2, 1);
    }
    {
        Diag& d = add();
        d.s->spoolFolderRead = 1;
        d.s->spoolFileCount = 3;
        d.s->spoolBytes = 5000;
    }
    {
        Diag& d = add();
        text_copy(d.s->userName, _countof(d.s->userName), L"helpdesk");
        PrinterRecord* p = d.net_printer(L"Snmp heads-up", L"10.0.0.12");
        p->snmpEnabled = 1;
        p->net.snmpAsked = 1;
    }
    add(); // no printers
    {
        Diag& d = add();
        d.printer(L"Fine");
    }
    std::set<std::wstring> titles, rules;
    for (auto& d : runs) {
        d->run();
        for (int i = 0; i < d->count(); i++) {
            titles.insert(d->at(i).title);
            rules.insert(d->at(i).rule);
            EXPECT_NE(nullptr, rule_info(d->at(i).rule))
                << narrow(d->at(i).rule) << " is not in the catalogue";
            EXPECT_TRUE(is_known_message(d->at(i).title)) << narrow(d->at(i).title);
            EXPECT_TRUE(is_known_message(d->at(i).text)) << narrow(d->at(i).title) << "\n"
                                                         << narrow(d->at(i).text);
        }
    }
    static const wchar_t* const kEveryTitle[] = {
        L"\"Driver is unavailable\" — the driver's files are missing",
        L"\"Use Printer Offline\" is switched on",
        L"A job has an error and is blocking the queue",
        L"A job is stuck \"Deleting\" and blocking the queue",
        L"A printer of the same model was found at 10.0.0.51",
        L"A supply is empty",
        L"A supply is nearly empty",
        L"Jobs have been waiting a long time",
        L"Leftover job files in the spool folder",
        L"Microsoft Print to PDF is not installed",
        L"No default printer is set",
        L"No printers are installed on this PC",
        L"No problems found",
        L"Nothing answers at the printer's address",
        L"Something answers at the address, but it is not accepting print jobs",
        L"The PC that shares this printer cannot be found",
        L"The PC that shares this printer is not answering",
        L"The Print Spooler is not set to start automatically",
        L"The Print Spooler service is not running",
        L"The default printer is not a real printer",
        L"The network search did not find this printer anywhere",
        L"The printer does not answer pings (but its print port is open)",
        L"The printer has moved to 10.0.0.50",
        L"The printer is offline (cable)",
        L"The printer is paused",
        L"The printer reports that it is down",
        L"The printer says it is offline",
        L"The printer says it needs service",
        L"The printer says maintenance is overdue",
        L"The printer says: a cartridge or tray is missing",
        L"The printer says: a door or cover is open",
        L"The printer says: out of paper",
        L"The printer says: out of toner or ink",
        L"The printer says: paper is low",
        L"The printer says: paper jam",
        L"The printer says: the output tray is full",
        L"The printer says: toner or ink is low",
        L"The printer's driver is missing",
        L"The printer's network name cannot be found",
        L"The sharing PC is on, but printer sharing is not reachable",
        L"This looks like a duplicate printer",
        L"This printer comes from a Remote Desktop session",
        L"Uses LPR printing instead of the usual RAW (port 9100)",
        L"Uses a WSD port (the least reliable kind of connection)",
        L"Uses a generic Windows driver, not the manufacturer's",
        L"Uses an older PCL 5 driver",
        L"Uses the \"Generic / Text Only\" driver",
        L"Vantrel is running as SYSTEM, not as the person signed in",
        L"Windows is allowed to change the default printer by itself",
        L"Windows logged print errors in the last 24 hours",
        L"Windows protected print mode is on",
        L"Windows reports: a door is open",
        L"Windows reports: out of paper",
        L"Windows reports: out of toner or ink",
        L"Windows reports: output tray full",
        L"Windows reports: paper jam",
        L"Windows reports: printer not available",
        L"Windows reports: the printer is in an error state",
        L"Windows reports: the printer needs attention",
        L"Windows reports: toner or ink is low",
        L"Windows shows this printer Offline, but it is on the network and accepting jobs",
        L"Windows shows this printer as Offline",
        L"Windows' detailed print log is switched off",
        L"This printer may show as Offline for no reason (SNMP status)",
        L"Vantrel is running as a different user than the person signed in",
    };
    for (const wchar_t* title : kEveryTitle)
        EXPECT_EQ(1u, titles.count(title)) << narrow(title);
    // Every rule of the catalogue is one these runs reach (the print-server rules have their own tests).
    for (int32_t i = 0; i < kRuleCount; i++) {
        if (!rules.count(kRules[i].id)) {
            EXPECT_TRUE(wcsstr(kPrintServerRules, kRules[i].id)) << narrow(kRules[i].id) << " is never found";
        }
    }

    // The catalogue check itself tells a near miss from the real text.
    EXPECT_TRUE(is_known_message(L"The printer is paused"));
    EXPECT_FALSE(is_known_message(L"The printer is paused."));
    EXPECT_TRUE(is_known_message(L"Cyan is at 7%. Order a replacement now so it is on hand."));
    EXPECT_FALSE(is_known_message(L"Cyan is at 7 %. Order a replacement now so it is on hand."));
    EXPECT_FALSE(
        is_known_message(L"Windows believes it cannot reach this printer Check that it is switched on."));
}

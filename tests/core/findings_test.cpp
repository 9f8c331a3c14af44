// The finding list: labels, the 240-finding cap, the stable sort, the printer summaries and the
// all-clear finding.
#include "diagnosis_fixture.h"

TEST(FindingLabels, SeveritiesAndFixes) {
    EXPECT_STREQ(L"OK", severity_label(0));
    EXPECT_STREQ(L"Note", severity_label(1));
    EXPECT_STREQ(L"Heads-up", severity_label(2));
    EXPECT_STREQ(L"PROBLEM", severity_label(3));
    EXPECT_STREQ(L"", severity_label(4));
    EXPECT_STREQ(L"", severity_label(-1));
    EXPECT_STREQ(L"", fix_label(NoFix));
    EXPECT_STREQ(L"Start the Print Spooler", fix_label(StartSpooler));
    EXPECT_STREQ(L"Switch off \"Use Printer Offline\"", fix_label(UseOfflineOff));
    EXPECT_STREQ(L"Open Printers & scanners", fix_label(OpenPrintersSettings));
    EXPECT_STREQ(L"Search the network for this printer", fix_label(SearchNetwork));
    EXPECT_STREQ(L"Remove the RPC privacy override", fix_label(RemoveRpcPrivacyOverride));
    EXPECT_STREQ(L"", fix_label(kFixKindCount));
    EXPECT_STREQ(L"", fix_label(-1));
}

TEST(AddFinding, CopiesFormatsAndStopsAt240) {
    std::unique_ptr<FindingList> list(new FindingList());
    add_finding_to(list.get(), L"test-rule", SeverityNote, 2, FindDriver, L"Front Desk", L"Title",
                   L"%ls has %d%% and %I64u KB", L"A", 7, (unsigned long long)5000000000ull);
    ASSERT_EQ(1, list->count);
    EXPECT_STREQ(L"A has 7% and 5000000000 KB", list->items[0].text);
    EXPECT_EQ(2, list->items[0].printerIndex);
    EXPECT_EQ(FindDriver, list->items[0].fix);
    add_finding_to(list.get(), L"test-rule", SeverityNote, -1, NoFix, nullptr, nullptr, nullptr);
    EXPECT_STREQ(L"", list->items[1].subject);
    EXPECT_STREQ(L"", list->items[1].title);
    EXPECT_STREQ(L"", list->items[1].text);

    std::wstring long_text(5000, L'x');
    add_finding_to(list.get(), L"test-rule", SeverityNote, -1, NoFix, long_text.c_str(), long_text.c_str(),
                   L"%ls", long_text.c_str());
    EXPECT_EQ(259u, wcslen(list->items[2].subject));
    EXPECT_EQ(219u, wcslen(list->items[2].title));
    EXPECT_EQ(1099u, wcslen(list->items[2].text));

    while (list->count < kMaxFindings)
        add_finding_to(list.get(), L"test-rule", SeverityNote, -1, NoFix, L"", L"filler", L"");
    add_finding_to(list.get(), L"test-rule", SeverityProblem, -1, NoFix, L"", L"the 241st", L"");
    EXPECT_EQ(kMaxFindings, list->count);
    EXPECT_STREQ(L"filler", list->items[kMaxFindings - 1].title);

    EXPECT_STREQ(L"test-rule", list->items[0].rule);
}

TEST(Diagnose, WithoutSnapshotOnlyEmptiesTheList) {
    std::unique_ptr<FindingList> list(new FindingList());
    list->count = 17;
    DiagnosisInput in = {nullptr, nullptr, nullptr, 0, 0};
    diagnose_at(&in, list.get(), kTestNow);
    EXPECT_EQ(0, list->count);
    diagnose_at(nullptr, list.get(), kTestNow);
    EXPECT_EQ(0, list->count);
    diagnose_at(&in, nullptr, kTestNow); // nothing to write into: no crash
}

TEST(Diagnose, AllClearWithAndWithoutPrinters) {
    Diag d;
    d.run();
    ASSERT_EQ(1, d.count());
    EXPECT_EQ(SeverityOk, d.at(0).severity);
    EXPECT_EQ(-1, d.at(0).printerIndex);
    EXPECT_EQ(NoFix, d.at(0).fix);
    EXPECT_STREQ(L"No printers are installed on this PC", d.at(0).title);
    EXPECT_STREQ(L"Windows has no printers set up. Add one from Windows' Printers & scanners (Tools tab).",
                 d.at(0).text);

    text_copy(d.s->defaultPrinter, _countof(d.s->defaultPrinter), L"Office");
    d.printer(L"Office")->isDefault = 1;
    d.net_printer(L"Upstairs", L"10.0.0.20");
    d.run();
    ASSERT_EQ(1, d.count());
    EXPECT_STREQ(L"No problems found", d.at(0).title);
    EXPECT_STREQ(
        L"The Print Spooler is running, no printer is paused, offline or in error, no job is stuck, and "
        L"every "
        L"network printer that was tested answered. If something still will not print, send a Test Page "
        L"(Home tab) to the printer: if the test page prints, the problem is in the program you are printing "
        L"from, not the printer.",
        d.at(0).text);
    EXPECT_STREQ(L"No problems found", d.s->printers[0].headline) << "no address";
    EXPECT_STREQ(L"No problems found - reachable on the network", d.s->printers[1].headline);
    EXPECT_EQ(0, d.s->printers[0].findingCount);
    EXPECT_EQ(SeverityOk, d.s->printers[1].worstSeverity);

    d.s->printers[1].net.tested = 0;
    d.run();
    EXPECT_STREQ(L"No problems found - network not tested yet", d.s->printers[1].headline);
}

TEST(Diagnose, StableSortPutsSevereFirstAndKeepsRuleOrder) {
    Diag d;
    d.printer(L"Zero");                  // printer 0: a PROBLEM (paused)
    d.printer(L"One", KindWsd);          // printer 1: Heads-up (WSD) before its PROBLEMs
    d.s->printers[1].status = 0x8 | 0x2; // jam, then error state
    d.s->printers[0].status = 0x1;
    d.s->spoolerStartType = 3; // a PC-wide Heads-up added before the printers
    d.s->windowsManagesDefault = 1;
    text_copy(d.s->defaultPrinter, _countof(d.s->defaultPrinter), L"Zero");
    d.run();
    std::vector<std::wstring> expected = {
        L"The printer is paused",
        L"Windows reports: paper jam",
        L"Windows reports: the printer is in an error state",
        L"The Print Spooler is not set to start automatically",
        L"Uses a WSD port (the least reliable kind of connection)",
        L"Windows is allowed to change the default printer by itself",
    };
    EXPECT_EQ(expected, d.titles());
}

TEST(Diagnose, HeadlineIsTheWorstFindingWithTheRestCounted) {
    Diag d;
    d.printer(L"Quiet");
    PrinterRecord* p = d.printer(L"Busy (Copy 2)", KindWsd);
    p->status = 0x1 | 0x20000;
    d.run();
    // PROBLEM paused, Heads-up low toner, Heads-up WSD, Note duplicate.
    EXPECT_EQ(4, d.s->printers[1].findingCount);
    EXPECT_EQ(SeverityProblem, d.s->printers[1].worstSeverity);
    EXPECT_STREQ(L"The printer is paused  (+3 more)", d.s->printers[1].headline);
    EXPECT_STREQ(L"No problems found", d.s->printers[0].headline);

    Diag e;
    e.printer(L"A")->status = 0x1 | 0x8;
    e.run();
    EXPECT_STREQ(L"The printer is paused  (+1 more)", e.s->printers[0].headline);
}

TEST(Diagnose, VirtualPrintersAreSkippedUnlessChecked) {
    Diag d;
    PrinterRecord* pdf = d.printer(L"Microsoft Print to PDF", KindBuiltIn, L"Microsoft Print To PDF");
    pdf->isVirtual = 1;
    pdf->status = 0x1;
    d.run();
    EXPECT_TRUE(d.titles_of(0).empty());
    EXPECT_STREQ(L"Built into Windows or a PDF maker - not checked", d.s->printers[0].headline);

    d.settings.checkVirtual = 1;
    d.run();
    EXPECT_EQ(std::vector<std::wstring>{L"The printer is paused"}, d.titles_of(0));
    pdf->status = 0;
    d.run();
    EXPECT_STREQ(L"No problems found", d.s->printers[0].headline);
}

TEST(Diagnose, SummariesAreResetOnEveryRun) {
    Diag d;
    PrinterRecord* p = d.printer(L"P");
    p->status = 0x1;
    d.run();
    EXPECT_EQ(1, p->findingCount);
    p->status = 0;
    d.run();
    EXPECT_EQ(0, p->findingCount);
    EXPECT_EQ(SeverityOk, p->worstSeverity);
    EXPECT_STREQ(L"No problems found", p->headline);
}

TEST(Diagnose, CapOf240KeepsTheEarliestRules) {
    Diag d;
    d.s->spoolerState = 1; // the spooler finding comes first and must survive
    for (int i = 0; i < kMaxPrinters; i++) {
        wchar_t name[40];
        text_format(name, _countof(name), L"Printer %d (Copy 1)", i);
        PrinterRecord* p = d.printer(name, KindWsd);
        p->useOffline = 1;
        p->status = 0x1 | 0x8 | 0x10 | 0x400000 | 0x40000 | 0x100000 | 0x800 | 0x1000 | 0x2 | 0x20000;
    }
    d.run();
    EXPECT_EQ(kMaxFindings, d.count());
    EXPECT_STREQ(L"The Print Spooler service is not running", d.at(0).title);
    // Each printer makes 13 findings: after the spooler's one, 18 printers fit whole and the 19th in part.
    int last_printer = -1;
    for (int i = 0; i < d.count(); i++)
        last_printer = d.at(i).printerIndex > last_printer ? d.at(i).printerIndex : last_printer;
    EXPECT_EQ(18, last_printer);
    EXPECT_EQ(5, d.s->printers[18].findingCount);
    EXPECT_EQ(0, d.s->printers[20].findingCount);
    EXPECT_STREQ(L"No problems found", d.s->printers[20].headline);
    for (int i = 1; i < d.count(); i++)
        EXPECT_GE(d.at(i - 1).severity, d.at(i).severity) << i;
}

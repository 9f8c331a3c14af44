// The bottom views, the row colour table, the demonstration office as the user first sees it, and
// input at every capacity.
#include "lists_fixture.h"

#include "core/demo.h"
#include "core/diagnose.h"

TEST(BottomViews, CaptionsAndColumns) {
    const int columns[] = {4, 7, 4, 9, 7};
    for (int v = 0; v < 5; v++) {
        ASSERT_EQ(columns[v], bottom_view(v)->columnCount) << v;
        for (int c = 0; c < columns[v]; c++)
            EXPECT_GT(bottom_view(v)->columns[c].width96, 0);
    }
    EXPECT_EQ(bottom_view(ViewNetworkPrinters), bottom_view(5));
    EXPECT_EQ(bottom_view(ViewNetworkPrinters), bottom_view(-1));
    EXPECT_STREQ(L"Print queue — every job waiting on every printer", bottom_view(1)->caption);
    EXPECT_STREQ(L"What Windows recorded", bottom_view(2)->columns[3].header);
    EXPECT_EQ(860, bottom_view(2)->columns[3].width96);
    EXPECT_STREQ(L"Driver version", kPrinterColumns[12].header);
    EXPECT_EQ(44, kPrinterColumns[3].width96);
}

TEST(BottomViews, ProblemsRowsAndColours) {
    Lists l;
    l.printer(L"Front desk");
    l.finding(SeverityProblem, -1, L"Spooler stopped", StartSpooler);
    l.finding(SeverityHeadsUp, 0, L"Old driver");
    l.finding(SeverityNote, 0, L"A note");
    l.finding(SeverityOk, 0, L"Fine");
    ASSERT_EQ(4, bottom_row_count(&l.src, ViewProblems));
    EXPECT_EQ(L"PROBLEM", l.bottom(0, 0, 0));
    EXPECT_EQ(L"(this PC)", l.bottom(0, 0, 1));
    EXPECT_EQ(L"Spooler stopped", l.bottom(0, 0, 2));
    EXPECT_EQ(L"Start the Print Spooler", l.bottom(0, 0, 3));
    EXPECT_EQ(L"Front desk", l.bottom(0, 1, 1));
    EXPECT_EQ(L"—", l.bottom(0, 1, 3));
    const RowColourName expected[] = {RowRed, RowAmber, RowBlue, RowGreen, RowPlain};
    for (int r = 0; r < 5; r++)
        EXPECT_EQ(expected[r], bottom_row_colour(&l.src, ViewProblems, r)) << r;
    l.findings->count = 0;
    EXPECT_EQ(0, bottom_row_count(&l.src, ViewProblems));
}

TEST(BottomViews, PrintQueueRowsAndTheUncolouredEmptyRow) {
    Lists l;
    EXPECT_EQ(1, bottom_row_count(&l.src, ViewPrintQueue));
    EXPECT_EQ(L"(no jobs are waiting on any printer)", l.bottom(1, 0, 0));
    for (int c = 1; c < 7; c++)
        EXPECT_EQ(L"", l.bottom(1, 0, c));
    EXPECT_EQ(RowPlain, bottom_row_colour(&l.src, ViewPrintQueue, 0));
    EXPECT_EQ(RowColour{}.apply, row_colour_of(bottom_row_colour(&l.src, ViewPrintQueue, 0)).apply);

    l.printer(L"Front desk");
    JobRecord* j = snapshot_add_job(l.s);
    text_copy(j->document, _countof(j->document), L"Invoice.pdf");
    text_copy(j->userName, _countof(j->userName), L"pat");
    text_copy(j->statusText, _countof(j->statusText), L"Error, Printing");
    j->totalPages = 12;
    j->size = 1048576;
    j->ageMinutes = 150;
    JobRecord* orphan = snapshot_add_job(l.s);
    orphan->printerIndex = 9;
    ASSERT_EQ(2, bottom_row_count(&l.src, ViewPrintQueue));
    const wchar_t* row[] = {L"Front desk", L"Invoice.pdf", L"pat",    L"Error, Printing",
                            L"12",         L"1.0 MB",      L"2 hours"};
    for (int c = 0; c < 7; c++)
        EXPECT_EQ(row[c], l.bottom(1, 0, c)) << c;
    EXPECT_EQ(L"", l.bottom(1, 1, 0)) << "a job of a printer not in the snapshot";
    EXPECT_EQ(L"0 KB", l.bottom(1, 1, 5));
}

TEST(BottomViews, WindowsLogRowsPlaceholdersAndLevels) {
    Lists l;
    ASSERT_EQ(1, bottom_row_count(&l.src, ViewWindowsLog));
    EXPECT_EQ(L"", l.bottom(2, 0, 0));
    EXPECT_EQ(L"(Windows' print log could not be read on this PC)", l.bottom(2, 0, 3));
    l.s->adminLogRead = 1;
    EXPECT_EQ(L"(Windows has not recorded any print errors)", l.bottom(2, 0, 3));
    l.settings.readEventLog = 0;
    EXPECT_EQ(L"(reading Windows' print log is switched off on the Settings tab)", l.bottom(2, 0, 3));
    EXPECT_EQ(RowPlain, bottom_row_colour(&l.src, ViewWindowsLog, 0));

    const int levels[] = {1, 2, 3, 4};
    for (int level : levels) {
        LogEntry* e = snapshot_add_log_entry(l.s);
        e->level = level;
        e->channel = level == 4 ? 1 : 0;
        e->eventId = 372;
        text_copy(e->message, _countof(e->message), L"The document failed to print.");
    }
    ASSERT_EQ(4, bottom_row_count(&l.src, ViewWindowsLog));
    EXPECT_EQ(L"Error", l.bottom(2, 0, 1));
    EXPECT_EQ(L"Detailed", l.bottom(2, 3, 1));
    EXPECT_EQ(L"372", l.bottom(2, 0, 2));
    EXPECT_EQ(L"The document failed to print.", l.bottom(2, 0, 3));
    const RowColourName expected[] = {RowRed, RowRed, RowAmber, RowPlain};
    for (int r = 0; r < 4; r++)
        EXPECT_EQ(expected[r], bottom_row_colour(&l.src, ViewWindowsLog, r)) << r;
}

TEST(BottomViews, DriversPluralsTypeAndMissingFile) {
    Lists l;
    EXPECT_EQ(0, bottom_row_count(&l.src, ViewDrivers));
    for (int used = 0; used < 3; used++) {
        DriverRecord* d = snapshot_add_driver(l.s);
        d->printerCount = used;
        d->version = 3 + used % 2;
        d->language = LanguagePcl6;
        text_copy(d->driverPath, _countof(d->driverPath), L"C:\\drv\\unidrv.dll");
    }
    l.s->drivers[1].fileMissing = 1;
    EXPECT_EQ(L"not used", l.bottom(3, 0, 7));
    EXPECT_EQ(L"1 printer", l.bottom(3, 1, 7));
    EXPECT_EQ(L"2 printers", l.bottom(3, 2, 7));
    EXPECT_EQ(L"Type 3", l.bottom(3, 0, 5));
    EXPECT_EQ(L"Type 4", l.bottom(3, 1, 5));
    EXPECT_EQ(L"PCL 6", l.bottom(3, 0, 2));
    EXPECT_EQ(L"C:\\drv\\unidrv.dll", l.bottom(3, 0, 8));
    EXPECT_EQ(L"MISSING: C:\\drv\\unidrv.dll", l.bottom(3, 1, 8));
    EXPECT_EQ(RowPlain, bottom_row_colour(&l.src, ViewDrivers, 0));
}

TEST(BottomViews, NetworkPrintersPlaceholdersCellsAndColours) {
    Lists l;
    ASSERT_EQ(1, bottom_row_count(&l.src, ViewNetworkPrinters));
    EXPECT_EQ(L"(click Find Printers on the Home tab to search the network)", l.bottom(4, 0, 3));
    EXPECT_EQ(L"", l.bottom(4, 0, 0));
    l.src.searchRunning = 1;
    EXPECT_EQ(L"(searching the network…)", l.bottom(4, 0, 3));
    NetworkSearchResult* r = l.make_search();
    r->addressesSwept = 254;
    text_copy(r->rangesText, _countof(r->rangesText), L"192.168.1.0/24");
    EXPECT_EQ(L"(searching the network…)", l.bottom(4, 0, 3)) << "a running search hides the old result";
    l.src.searchRunning = 0;
    EXPECT_EQ(L"(no printers answered among 254 addresses: 192.168.1.0/24)", l.bottom(4, 0, 3));
    EXPECT_EQ(RowPlain, bottom_row_colour(&l.src, ViewNetworkPrinters, 0));

    FoundPrinter* a = l.found(L"192.168.1.20", L"AA-BB-CC-DD-EE-FF");
    text_copy(a->sysName, _countof(a->sysName), L"SYS");
    text_copy(a->description, _countof(a->description), L"Description");
    a->ports = FoundPort9100 | FoundPort515 | FoundPort631;
    FoundPrinter* b = l.found(L"192.168.1.2");
    text_copy(b->hostName, _countof(b->hostName), L"host");
    text_copy(b->model, _countof(b->model), L"Model");
    text_copy(b->installedAs, _countof(b->installedAs), L"Front desk");
    b->ports = FoundPort631;
    l.found(L"192.168.1.3")->ports = FoundPort515;
    ASSERT_EQ(3, bottom_row_count(&l.src, ViewNetworkPrinters));
    const wchar_t* row[] = {L"192.168.1.20", L"AA-BB-CC-DD-EE-FF",         L"SYS", L"Description", L"",
                            L"9100 515 631", L"(not installed on this PC)"};
    for (int c = 0; c < 7; c++)
        EXPECT_EQ(row[c], l.bottom(4, 0, c)) << c;
    EXPECT_EQ(L"host", l.bottom(4, 1, 2));
    EXPECT_EQ(L"Model", l.bottom(4, 1, 3));
    EXPECT_EQ(L"631", l.bottom(4, 1, 5));
    EXPECT_EQ(L"515 ", l.bottom(4, 2, 5));
    EXPECT_EQ(L"Front desk", l.bottom(4, 1, 6));

    EXPECT_EQ(RowPlain, bottom_row_colour(&l.src, ViewNetworkPrinters, 0));
    EXPECT_EQ(RowGreen, bottom_row_colour(&l.src, ViewNetworkPrinters, 1));
    l.finding(SeverityProblem, 0, L"Moved", SearchNetwork, L"192.168.1.2");
    EXPECT_EQ(RowGreen, bottom_row_colour(&l.src, ViewNetworkPrinters, 1))
        << "only the new-address fix counts";
    l.finding(SeverityProblem, 0, L"Moved", PointToNewAddress, L"Front desk|192.168.1.20");
    EXPECT_EQ(RowAmber, bottom_row_colour(&l.src, ViewNetworkPrinters, 0));
    EXPECT_EQ(RowAmber, bottom_row_colour(&l.src, ViewNetworkPrinters, 1)) << "a substring of the subject";
    EXPECT_EQ(RowPlain, bottom_row_colour(&l.src, ViewNetworkPrinters, 2));
    EXPECT_EQ(RowPlain, bottom_row_colour(&l.src, ViewNetworkPrinters, 3));
    l.src.snapshot = nullptr;
    EXPECT_EQ(RowPlain, bottom_row_colour(&l.src, ViewNetworkPrinters, 0)) << "no colours without a snapshot";
}

TEST(RowColours, Table) {
    EXPECT_EQ(0, row_colour_of(RowPlain).apply);
    const struct {
        RowColourName name;
        uint32_t text;
        int hasBack;
        uint32_t back;
    } rows[] = {{RowRed, 0x000000AA, 1, 0x00EEEBFF},
                {RowAmber, 0x0000468C, 1, 0x00E0F3FF},
                {RowBlue, 0x00A1470D, 1, 0x00FEF0E8},
                {RowGreen, 0x00327D2E, 0, 0},
                {RowGray, 0x00787878, 0, 0}};
    for (auto& r : rows) {
        RowColour c = row_colour_of(r.name);
        EXPECT_EQ(1, c.apply);
        EXPECT_EQ(r.text, c.text) << r.name;
        EXPECT_EQ(r.hasBack, c.hasBack) << r.name;
        if (r.hasBack) {
            EXPECT_EQ(r.back, c.back) << r.name;
        }
    }
}

TEST(DemoOffice, SevenPrintersFourteenFindingsAndARedBanner) {
    const LocalTime now = {2026, 12, 3, 9, 14, 5, 6, 0};
    Lists l;
    build_demo_snapshot(l.s, &now, 134412912000000000ull);
    build_demo_search_result(l.make_search(), &now);
    DiagnosisInput in = {l.s, l.search.get(), &l.settings, 1};
    diagnose_at(&in, l.findings.get(), 134412912000000000ull);
    l.src.demo = 1;
    ASSERT_EQ(7, printer_row_count(&l.src));
    ASSERT_EQ(14, bottom_row_count(&l.src, ViewProblems));
    BannerColour c;
    EXPECT_EQ(
        L"8 problems and 2 heads-ups.  Most serious: Parts Counter - Lexmark MS621 — Nothing answers at the "
        L"printer's address   [DEMO DATA — not this PC]",
        l.verdict(&c));
    EXPECT_EQ(BannerRed, c);
    EXPECT_EQ(L"Not checked", l.cell(6, 1));
    EXPECT_EQ(RowGray, printer_row_colour(&l.src, 6));
    EXPECT_EQ(RowRed, printer_row_colour(&l.src, 4));
    EXPECT_EQ(L"2:05:06 PM", l.status().substr(11, 10));
}

TEST(BadInput, EveryCapacityFilledNothingOverflows) {
    Lists l;
    std::wstring long_name(259, L'N');
    for (int i = 0; i < kMaxPrinters + 2; i++) {
        PrinterRecord* p = snapshot_add_printer(l.s);
        if (!p) break;
        text_copy(p->name, _countof(p->name), long_name.c_str());
        p->isDefault = 1;
        text_copy(p->address, _countof(p->address), std::wstring(199, L'h').c_str());
        text_copy(p->knownMac, _countof(p->knownMac), std::wstring(23, L'M').c_str());
    }
    for (int i = 0; i < kMaxFindings + 5; i++)
        l.finding(SeverityProblem, i % kMaxPrinters, std::wstring(219, L'T').c_str(), PointToNewAddress,
                  std::wstring(259, L'1').c_str());
    NetworkSearchResult* r = l.make_search();
    for (int i = 0; i < kMaxFoundPrinters; i++)
        l.found(L"111.111.111.111");
    r->count = kMaxFoundPrinters + 50; // a corrupt count is clamped
    text_copy(r->rangesText, _countof(r->rangesText), std::wstring(399, L'r').c_str());
    for (int i = 0; i < kMaxLogEntries; i++) {
        LogEntry* e = snapshot_add_log_entry(l.s);
        text_copy(e->message, _countof(e->message), std::wstring(599, L'm').c_str());
    }
    l.s->jobCount = 5000;

    ASSERT_EQ(kMaxPrinters, printer_row_count(&l.src));
    ASSERT_EQ(kMaxFindings, bottom_row_count(&l.src, ViewProblems));
    ASSERT_EQ(kMaxFoundPrinters, bottom_row_count(&l.src, ViewNetworkPrinters));
    ASSERT_EQ(kMaxJobs, bottom_row_count(&l.src, ViewPrintQueue));
    EXPECT_EQ(259u + 12u, l.cell(63, 0).size());
    EXPECT_EQ(L"MMMMMMMMMMMMMMMMMMMMMMM (last seen)", l.cell(63, 6));

    // A buffer far larger than a cell still gets at most 699 characters, and nothing past its end.
    static wchar_t big[2000];
    wmemset(big, L'#', _countof(big));
    std::wstring long_cell(5000, L'x');
    text_copy(l.s->printers[0].headline, _countof(l.s->printers[0].headline), long_cell.c_str());
    LogEntry* e = &l.s->logEntries[0];
    text_copy(e->message, _countof(e->message), long_cell.c_str());
    bottom_cell(&l.src, ViewWindowsLog, 0, 3, big, 1500);
    EXPECT_EQ(599u, wcslen(big));
    EXPECT_EQ(L'#', big[1500]);
    for (int view = 0; view < 5; view++)
        for (int row = -1; row <= 260; row += 13)
            for (int c = -1; c <= 13; c++) {
                wmemset(big, L'#', _countof(big));
                bottom_cell(&l.src, view, row, c, big, 1500);
                EXPECT_LE(wcslen(big), 699u);
                printer_cell(&l.src, row, c, big, 1500);
                EXPECT_LE(wcslen(big), 699u);
                EXPECT_EQ(L'#', big[1500]);
                wchar_t tiny[4] = {L'#', L'#', L'#', L'#'};
                printer_cell(&l.src, row, c, tiny, 3);
                bottom_cell(&l.src, view, row, c, tiny, 3);
                EXPECT_LE(wcslen(tiny), 2u);
                EXPECT_EQ(L'#', tiny[3]);
                (void)bottom_row_colour(&l.src, view, row);
                (void)printer_row_colour(&l.src, row);
            }
    r->count = 0;
    EXPECT_EQ(L"(no printers answered among 0 addresses: " + std::wstring(399, L'r') + L")",
              l.bottom(ViewNetworkPrinters, 0, 3));

    // A title that lost its terminator runs on into the explanation behind it: the cell and the
    // banner stop at 699 characters all the same.
    Finding* f = &l.findings->items[0];
    wmemset(f->title, L'T', _countof(f->title));
    text_copy(f->text, _countof(f->text), std::wstring(1099, L'x').c_str());
    wmemset(big, L'#', _countof(big));
    bottom_cell(&l.src, ViewProblems, 0, 2, big, 1500);
    EXPECT_EQ(699u, wcslen(big));
    wchar_t banner[800];
    wmemset(banner, L'#', _countof(banner));
    l.src.demo = 1;
    verdict_of(&l.src, banner, _countof(banner));
    EXPECT_EQ(699u, wcslen(banner));
    verdict_of(&l.src, banner, 10);
    EXPECT_EQ(L"240 probl", std::wstring(banner));
    wchar_t line[10];
    status_line_of(&l.src, line, _countof(line));
    EXPECT_EQ(9u, wcslen(line));
    verdict_of(nullptr, banner, _countof(banner));
    status_line_of(nullptr, line, _countof(line));
    EXPECT_EQ(0, bottom_row_count(nullptr, 0));
    EXPECT_EQ(0, printer_row_count(nullptr));
}

// The bottom views' placeholder rows and colour rules, and input at every capacity.
#include "lists_fixture.h"

TEST(BottomViews, PlaceholderRowsWhenThereIsNothingToShow) {
    Lists l;
    EXPECT_EQ(0, bottom_row_count(&l.src, ViewProblems));
    EXPECT_EQ(0, bottom_row_count(&l.src, ViewDrivers));
    ASSERT_EQ(1, bottom_row_count(&l.src, ViewPrintQueue));
    EXPECT_EQ(L"(no jobs are waiting on any printer)", l.bottom(1, 0, 0));
    EXPECT_EQ(L"", l.bottom(1, 0, 5)) << "no size for the placeholder";
    EXPECT_EQ(RowPlain, bottom_row_colour(&l.src, ViewPrintQueue, 0));

    ASSERT_EQ(1, bottom_row_count(&l.src, ViewWindowsLog));
    EXPECT_EQ(L"(Windows' print log could not be read on this PC)", l.bottom(2, 0, 3));
    l.s->adminLogRead = 1;
    EXPECT_EQ(L"(Windows has not recorded any print errors)", l.bottom(2, 0, 3));
    l.settings.readEventLog = 0;
    EXPECT_EQ(L"(reading Windows' print log is switched off on the Settings tab)", l.bottom(2, 0, 3));

    ASSERT_EQ(1, bottom_row_count(&l.src, ViewNetworkPrinters));
    EXPECT_EQ(L"(click Find Printers on the Home tab to search the network)", l.bottom(4, 0, 3));
    l.src.searchRunning = 1;
    NetworkSearchResult* r = l.make_search();
    r->addressesSwept = 254;
    text_copy(r->rangesText, _countof(r->rangesText), L"192.168.1.0/24");
    EXPECT_EQ(L"(searching the network…)", l.bottom(4, 0, 3)) << "a running search hides the old result";
    l.src.searchRunning = 0;
    EXPECT_EQ(L"(no printers answered among 254 addresses: 192.168.1.0/24)", l.bottom(4, 0, 3));
    EXPECT_EQ(RowPlain, bottom_row_colour(&l.src, ViewNetworkPrinters, 0));
}

TEST(BottomViews, JobOfAnUnknownPrinterAndMissingDriverFile) {
    Lists l;
    JobRecord* orphan = snapshot_add_job(l.s);
    orphan->printerIndex = 9;
    EXPECT_EQ(L"", l.bottom(1, 0, 0)) << "a job of a printer not in the snapshot";
    EXPECT_EQ(L"0 KB", l.bottom(1, 0, 5));
    DriverRecord* d = snapshot_add_driver(l.s);
    text_copy(d->driverPath, _countof(d->driverPath), L"C:\\drv\\unidrv.dll");
    d->fileMissing = 1;
    EXPECT_EQ(L"MISSING: C:\\drv\\unidrv.dll", l.bottom(3, 0, 8));
}

TEST(BottomViews, NetworkPrinterColoursFollowInstallsAndTheNewAddressFix) {
    Lists l;
    l.found(L"192.168.1.20")->ports = FoundPort9100 | FoundPort515 | FoundPort631;
    FoundPrinter* installed = l.found(L"192.168.1.2");
    text_copy(installed->installedAs, _countof(installed->installedAs), L"Front desk");
    l.found(L"192.168.1.3")->ports = FoundPort515;
    ASSERT_EQ(3, bottom_row_count(&l.src, ViewNetworkPrinters));
    EXPECT_EQ(L"9100 515 631", l.bottom(4, 0, 5));
    EXPECT_EQ(L"(not installed on this PC)", l.bottom(4, 0, 6));
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

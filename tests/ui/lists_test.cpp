// The printer list, the bottom views, the verdict banner and the status line as plain functions,
// fed a made-up snapshot: the cell pieces' edges, the address, MAC and host-name rules, each verdict
// colour, the placeholder rows and colour rules, and input at every capacity.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/text.h"
#include "ui/lists.h"

namespace {
struct Lists {
    Snapshot* s = snapshot_new();
    std::unique_ptr<FindingList> findings{new FindingList()};
    std::unique_ptr<NetworkSearchResult> search;
    Settings settings;
    ListSource src = {};

    Lists() {
        settings_defaults(&settings);
        s->spoolerState = 4;
        src.snapshot = s;
        src.findings = findings.get();
        src.settings = &settings;
    }
    ~Lists() { snapshot_free(s); }
    Lists(const Lists&) = delete;
    Lists& operator=(const Lists&) = delete;

    PrinterRecord* printer(const wchar_t* name, const wchar_t* address = L"") {
        PrinterRecord* p = snapshot_add_printer(s);
        text_copy(p->name, _countof(p->name), name);
        text_copy(p->address, _countof(p->address), address);
        return p;
    }

    NetworkSearchResult* make_search() {
        if (!search) search.reset(new NetworkSearchResult());
        src.search = search.get();
        return search.get();
    }

    FoundPrinter* found(const wchar_t* ip, const wchar_t* mac = L"") {
        NetworkSearchResult* r = make_search();
        FoundPrinter* f = &r->printers[r->count++];
        text_copy(f->ip, _countof(f->ip), ip);
        text_copy(f->mac, _countof(f->mac), mac);
        return f;
    }

    void finding(Severity severity, int32_t printer_index, const wchar_t* title, FixKind fix = NoFix,
                 const wchar_t* subject = L"") {
        add_finding_to(findings.get(), L"test-rule", severity, printer_index, fix, subject, title, L"");
    }

    std::wstring cell(int row, int column) {
        wchar_t out[kCellCapacity];
        printer_cell(&src, row, column, out, _countof(out));
        return out;
    }
    std::wstring bottom(int view, int row, int column) {
        wchar_t out[kCellCapacity];
        bottom_cell(&src, view, row, column, out, _countof(out));
        return out;
    }
    std::wstring verdict(BannerColour* colour = nullptr) {
        wchar_t out[800];
        BannerColour c = verdict_of(&src, out, _countof(out));
        if (colour) *colour = c;
        return out;
    }
};

// A cell piece's text: f(value, out, capacity).
template <typename F, typename V> std::wstring piece(F f, V value) {
    wchar_t out[32];
    f(value, out, _countof(out));
    return out;
}
std::wstring job_size(int32_t bytes) {
    return piece(job_size_text, bytes);
}
std::wstring clock(uint16_t h, uint16_t m, uint16_t sec) {
    LocalTime t = {2026, 12, 3, 9, h, m, sec, 0};
    return piece(clock_text, &t);
}
} // namespace

TEST(CellPieces, SizeWaitingAndClockEdges) {
    EXPECT_EQ(L"0 KB", job_size(0));
    EXPECT_EQ(L"1 KB", job_size(1024));
    EXPECT_EQ(L"2 KB", job_size(1025));
    EXPECT_EQ(L"1024 KB", job_size(1048575));
    EXPECT_EQ(L"1.0 MB", job_size(1048576));
    EXPECT_EQ(L"1.3 MB", job_size(1310720)) << "an exact half rounds up, like the C runtime's %.1f";
    EXPECT_EQ(L"10.0 MB", job_size(10485759));
    EXPECT_EQ(L"4096.0 MB", job_size(-1)) << "the size is read as unsigned";
    EXPECT_EQ(L"just now", piece(waiting_text, -5));
    EXPECT_EQ(L"119 min", piece(waiting_text, 119));
    EXPECT_EQ(L"2 hours", piece(waiting_text, 120));
    EXPECT_EQ(L"2 hours", piece(waiting_text, 179));
    EXPECT_EQ(L"12:05:09 AM", clock(0, 5, 9));
    EXPECT_EQ(L"12:00:00 PM", clock(12, 0, 0));
    EXPECT_EQ(L"11:59:59 AM", clock(11, 59, 59));
    EXPECT_EQ(L"1:02:03 PM", clock(13, 2, 3));
}

TEST(PrinterList, VirtualPrinterIsGrayAndNotCheckedUntilCheckVirtual) {
    Lists l;
    PrinterRecord* p = l.printer(L"Microsoft Print to PDF");
    p->isVirtual = 1;
    p->worstSeverity = SeverityProblem;
    EXPECT_EQ(L"Not checked", l.cell(0, 1));
    EXPECT_EQ(RowGray, printer_row_colour(&l.src, 0));
    l.settings.checkVirtual = 1;
    EXPECT_EQ(L"PROBLEM", l.cell(0, 1));
    EXPECT_EQ(RowRed, printer_row_colour(&l.src, 0));
    EXPECT_EQ(L"", l.cell(1, 0)) << "beyond the data";
}

TEST(PrinterList, AddressIsAnIpOnlyInStrictDottedDecimalElseAHostName) {
    Lists l;
    // Leading zeros and numbers above 255 are refused, as Windows does.
    const wchar_t* addresses[] = {L"10.0.0.7", L"010.0.0.7", L"10.0.0.256", L"lobby-printer.corp.local"};
    for (const wchar_t* a : addresses)
        l.printer(L"P", a);
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(i == 0 ? addresses[0] : L"", l.cell(i, 5)) << i;
        EXPECT_EQ(i == 0 ? L"" : addresses[i], l.cell(i, 7)) << i;
    }
    PrinterRecord* p = &l.s->printers[3];
    p->net.tested = 1;
    p->net.resolved = 1;
    text_copy(p->net.ipText, _countof(p->net.ipText), L"192.168.1.40");
    text_copy(p->net.hostName, _countof(p->net.hostName), L"other-name");
    EXPECT_EQ(L"192.168.1.40", l.cell(3, 5));
    EXPECT_EQ(L"lobby-printer.corp.local", l.cell(3, 7)) << "the port's own name comes first";
}

TEST(PrinterList, MacAndHostNameFallBackThroughSearchAndMemory) {
    Lists l;
    PrinterRecord* p = l.printer(L"Remembered", L"10.0.0.5");
    text_copy(p->knownMac, _countof(p->knownMac), L"00-11-22-33-44-55");
    EXPECT_EQ(L"00-11-22-33-44-55 (last seen)", l.cell(0, 6));
    EXPECT_EQ(L"", l.cell(0, 7));

    l.found(L"10.0.0.5", L"AA-AA-AA-AA-AA-01");
    FoundPrinter* last = l.found(L"10.0.0.5", L"");
    text_copy(last->sysName, _countof(last->sysName), L"found-sys");
    EXPECT_EQ(L"00-11-22-33-44-55 (last seen)", l.cell(0, 6)) << "the last match counts, and it has no MAC";
    EXPECT_EQ(L"found-sys", l.cell(0, 7));
    text_copy(p->net.sysName, _countof(p->net.sysName), L"net-sys");
    EXPECT_EQ(L"net-sys", l.cell(0, 7));
    text_copy(last->hostName, _countof(last->hostName), L"found-host");
    EXPECT_EQ(L"found-host", l.cell(0, 7));
    text_copy(last->mac, _countof(last->mac), L"AA-AA-AA-AA-AA-02");
    EXPECT_EQ(L"AA-AA-AA-AA-AA-02", l.cell(0, 6));
    text_copy(p->net.mac, _countof(p->net.mac), L"AA-AA-AA-AA-AA-03");
    text_copy(p->net.hostName, _countof(p->net.hostName), L"net-host");
    EXPECT_EQ(L"AA-AA-AA-AA-AA-03", l.cell(0, 6));
    EXPECT_EQ(L"net-host", l.cell(0, 7));

    text_copy(p->address, _countof(p->address), L"");
    p->net.hostName[0] = 0;
    EXPECT_EQ(L"net-sys", l.cell(0, 7)) << "without an IP there is no match";
}

TEST(Banner, EachVerdictAndColour) {
    Lists l;
    BannerColour c;
    l.src.snapshot = nullptr;
    l.verdict(&c);
    EXPECT_EQ(BannerGray, c);
    l.src.snapshot = l.s;
    l.verdict(&c);
    EXPECT_EQ(BannerBlue, c);
    l.printer(L"Front desk");
    l.printer(L"Back office");
    l.finding(SeverityNote, 0, L"Just a note");
    EXPECT_EQ(L"No problems found. 2 printers checked, Print Spooler running.", l.verdict(&c));
    EXPECT_EQ(BannerGreen, c);
    l.finding(SeverityHeadsUp, 1, L"Drifting");
    EXPECT_EQ(L"No problems, but 1 heads-up.  Most serious: Back office — Drifting", l.verdict(&c));
    EXPECT_EQ(BannerAmber, c);
    l.finding(SeverityProblem, 0, L"Jammed");
    EXPECT_EQ(L"1 problem and 1 heads-up.  Most serious: Back office — Drifting", l.verdict(&c))
        << "the first serious finding in list order";
    EXPECT_EQ(BannerRed, c);
    l.findings->count = 0;
    l.finding(SeverityProblem, -1, L"Spooler stopped");
    l.finding(SeverityProblem, 0, L"Jammed");
    l.src.demo = 1;
    EXPECT_EQ(L"2 problems found.  Most serious: Spooler stopped   [DEMO DATA — not this PC]", l.verdict(&c));
}

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

// The status line counts what the snapshot had no room for, and names a refused scan range.
TEST(StatusLine, SaysHowManyWereShownAndARefusedRange) {
    Lists l;
    l.printer(L"P");
    l.s->printerCount = kMaxPrinters;
    l.s->printersLeftOut = 4;
    l.s->jobCount = kMaxJobs;
    l.s->jobsLeftOut = 30;
    l.s->driverCount = kMaxDrivers;
    l.s->driversLeftOut = 1;
    l.src.scanRange = L"127.0.0.0/-1";
    wchar_t line[kCellCapacity];
    status_line_of(&l.src, line, _countof(line));
    const std::wstring t = line;
    EXPECT_NE(std::wstring::npos,
              t.find(L"   \x2022   64 of 68 printers shown   \x2022   150 of 151 drivers shown   "
                     L"\x2022   200 of 230 waiting jobs shown   "))
        << line;
    EXPECT_NE(
        std::wstring::npos,
        t.find(L"   \x2022   The scan range \"127.0.0.0/-1\" was refused: \"-1\" is not a prefix length"));
}

TEST(RowColours, ASelectedRowKeepsItsSeverityAndStaysReadable) {
    const uint32_t highlight = 0xD77800; // Windows 10's default highlight, 0x00BBGGRR
    for (RowColourName name : {RowRed, RowAmber, RowBlue, RowGreen, RowGray, RowPlain}) {
        const RowColour row = row_colour_of(name);
        const RowColour selected = selected_row_colour(row, highlight);
        ASSERT_TRUE(selected.apply && selected.hasBack) << name;
        // The severity's hue stays: each channel keeps its share of the brightest one.
        const uint32_t own = row.apply ? row.text : 0u;
        auto ch = [](uint32_t c, int i) { return (int)((c >> (8 * i)) & 0xFF); };
        for (int i = 0; i < 3; i++)
            EXPECT_NEAR(ch(own, i) * ch(selected.text, 0), ch(selected.text, i) * ch(own, 0), 3 * 255)
                << name;
        const uint32_t unselected_back = row.apply && row.hasBack ? row.back : 0xFFFFFF;
        EXPECT_NE(unselected_back, selected.back) << "a selected row looks selected: " << name;
        EXPECT_GE(contrast_ratio(selected.text, selected.back), 4.5) << name;
    }
}

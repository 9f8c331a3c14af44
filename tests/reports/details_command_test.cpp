// The Details command's choice for every view and selection, and Save Report's names at their edges.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/settings.h"
#include "reports/details_command.h"

namespace {
struct Selection {
    Snapshot* s = snapshot_new();
    std::unique_ptr<FindingList> findings{new FindingList()};
    std::unique_ptr<NetworkSearchResult> search{new NetworkSearchResult()};
    Selection() {
        snapshot_add_printer(s);
        snapshot_add_printer(s);
        s->logCount = 2;
        findings->count = 2;
        findings->items[0].printerIndex = -1; // about this PC
        findings->items[1].printerIndex = 1;
        search->count = 3;
    }
    ~Selection() { snapshot_free(s); }
    DetailsChoice choose(int view, int row, int printer, bool searched = true) {
        return choose_details(s, findings.get(), searched ? search.get() : nullptr, view, row, printer);
    }
};

void expect_choice(DetailsShow show, int index, DetailsChoice c) {
    EXPECT_EQ(show, c.show);
    EXPECT_EQ(index, c.index);
}

} // namespace

TEST(DetailsChoice, EveryViewAndSelection) {
    Selection sel;
    expect_choice(DetailsNothing, -1, choose_details(nullptr, nullptr, nullptr, ViewProblems, 0, 0));
    // Problems: a finding about the whole PC opens Fix This; one about a printer shows that printer.
    expect_choice(DetailsFixThis, 0, sel.choose(ViewProblems, 0, -1));
    expect_choice(DetailsPrinter, 1, sel.choose(ViewProblems, 1, 1));
    // Network Printers: a row inside the result; without a result, or outside it, the printer.
    expect_choice(DetailsFoundPrinter, 2, sel.choose(ViewNetworkPrinters, 2, -1));
    expect_choice(DetailsPrinter, 0, sel.choose(ViewNetworkPrinters, 3, 0));
    expect_choice(DetailsPrinter, -1, sel.choose(ViewNetworkPrinters, 0, -1, false));
    // Windows Log: a row inside the log.
    expect_choice(DetailsLogEntry, 1, sel.choose(ViewWindowsLog, 1, -1));
    expect_choice(DetailsPrinter, -1, sel.choose(ViewWindowsLog, 2, -1));
    // Drivers and Print Queue show the selected printer (a selected job already names its printer).
    expect_choice(DetailsPrinter, 1, sel.choose(ViewPrintQueue, 0, 1));
    expect_choice(DetailsPrinter, 0, sel.choose(ViewDrivers, 0, 0));
    // The printer list was used last: no bottom row, the printer list's row.
    expect_choice(DetailsPrinter, 1, sel.choose(ViewNetworkPrinters, -1, 1));
    expect_choice(DetailsPrinter, -1, sel.choose(ViewProblems, -1, -1)); // nothing selected: ask for one
    expect_choice(DetailsPrinter, -1, sel.choose(ViewProblems, -1, 5));  // a stale index is no printer
}

TEST(SaveReportNames, NoComputerNameAndAPathTooLong) {
    wchar_t buf[400];
    report_file_name(L"", 2026, 12, 31, buf, _countof(buf));
    EXPECT_STREQ(L"Vantrel-PC-2026-12-31.txt", buf);
    std::wstring long_path(400, L'p');
    report_saved_status(long_path.c_str(), buf, _countof(buf));
    EXPECT_EQ(319u, wcslen(buf));
}

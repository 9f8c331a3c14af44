// The Details command's choice for every view and selection, the log-entry and found-printer texts,
// and the names Save Report uses.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/settings.h"
#include "core/text.h"
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

std::wstring found_text(const FoundPrinter& f) {
    std::wstring buf(4000, L'#');
    found_printer_text(&f, &buf[0], buf.size());
    return buf.c_str();
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

TEST(DetailsText, LogEntry) {
    LogEntry e = {};
    text_copy(e.timeText, _countof(e.timeText), L"03/14/2026 9:05 AM");
    e.eventId = 372;
    text_copy(e.message, _countof(e.message), L"The document could not be printed.");
    wchar_t buf[2000];
    log_entry_text(&e, buf, _countof(buf));
    EXPECT_STREQ(
        L"Windows print log entry\n\nWhen: 03/14/2026 9:05 AM\nLog: error log (PrintService/Admin)\nEvent "
        L"number: 372\n\nThe document could not be printed.\n\nTip: searching the web for \"PrintService "
        L"event 372\" usually finds what it means.",
        buf);
    e.channel = 1;
    log_entry_text(&e, buf, _countof(buf));
    EXPECT_NE(nullptr, wcsstr(buf, L"\nLog: detailed log (PrintService/Operational)\n"));
}

TEST(DetailsText, FoundPrinterWithEverything) {
    FoundPrinter f = {};
    text_copy(f.ip, _countof(f.ip), L"192.168.10.41");
    text_copy(f.mac, _countof(f.mac), L"00-21-B7-4C-19-AA");
    text_copy(f.hostName, _countof(f.hostName), L"npi4c19aa.office");
    text_copy(f.sysName, _countof(f.sysName), L"NPI4C19AA");
    text_copy(f.model, _countof(f.model), L"HP LaserJet Pro M404dn");
    text_copy(f.description, _countof(f.description), L"HP ETHERNET MULTI-ENVIRONMENT");
    text_copy(f.serial, _countof(f.serial), L"PHBBK12345");
    text_copy(f.installedAs, _countof(f.installedAs), L"Service Drive");
    f.ports = FoundPort9100 | FoundPort515 | FoundPort631;
    f.pageCount = 48211;
    EXPECT_EQ(
        L"Found on the network\n\nIP address: 192.168.10.41\nMAC address: 00-21-B7-4C-19-AA\nHost name: "
        L"npi4c19aa.office\nIts own name: NPI4C19AA\nModel: HP LaserJet Pro M404dn\nDescription: HP "
        L"ETHERNET MULTI-ENVIRONMENT\nSerial number: PHBBK12345\nPrint ports open: 9100 515 631\nLifetime "
        L"pages: 48211\nInstalled on this PC as: Service Drive\n\nTo add it to this PC: Tools \x2192 Add a "
        L"Printer \x2192 \"The printer that I want isn't listed\" \x2192 \"Add a printer using an IP address "
        L"or hostname\", and type 192.168.10.41 (copied for you \x2014 paste with Ctrl+V).\n\nOpen its web "
        L"page now?",
        found_text(f));
}

TEST(DetailsText, FoundPrinterThatDidNotAnswerSnmp) {
    FoundPrinter f = {};
    text_copy(f.ip, _countof(f.ip), L"10.0.0.7");
    f.ports = FoundPort631;
    f.pageCount = -1;
    std::wstring text = found_text(f);
    EXPECT_NE(
        std::wstring::npos,
        text.find(L"IP address: 10.0.0.7\nMAC address: not known\nHost name: none in DNS\nIts own name: not "
                  L"reported\nModel: not reported\nDescription: not reported\nSerial number: not reported\n"
                  L"Print ports open: 631\nLifetime pages: not reported\nInstalled on this PC as: not "
                  L"installed\n"))
        << text;
    f.pageCount = 0;
    f.ports = FoundPort9100;
    text = found_text(f);
    EXPECT_NE(std::wstring::npos, text.find(L"\nLifetime pages: 0\n"));
    EXPECT_NE(std::wstring::npos, text.find(L"\nPrint ports open: 9100 \n"));
}

TEST(SaveReportNames, FileNameAndStatusLine) {
    wchar_t buf[400];
    report_file_name(L"FRONTDESK", 2026, 3, 4, buf, _countof(buf));
    EXPECT_STREQ(L"Vantrel-FRONTDESK-2026-03-04.txt", buf);
    report_file_name(L"", 2026, 12, 31, buf, _countof(buf));
    EXPECT_STREQ(L"Vantrel-PC-2026-12-31.txt", buf);
    report_saved_status(L"C:\\Users\\me\\Desktop\\r.txt", buf, _countof(buf));
    EXPECT_STREQ(L"Report saved to C:\\Users\\me\\Desktop\\r.txt", buf);
    std::wstring long_path(400, L'p');
    report_saved_status(long_path.c_str(), buf, _countof(buf));
    EXPECT_EQ(319u, wcslen(buf));
}

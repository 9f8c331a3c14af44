// The printer list's cells and colours, the cell pieces, the verdict banner and the status line.
#include "lists_fixture.h"

#include <utility>

#include "core/classify.h"
#include "net/maker.h"

namespace {
std::wstring job_size(int32_t bytes) {
    wchar_t out[32];
    job_size_text(bytes, out, _countof(out));
    return out;
}
std::wstring waiting(int32_t minutes) {
    wchar_t out[32];
    waiting_text(minutes, out, _countof(out));
    return out;
}
std::wstring clock(uint16_t h, uint16_t m, uint16_t sec) {
    LocalTime t = {2026, 12, 3, 9, h, m, sec, 0};
    wchar_t out[32];
    clock_text(&t, out, _countof(out));
    return out;
}
} // namespace

TEST(CellPieces, JobSizesRoundUpToKilobytesThenShowTenthsOfMegabytes) {
    EXPECT_EQ(L"0 KB", job_size(0));
    EXPECT_EQ(L"1 KB", job_size(1));
    EXPECT_EQ(L"1 KB", job_size(1024));
    EXPECT_EQ(L"2 KB", job_size(1025));
    EXPECT_EQ(L"1024 KB", job_size(1048575));
    EXPECT_EQ(L"1.0 MB", job_size(1048576));
    EXPECT_EQ(L"1.5 MB", job_size(1572864));
    EXPECT_EQ(L"1.3 MB", job_size(1310720)) << "an exact half rounds up, like the C runtime's %.1f";
    EXPECT_EQ(L"10.0 MB", job_size(10485759)) << "9.99999 rounds to the next whole megabyte";
    EXPECT_EQ(L"2048.0 MB", job_size(INT32_MIN)) << "the size is read as unsigned";
    EXPECT_EQ(L"4096.0 MB", job_size(-1));
}

TEST(CellPieces, WaitingShowsMinutesThenWholeHours) {
    EXPECT_EQ(L"just now", waiting(0));
    EXPECT_EQ(L"just now", waiting(-5));
    EXPECT_EQ(L"1 min", waiting(1));
    EXPECT_EQ(L"119 min", waiting(119));
    EXPECT_EQ(L"2 hours", waiting(120));
    EXPECT_EQ(L"2 hours", waiting(179));
    EXPECT_EQ(L"3 hours", waiting(180));
}

TEST(CellPieces, ClockIsTwelveHour) {
    EXPECT_EQ(L"12:05:09 AM", clock(0, 5, 9));
    EXPECT_EQ(L"12:00:00 PM", clock(12, 0, 0));
    EXPECT_EQ(L"11:59:59 AM", clock(11, 59, 59));
    EXPECT_EQ(L"1:02:03 PM", clock(13, 2, 3));
    EXPECT_EQ(L"11:00:00 PM", clock(23, 0, 0));
}

TEST(PrinterList, NameHealthAndDriverColumns) {
    Lists l;
    PrinterRecord* p = l.printer(L"Front desk");
    p->isDefault = 1;
    p->worstSeverity = SeverityHeadsUp;
    p->jobCount = 3;
    p->kind = KindUsb;
    text_copy(p->driverName, _countof(p->driverName), L"HP Universal Printing PCL 6");
    text_copy(p->headline, _countof(p->headline), L"Something  (+1 more)");
    PrinterRecord* q = l.printer(L"Back office");
    text_copy(q->driverName, _countof(q->driverName), L"Brother HL-L2350DW series");
    DriverRecord* d = snapshot_add_driver(l.s);
    d->language = LanguagePostScript;
    text_copy(d->date, _countof(d->date), L"06/21/2006");
    text_copy(d->versionText, _countof(d->versionText), L"10.0.19041.1");
    q->driverIndex = 0;

    ASSERT_EQ(2, printer_row_count(&l.src));
    EXPECT_EQ(L"Front desk   (default)", l.cell(0, 0));
    EXPECT_EQ(L"Heads-up", l.cell(0, 1));
    EXPECT_EQ(L"Something  (+1 more)", l.cell(0, 2));
    EXPECT_EQ(L"3", l.cell(0, 3));
    EXPECT_EQ(L"USB cable", l.cell(0, 4));
    EXPECT_EQ(L"HP Universal Printing PCL 6", l.cell(0, 9));
    EXPECT_EQ(driver_language_label(classify_driver_language(p->driverName)), l.cell(0, 10))
        << "without a driver record the language comes from the driver's name";
    EXPECT_EQ(L"", l.cell(0, 11));
    EXPECT_EQ(L"", l.cell(0, 12));
    EXPECT_EQ(L"Back office", l.cell(1, 0));
    EXPECT_EQ(L"OK", l.cell(1, 1));
    EXPECT_EQ(L"PostScript", l.cell(1, 10)) << "the driver record wins over the name";
    EXPECT_EQ(L"06/21/2006", l.cell(1, 11));
    EXPECT_EQ(L"10.0.19041.1", l.cell(1, 12));
    ModelGuess guess;
    identify_model(q, &guess);
    EXPECT_EQ(guess.model, l.cell(1, 8));
    EXPECT_NE(L"", l.cell(1, 8));
    EXPECT_EQ(L"", l.cell(2, 0)) << "beyond the data";
    EXPECT_EQ(L"", l.cell(0, 13));
    EXPECT_EQ(RowAmber, printer_row_colour(&l.src, 0));
    EXPECT_EQ(RowPlain, printer_row_colour(&l.src, 1));
    EXPECT_EQ(RowPlain, printer_row_colour(&l.src, 2));
}

TEST(PrinterList, VirtualPrinterIsGrayAndNotCheckedUntilCheckVirtual) {
    Lists l;
    PrinterRecord* p = l.printer(L"Microsoft Print to PDF");
    text_copy(p->driverName, _countof(p->driverName), L"Microsoft Print To PDF");
    p->isVirtual = 1;
    p->worstSeverity = SeverityProblem;
    EXPECT_EQ(L"Not checked", l.cell(0, 1));
    EXPECT_EQ(RowGray, printer_row_colour(&l.src, 0));
    EXPECT_EQ(L"", l.cell(0, 8)) << "no model for a virtual printer";
    l.settings.checkVirtual = 1;
    EXPECT_EQ(L"PROBLEM", l.cell(0, 1));
    EXPECT_EQ(RowRed, printer_row_colour(&l.src, 0));
    EXPECT_EQ(L"", l.cell(0, 8));
}

TEST(PrinterList, AddressByHostNameShowsTheNameAndOnceResolvedTheAddress) {
    Lists l;
    PrinterRecord* p = l.printer(L"Lobby", L"lobby-printer.corp.local");
    EXPECT_EQ(L"", l.cell(0, 5));
    EXPECT_EQ(L"lobby-printer.corp.local", l.cell(0, 7));
    p->net.tested = 1;
    p->net.resolved = 1;
    text_copy(p->net.ipText, _countof(p->net.ipText), L"192.168.1.40");
    text_copy(p->net.hostName, _countof(p->net.hostName), L"other-name");
    EXPECT_EQ(L"192.168.1.40", l.cell(0, 5));
    EXPECT_EQ(L"lobby-printer.corp.local", l.cell(0, 7)) << "the port's own name comes first";
}

TEST(PrinterList, AddressIsAnIpOnlyInStrictDottedDecimal) {
    Lists l;
    l.printer(L"A", L"10.0.0.7");
    l.printer(L"B", L"010.0.0.7");
    l.printer(L"C", L"10.0.0.256");
    EXPECT_EQ(L"10.0.0.7", l.cell(0, 5));
    EXPECT_EQ(L"", l.cell(0, 7));
    EXPECT_EQ(L"", l.cell(1, 5)) << "leading zeros are refused, as Windows does";
    EXPECT_EQ(L"010.0.0.7", l.cell(1, 7));
    EXPECT_EQ(L"", l.cell(2, 5));
    EXPECT_EQ(L"10.0.0.256", l.cell(2, 7));
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

TEST(Banner, EachVerdict) {
    Lists l;
    BannerColour c;
    l.src.snapshot = nullptr;
    EXPECT_EQ(L"Checking the printers on this PC…", l.verdict(&c));
    EXPECT_EQ(BannerGray, c);
    l.src.snapshot = l.s;
    EXPECT_EQ(L"No printers are installed on this PC.", l.verdict(&c));
    EXPECT_EQ(BannerBlue, c);
    l.printer(L"Front desk");
    EXPECT_EQ(L"No problems found. 1 printer checked, Print Spooler running.", l.verdict(&c));
    EXPECT_EQ(BannerGreen, c);
    l.printer(L"Back office");
    l.finding(SeverityNote, 0, L"Just a note");
    EXPECT_EQ(L"No problems found. 2 printers checked, Print Spooler running.", l.verdict(&c));
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
    l.finding(SeverityHeadsUp, 0, L"Old driver");
    l.finding(SeverityHeadsUp, 1, L"Slow");
    EXPECT_EQ(L"2 problems and 2 heads-ups.  Most serious: Spooler stopped", l.verdict(&c));
    l.findings->count = 2;
    l.src.demo = 1;
    EXPECT_EQ(L"2 problems found.  Most serious: Spooler stopped   [DEMO DATA — not this PC]", l.verdict(&c));
    l.findings->count = 0;
    EXPECT_EQ(L"No problems found. 2 printers checked, Print Spooler running.   [DEMO DATA — not this PC]",
              l.verdict(&c));
}

TEST(Banner, Colours) {
    EXPECT_EQ(0x002828C6u, banner_rgb(BannerRed));
    EXPECT_EQ(0x000064E6u, banner_rgb(BannerAmber));
    EXPECT_EQ(0x00327D2Eu, banner_rgb(BannerGreen));
    EXPECT_EQ(0x00C06515u, banner_rgb(BannerBlue));
    EXPECT_EQ(0x00616161u, banner_rgb(BannerGray));
}

TEST(StatusLine, CountsAndWords) {
    Lists l;
    l.s->checkTime = {2026, 12, 3, 9, 0, 5, 9, 0};
    PrinterRecord* net = l.printer(L"Net", L"10.0.0.5");
    net->net.tested = 1;
    l.printer(L"Other net", L"10.0.0.6");
    l.printer(L"USB");
    PrinterRecord* pdf = l.printer(L"PDF", L"C:\\out.pdf");
    pdf->isVirtual = 1;
    pdf->net.tested = 1;
    snapshot_add_job(l.s);
    EXPECT_EQ(
        L"Checked at 12:05:09 AM   •   Print Spooler: running   •   4 printers   •   1 job waiting   •   "
        L"network printers tested: 1 of 2   •   checking again every 10 seconds",
        l.status());
    l.settings.checkVirtual = 1;
    l.settings.autoCheck = 0;
    EXPECT_NE(std::wstring::npos, l.status().find(L"tested: 2 of 3   •   automatic checking is off"));
    const std::pair<int, const wchar_t*> words[] = {
        {1, L"STOPPED"}, {0, L"unknown"}, {2, L"changing"}, {7, L"changing"}};
    for (auto& w : words) {
        l.s->spoolerState = w.first;
        EXPECT_NE(std::wstring::npos, l.status().find(std::wstring(L"Print Spooler: ") + w.second + L"   •"));
    }
    l.s->printerCount = 1;
    l.s->jobCount = 0;
    EXPECT_NE(std::wstring::npos, l.status().find(L"•   1 printer   •   0 jobs waiting"));
    l.src.snapshot = nullptr;
    EXPECT_EQ(L"", l.status());
}

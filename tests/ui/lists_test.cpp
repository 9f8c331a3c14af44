// The cell pieces' edge cases, the address, MAC and host-name rules of the printer list, and the
// verdict banner for every colour.
#include "lists_fixture.h"

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

TEST(CellPieces, SizeWaitingAndClockEdges) {
    EXPECT_EQ(L"0 KB", job_size(0));
    EXPECT_EQ(L"1 KB", job_size(1024));
    EXPECT_EQ(L"2 KB", job_size(1025));
    EXPECT_EQ(L"1024 KB", job_size(1048575));
    EXPECT_EQ(L"1.0 MB", job_size(1048576));
    EXPECT_EQ(L"1.3 MB", job_size(1310720)) << "an exact half rounds up, like the C runtime's %.1f";
    EXPECT_EQ(L"10.0 MB", job_size(10485759));
    EXPECT_EQ(L"2048.0 MB", job_size(INT32_MIN)) << "the size is read as unsigned";
    EXPECT_EQ(L"4096.0 MB", job_size(-1));
    EXPECT_EQ(L"just now", waiting(-5));
    EXPECT_EQ(L"119 min", waiting(119));
    EXPECT_EQ(L"2 hours", waiting(120));
    EXPECT_EQ(L"2 hours", waiting(179));
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
    l.printer(L"A", L"10.0.0.7");
    l.printer(L"B", L"010.0.0.7");
    l.printer(L"C", L"10.0.0.256");
    PrinterRecord* p = l.printer(L"Lobby", L"lobby-printer.corp.local");
    EXPECT_EQ(L"10.0.0.7", l.cell(0, 5));
    EXPECT_EQ(L"", l.cell(0, 7));
    EXPECT_EQ(L"", l.cell(1, 5)) << "leading zeros are refused, as Windows does";
    EXPECT_EQ(L"010.0.0.7", l.cell(1, 7));
    EXPECT_EQ(L"", l.cell(2, 5));
    EXPECT_EQ(L"10.0.0.256", l.cell(2, 7));
    EXPECT_EQ(L"", l.cell(3, 5));
    EXPECT_EQ(L"lobby-printer.corp.local", l.cell(3, 7));
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

// The verdict banner, the status line and the tooltips that explain them and the two list captions.
#include "ui/lists.h"

#include "core/text.h"
#include "net/addresses.h"
#include "reports/facts.h"
#include "ui/list_parts.h"

#define RGB_OF(r, g, b) ((uint32_t)(r) | ((uint32_t)(g) << 8) | ((uint32_t)(b) << 16))

void clock_text(const LocalTime* t, wchar_t* out, size_t cap) {
    if (!t) {
        text_copy(out, cap, L"");
        return;
    }
    int hour = t->hour % 12 == 0 ? 12 : t->hour % 12;
    text_format(out, cap, L"%d:%02d:%02d %ls", hour, (int)t->minute, (int)t->second,
                t->hour < 12 ? L"AM" : L"PM");
}

uint32_t banner_rgb(BannerColour colour) {
    switch (colour) {
    case BannerRed:
        return RGB_OF(198, 40, 40);
    case BannerAmber:
        return RGB_OF(230, 100, 0);
    case BannerGreen:
        return RGB_OF(46, 125, 50);
    case BannerBlue:
        return RGB_OF(21, 101, 192);
    default:
        return RGB_OF(97, 97, 97);
    }
}

// The banner states the same verdict as the reports, from the one computation they share.
static_assert(BannerGray == (int32_t)VerdictGray && BannerRed == (int32_t)VerdictRed &&
                  BannerAmber == (int32_t)VerdictAmber && BannerGreen == (int32_t)VerdictGreen &&
                  BannerBlue == (int32_t)VerdictBlue,
              "the banner's colours are the verdict's");

BannerColour verdict_of(const ListSource* src, wchar_t* out, size_t cap) {
    Verdict verdict;
    verdict_of_records(src ? src->snapshot : nullptr, src ? src->findings : nullptr, src ? src->demo : 0,
                       &verdict);
    text_copy(out, cap, verdict.text);
    return (BannerColour)verdict.colour;
}

// The status line says "changing" where the report says "changing state"; the rest is the report's.
static const wchar_t* spooler_word(int32_t state) {
    return state == 4 || state == 1 || state == 0 ? spooler_state_text(state) : L"changing";
}

void status_line_of(const ListSource* src, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    out[0] = 0;
    const Snapshot* s = src ? src->snapshot : nullptr;
    if (!s) return;
    const Settings* settings = list_settings(src);
    int32_t tested = 0, networked = 0;
    for (int32_t i = 0; i < printer_row_count(src); i++) {
        const PrinterRecord* p = &s->printers[i];
        if (!p->address[0] || list_hidden_virtual(src, p)) continue;
        networked++;
        tested += p->net.tested ? 1 : 0;
    }
    wchar_t clock[40], line[kCellCapacity], printers[80], jobs[80], drivers[90] = L"";
    clock_text(&s->checkTime, clock, _countof(clock));
    shown_count_text(s->printerCount, s->printersLeftOut, L"printer", L"printers", L"printers", printers,
                     _countof(printers));
    shown_count_text(s->jobCount, s->jobsLeftOut, L"job waiting", L"jobs waiting", L"waiting jobs", jobs,
                     _countof(jobs));
    if (s->driversLeftOut > 0) { // said only when some were left out: the line names no drivers otherwise
        wchar_t shown[80];
        shown_count_text(s->driverCount, s->driversLeftOut, L"driver", L"drivers", L"drivers", shown,
                         _countof(shown));
        text_format(drivers, _countof(drivers), L"   •   %ls", shown);
    }
    text_format(line, _countof(line),
                L"Checked at %ls   •   Print Spooler: %ls   •   %ls%ls   •   %ls   •   "
                L"network printers tested: %d of %d%ls",
                clock, spooler_word(s->spoolerState), printers, drivers, jobs, tested, networked,
                src->demo ? L"   •   demonstration data: checked again only when you click Check Now"
                : settings->autoCheck ? L"   •   checking again every 10 seconds"
                                      : L"   •   automatic checking is off");
    wchar_t refused[200];
    if (scan_range_refusal(src->scanRange, refused, _countof(refused)))
        text_append(line, _countof(line), L"   •   %ls", refused);
    text_copy(out, cap, line);
}

// The tooltips of the banner and of the two list captions.
const wchar_t* const kBannerTooltip =
    L"The overall verdict.\n\nRED: at least one PROBLEM — something is stopping printing right now. The "
    L"banner names the most serious one.\nAMBER: no problems, but there is a heads-up (something that may "
    L"cause "
    L"trouble or is about to).\nGREEN: everything Vantrel checks is fine.\nBLUE: no printers are "
    L"installed.\nGRAY: still checking.\n\nClick the printer named here in the top list, then Fix This.";

const wchar_t* const kPrinterCaptionTooltip =
    L"Every printer Windows knows about on this PC.\n\n• RED rows have a PROBLEM that is stopping "
    L"printing.\n• "
    L"AMBER rows have a heads-up.\n• GRAY rows are Windows' built-in \"printers\" (Print to PDF, XPS, "
    L"OneNote, "
    L"Fax), which are not checked unless you switch that on in Settings.\n• Plain rows are fine.\n\nHEALTH "
    L"is "
    L"the most serious thing found for that printer. WHAT VANTREL FOUND is that finding in one line (\"+2 "
    L"more\" means there are others in the bottom list). JOBS is how many documents are waiting. CONNECTION "
    L"is "
    L"how the printer is attached: a network address (TCP/IP), WSD (found automatically, less reliable), a "
    L"USB "
    L"cable, or shared from another PC. IP ADDRESS, MAC ADDRESS and HOST NAME identify a network printer "
    L"(the "
    L"MAC comes from the network test or Find Printers; \"last seen\" means the printer did not answer this "
    L"time). MODEL is the best guess, from the printer itself if it answered. DRIVER, LANGUAGE (PCL 6, "
    L"PostScript...), DRIVER DATE and DRIVER VERSION describe the driver; see Help → Driver Types.\n\nClick "
    L"a "
    L"printer, then Fix This, Details, Network Test or Test Page. Double-click for Details. Right-click for "
    L"a "
    L"menu.";

const wchar_t* const kBottomCaptionTooltip =
    L"The bottom list. What it shows is chosen with the five buttons under \"Show in the Bottom List\" on "
    L"the "
    L"Home tab:\n\n• PROBLEMS: everything Vantrel found, most serious first. RED = stopping printing, AMBER "
    L"= "
    L"heads-up, BLUE = a note, GREEN = all clear. The last column names the one-click fix, if there is one. "
    L"Double-click a row for the explanation and the fix.\n• PRINT QUEUE: every waiting job on every "
    L"printer.\n• WINDOWS LOG: the print errors Windows itself recorded.\n• DRIVERS: the printer drivers "
    L"installed.\n• NETWORK PRINTERS: the printers Find Printers found on the network, installed here or "
    L"not.";

// What the printer list, the bottom views, the verdict banner and the status line show. Every text
// comes from the plain records of one check, so the Win32 side stays a copier of cells and colours
// and the 10-second refresh can compare old and new cell texts without asking anything else.
#include "ui/lists.h"

#include <math.h>

#include <string.h>

#include "core/classify.h"
#include "core/text.h"
#include "net/ipv4.h"
#include "net/maker.h"

#define RGB_OF(r, g, b) ((uint32_t)(r) | ((uint32_t)(g) << 8) | ((uint32_t)(b) << 16))

const ColumnDef kPrinterColumns[kPrinterColumnCount] = {
    {L"Printer", 270},        {L"Health", 80},      {L"What Vantrel found", 380}, {L"Jobs", 44},
    {L"Connection", 140},     {L"IP address", 110}, {L"MAC address", 130},        {L"Host name", 190},
    {L"Model", 210},          {L"Driver", 260},     {L"Language", 120},           {L"Driver date", 90},
    {L"Driver version", 120},
};

static const ColumnDef kProblemColumns[] = {{L"How serious", 100},
                                            {L"Printer", 280},
                                            {L"What Vantrel found", 500},
                                            {L"One-click fix (Fix This)", 300}};
static const ColumnDef kQueueColumns[] = {{L"Printer", 280}, {L"Document", 320}, {L"Sent by", 120},
                                          {L"Status", 170},  {L"Pages", 60},     {L"Size", 80},
                                          {L"Waiting", 100}};
static const ColumnDef kLogColumns[] = {
    {L"When", 170}, {L"Log", 90}, {L"Event", 60}, {L"What Windows recorded", 860}};
static const ColumnDef kDriverColumns[] = {{L"Driver", 330}, {L"Maker", 110},   {L"Language", 140},
                                           {L"Date", 90},    {L"Version", 130}, {L"Type", 60},
                                           {L"For", 110},    {L"Used by", 90},  {L"Driver file", 420}};
static const ColumnDef kNetworkColumns[] = {{L"IP address", 110},
                                            {L"MAC address", 130},
                                            {L"Host name", 220},
                                            {L"Model", 240},
                                            {L"Serial number", 120},
                                            {L"Print ports", 100},
                                            {L"Installed on this PC as", 330}};

static const ViewDef kViews[] = {
    {L"What Vantrel found — most serious first (double-click a row for the explanation and the fix)",
     kProblemColumns, (int32_t)_countof(kProblemColumns)},
    {L"Print queue — every job waiting on every printer", kQueueColumns, (int32_t)_countof(kQueueColumns)},
    {L"Windows' own print logs — errors, plus every job if the detailed log is on — newest first "
     L"(double-click a row to read all of it)",
     kLogColumns, (int32_t)_countof(kLogColumns)},
    {L"Printer drivers installed on this PC — see Help → Driver Types for what PCL 6, PostScript and the "
     L"rest "
     L"mean",
     kDriverColumns, (int32_t)_countof(kDriverColumns)},
    {L"Printers found on the network — installed or not (double-click a row for details, its web page, and "
     L"how to add it)",
     kNetworkColumns, (int32_t)_countof(kNetworkColumns)},
};

const ViewDef* bottom_view(int32_t view) {
    return &kViews[view >= ViewProblems && view <= ViewDrivers ? view : ViewNetworkPrinters];
}

// ---- Small pieces -------------------------------------------------------------------------------

// Cells never exceed what the list view's 700-character read-back buffer holds.
size_t list_cell_cap(size_t cap) {
    return cap < (size_t)kCellCapacity ? cap : (size_t)kCellCapacity;
}

void list_put(wchar_t* out, size_t cap, const wchar_t* text) {
    text_copy(out, list_cell_cap(cap), text);
}

const wchar_t* list_plural(int32_t count) {
    return count == 1 ? L"" : L"s";
}

// Null settings mean the built-in values, as everywhere else in the program.
const Settings* list_settings(const ListSource* src) {
    static Settings defaults;
    static int ready = 0;
    if (src && src->settings) return src->settings;
    if (!ready) {
        settings_defaults(&defaults);
        ready = 1;
    }
    return &defaults;
}

const PrinterRecord* list_printer_at(const Snapshot* s, int32_t index) {
    if (!s || index < 0 || index >= clamp_count(s->printerCount, kMaxPrinters)) return nullptr;
    return &s->printers[index];
}

static const DriverRecord* driver_of(const Snapshot* s, const PrinterRecord* p) {
    if (p->driverIndex < 0 || p->driverIndex >= clamp_count(s->driverCount, kMaxDrivers)) return nullptr;
    return &s->drivers[p->driverIndex];
}

int32_t list_found_count(const NetworkSearchResult* r) {
    return r ? clamp_count(r->count, kMaxFoundPrinters) : 0;
}

// Windows' InetPtonW (AF_INET) accepts only four plain decimal parts and refuses a part with a
// leading zero such as "010", which the general parser would read as ten.
static int is_ipv4_address(const wchar_t* text) {
    if (!parse_ipv4(text, nullptr)) return 0;
    for (const wchar_t* p = text; *p; p++)
        if ((p == text || p[-1] == L'.') && p[0] == L'0' && p[1] >= L'0' && p[1] <= L'9') return 0;
    return 1;
}

int list_hidden_virtual(const ListSource* src, const PrinterRecord* p) {
    return p->isVirtual && !list_settings(src)->checkVirtual;
}

void job_size_text(int32_t size, wchar_t* out, size_t cap) {
    uint32_t bytes = (uint32_t)size;
    if (bytes < 1048576u) {
        text_format(out, list_cell_cap(cap), L"%lu KB", (unsigned long)((bytes + 1023u) / 1024u));
        return;
    }
    // Tenths rounded half up, as the C runtime's "%.1f" does, but with no decimal point taken from
    // a locale.
    uint64_t tenths = ((uint64_t)bytes * 10u + 524288u) / 1048576u;
    text_format(out, list_cell_cap(cap), L"%lu.%lu MB", (unsigned long)(tenths / 10u),
                (unsigned long)(tenths % 10u));
}

void waiting_text(int32_t age_minutes, wchar_t* out, size_t cap) {
    if (age_minutes < 1)
        list_put(out, cap, L"just now");
    else if (age_minutes < 120)
        text_format(out, list_cell_cap(cap), L"%d min", age_minutes);
    else
        text_format(out, list_cell_cap(cap), L"%d hours", age_minutes / 60);
}

// ---- Printer list -------------------------------------------------------------------------------

int32_t printer_row_count(const ListSource* src) {
    return src && src->snapshot ? clamp_count(src->snapshot->printerCount, kMaxPrinters) : 0;
}

static void ip_cell(const PrinterRecord* p, wchar_t* out, size_t cap) {
    if (p->net.tested && p->net.resolved)
        text_copy(out, cap < 64 ? cap : 64, p->net.ipText);
    else if (is_ipv4_address(p->address))
        text_copy(out, cap, p->address);
    else
        text_copy(out, cap, L"");
}

// The found printer at the same IP address; the last one wins when the search listed it twice.
static const FoundPrinter* matching_found(const ListSource* src, const PrinterRecord* p) {
    wchar_t ip[64];
    ip_cell(p, ip, _countof(ip));
    if (!ip[0]) return nullptr;
    const FoundPrinter* match = nullptr;
    for (int32_t i = 0; i < list_found_count(src->search); i++)
        if (wcscmp(src->search->printers[i].ip, ip) == 0) match = &src->search->printers[i];
    return match;
}

static void mac_cell(const ListSource* src, const PrinterRecord* p, wchar_t* out, size_t cap) {
    const FoundPrinter* f = matching_found(src, p);
    if (p->net.mac[0])
        list_put(out, cap, p->net.mac);
    else if (f && f->mac[0])
        list_put(out, cap, f->mac);
    else if (p->knownMac[0])
        text_format(out, cap < 60 ? cap : 60, L"%ls (last seen)", p->knownMac);
    else
        list_put(out, cap, L"");
}

static void host_cell(const ListSource* src, const PrinterRecord* p, wchar_t* out, size_t cap) {
    const FoundPrinter* f = matching_found(src, p);
    const wchar_t* text = p->net.sysName;
    if (p->address[0] && !is_ipv4_address(p->address))
        text = p->address;
    else if (p->net.hostName[0])
        text = p->net.hostName;
    else if (f)
        text = f->hostName[0] ? f->hostName : p->net.sysName[0] ? p->net.sysName : f->sysName;
    list_put(out, cap, text);
}

// Columns whose text is a stored field or a label; the others are worked out by printer_cell.
static const wchar_t* printer_field(const ListSource* src, const PrinterRecord* p, const DriverRecord* d,
                                    int32_t column) {
    const wchar_t* texts[kPrinterColumnCount] = {
        nullptr,
        list_hidden_virtual(src, p) ? L"Not checked" : severity_label(p->worstSeverity),
        p->headline,
        nullptr,
        connection_kind_label(p->kind),
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        p->driverName,
        driver_language_label(d ? d->language : classify_driver_language(p->driverName)),
        d ? d->date : L"",
        d ? d->versionText : L""};
    return column >= 0 && column < kPrinterColumnCount ? texts[column] : L"";
}

void printer_cell(const ListSource* src, int32_t row, int32_t column, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    out[0] = 0;
    const PrinterRecord* p = list_printer_at(src ? src->snapshot : nullptr, row);
    if (!p) return;
    size_t c = list_cell_cap(cap);
    if (column == 0) {
        text_format(out, c, L"%ls%ls", p->name, p->isDefault ? L"   (default)" : L"");
    } else if (column == 3) {
        text_format(out, c, L"%lu", (unsigned long)(uint32_t)p->jobCount);
    } else if (column == 5) {
        ip_cell(p, out, c);
    } else if (column == 6) {
        mac_cell(src, p, out, c);
    } else if (column == 7) {
        host_cell(src, p, out, c);
    } else if (column == 8) {
        ModelGuess guess;
        identify_model(p, &guess);
        list_put(out, c, p->isVirtual ? L"" : guess.model);
    } else {
        list_put(out, c, printer_field(src, p, driver_of(src->snapshot, p), column));
    }
}

RowColourName printer_row_colour(const ListSource* src, int32_t row) {
    const PrinterRecord* p = list_printer_at(src ? src->snapshot : nullptr, row);
    if (!p) return RowPlain;
    if (list_hidden_virtual(src, p)) return RowGray;
    if (p->worstSeverity == SeverityProblem) return RowRed;
    return p->worstSeverity == SeverityHeadsUp ? RowAmber : RowPlain;
}

// WCAG's relative luminance of a 0x00BBGGRR colour, and the contrast ratio of two.
static double luminance(uint32_t c) {
    const double weight[3] = {0.2126, 0.7152, 0.0722};
    double sum = 0;
    for (int i = 0; i < 3; i++) {
        const double v = ((c >> (8 * i)) & 0xFF) / 255.0;
        sum += weight[i] * (v <= 0.03928 ? v / 12.92 : pow((v + 0.055) / 1.055, 2.4));
    }
    return sum;
}

double contrast_ratio(uint32_t a, uint32_t b) {
    const double x = luminance(a) + 0.05, y = luminance(b) + 0.05;
    return x > y ? x / y : y / x;
}

RowColour selected_row_colour(RowColour row, uint32_t highlight) {
    const uint32_t under = row.apply && row.hasBack ? row.back : RGB_OF(255, 255, 255);
    auto channel = [](uint32_t c, int shift) { return (int32_t)((c >> shift) & 0xFF); };
    uint32_t back = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        back |= (uint32_t)((channel(highlight, shift) + 3 * channel(under, shift)) / 4) << shift;
    // The same hue, a little darker where the tint would leave it below a 4.5 : 1 contrast.
    uint32_t text = row.apply ? row.text : RGB_OF(0, 0, 0);
    for (int step = 0; step < 8 && contrast_ratio(text, back) < 4.5; step++) {
        uint32_t darker = 0;
        for (int shift = 0; shift <= 16; shift += 8)
            darker |= (uint32_t)(channel(text, shift) * 85 / 100) << shift;
        text = darker;
    }
    return {1, text, 1, back};
}

RowColour row_colour_of(RowColourName name) {
    switch (name) {
    case RowRed:
        return {1, RGB_OF(170, 0, 0), 1, RGB_OF(255, 235, 238)};
    case RowAmber:
        return {1, RGB_OF(140, 70, 0), 1, RGB_OF(255, 243, 224)};
    case RowBlue:
        return {1, RGB_OF(13, 71, 161), 1, RGB_OF(232, 240, 254)};
    case RowGreen:
        return {1, RGB_OF(46, 125, 50), 0, 0};
    case RowGray:
        return {1, RGB_OF(120, 120, 120), 0, 0};
    default:
        return {0, 0, 0, 0};
    }
}

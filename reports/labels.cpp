// Label tables of the report texts, indexed by the enumerations' values.
#include "reports/labels.h"

#include "core/snapshot.h"

template <typename T, int N> static const wchar_t* pick(const T (&table)[N], int32_t i) {
    return i >= 0 && i < N ? table[i] : L"";
}

static const wchar_t* const kSeverity[] = {L"OK", L"Note", L"Heads-up", L"PROBLEM"};

static const wchar_t* const kFix[] = {
    L"",
    L"Start the Print Spooler",
    L"Set the spooler to start automatically",
    L"Restart the Print Spooler",
    L"Clear stuck jobs",
    L"Cancel this printer's jobs",
    L"Resume the printer",
    L"Switch off \"Use Printer Offline\"",
    L"Switch off SNMP status for this port",
    L"Add Microsoft Print to PDF",
    L"Stop Windows changing the default printer",
    L"Run the network test",
    L"Open the printer's web page",
    L"Open Printers & scanners",
    L"Show Windows' print log",
    L"Switch on Windows' detailed print log",
    L"Find the maker's driver",
    L"Point Windows at the new address",
    L"Search the network for this printer",
};

static const wchar_t* const kKind[] = {
    L"Other",          L"Network (TCP/IP)",       L"Network (WSD)",  L"USB cable",     L"Parallel/serial cable",
    L"Built into Windows", L"Shared from another PC", L"Remote Desktop", L"Network (IPP)",
};

static const wchar_t* const kLanguage[] = {
    L"Not stated",        L"PCL 6",           L"PCL 5",
    L"PostScript",        L"XPS (v4 driver)", L"UFR II (Canon)",
    L"Host-based (GDI)",  L"ESC/P (dot matrix)", L"Label (ZPL/EPL/DPL)",
    L"Plain text only",   L"PDF / file",      L"PCL 6 (universal)",
    L"PostScript (universal)",
};

static const wchar_t* const kLanguageExplanation[] = {
    L"The driver's name does not say which printer language it uses.",
    L"PCL 6 (also called PCL XL): HP's modern printer language. Fast, compact, and the best everyday choice for "
    L"office printing.",
    L"PCL 5 / 5e: the older HP printer language. Slower than PCL 6, but some older programs, pre-printed forms and "
    L"check printing expect it.",
    L"PostScript (PS, also BR-Script, KPDL): Adobe's printer language. Best for graphics, PDFs and documents that "
    L"must look exactly the same on every printer; usually a bit slower.",
    L"XPS: used by Microsoft's newer \"v4\" drivers. Simple to install, but often missing extras such as "
    L"finishing, secure print or accounting codes.",
    L"UFR II: Canon's own language for its imageRUNNER copiers. Fast on Canon devices, but only Canon devices "
    L"understand it.",
    L"Host-based (GDI): the PC does all the work and sends the printer a finished picture of each page. Common on "
    L"cheap printers; only this exact driver can drive the printer, and generic drivers will not work.",
    L"ESC/P: Epson's language for dot-matrix printers (multi-part forms). Needs the dot-matrix driver; ordinary "
    L"office drivers will not do.",
    L"A label-printer language (Zebra ZPL/EPL, Datamax DPL). Only label printers understand it.",
    L"Plain text: no fonts, pictures or layout. Only right for some receipt and dot-matrix printers.",
    L"Not a printer language: this \"printer\" makes a file (PDF, XPS or OneNote) instead of paper.",
    L"PCL 6 through a \"universal\" driver that works with many models from the same maker. Fine for everyday "
    L"printing and easy to manage; model-specific extras may be missing.",
    L"PostScript through a \"universal\" driver that works with many models from the same maker.",
};

static const wchar_t* const kPort[kPortProbeCount] = {
    L"9100 (printing)",       L"515 (LPR printing)",    L"631 (IPP/AirPrint)",
    L"80 (web page)",         L"443 (secure web page)", L"445 (Windows sharing)",
};

static const wchar_t* const kDeviceStatus[] = {L"",        L"unknown", L"running normally", L"running, with a warning",
                                               L"testing", L"DOWN"};
static const wchar_t* const kPrinterStatus[] = {L"", L"other", L"unknown", L"idle", L"printing", L"warming up"};

const BitLabel kSnmpErrorLabels[kSnmpErrorLabelCount] = {
    {0x0400, L"paper jam"},          {0x4000, L"out of paper"},        {0x0800, L"door open"},
    {0x1000, L"out of toner/ink"},   {0x0200, L"offline"},             {0x0100, L"service requested"},
    {0x2000, L"toner/ink low"},      {0x8000, L"paper low"},           {0x0080, L"input tray missing"},
    {0x0040, L"output tray missing"}, {0x0020, L"supply missing"},     {0x0010, L"output tray nearly full"},
    {0x0008, L"output tray full"},   {0x0004, L"a tray is empty"},     {0x0002, L"maintenance overdue"},
};

const BitLabel kPrinterStatusNames[kPrinterStatusNameCount] = {
    {0x1, L"Paused"},
    {0x2, L"Error"},
    {0x8, L"Paper jam"},
    {0x10, L"Out of paper"},
    {0x40, L"Paper problem"},
    {0x80, L"Offline"},
    {0x1000, L"Not available"},
    {0x400000, L"Door open"},
    {0x40000, L"Out of toner/ink"},
    {0x20000, L"Toner/ink low"},
    {0x100000, L"Needs attention"},
    {0x800, L"Output tray full"},
    {0x20, L"Waiting for manual feed"},
    {0x200000, L"Printer out of memory"},
    {0x4, L"Being removed"},
    {0x400, L"Printing"},
    {0x4000, L"Processing"},
    {0x200, L"Busy"},
    {0x10000, L"Warming up"},
    {0x8000, L"Starting up"},
    {0x2000, L"Waiting"},
    {0x100, L"Sending data"},
    {0x800000, L"Server unknown"},
    {0x1000000, L"Power save"},
};

const wchar_t* report_severity_label(int32_t severity) { return pick(kSeverity, severity); }
const wchar_t* report_fix_label(int32_t fix) { return pick(kFix, fix); }
const wchar_t* report_kind_label(int32_t kind) { return pick(kKind, kind); }
const wchar_t* report_language_label(int32_t language) { return pick(kLanguage, language); }
const wchar_t* report_language_explanation(int32_t language) { return pick(kLanguageExplanation, language); }
const wchar_t* report_port_label(int32_t index) { return pick(kPort, index); }
const wchar_t* report_device_status_label(int32_t status) { return status >= 1 ? pick(kDeviceStatus, status) : L""; }
const wchar_t* report_printer_status_label(int32_t status) {
    return status >= 1 ? pick(kPrinterStatus, status) : L"";
}

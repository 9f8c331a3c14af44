// Label tables of the report texts, indexed by the enumerations' values.
#include "reports/labels.h"

#include "core/snapshot.h"

template <typename T, int N> static const wchar_t* pick(const T (&table)[N], int32_t i) {
    return i >= 0 && i < N ? table[i] : L"";
}

static const wchar_t* const kPort[kPortProbeCount] = {
    L"9100 (printing)", L"515 (LPR printing)",    L"631 (IPP/AirPrint)",
    L"80 (web page)",   L"443 (secure web page)", L"445 (Windows sharing)",
};

static const wchar_t* const kDeviceStatus[] = {
    L"", L"unknown", L"running normally", L"running, with a warning", L"testing", L"DOWN"};
static const wchar_t* const kPrinterStatus[] = {L"",     L"other",    L"unknown",
                                                L"idle", L"printing", L"warming up"};

const BitLabel kSnmpErrorLabels[kSnmpErrorLabelCount] = {
    {0x0400, L"paper jam"},           {0x4000, L"out of paper"},    {0x0800, L"door open"},
    {0x1000, L"out of toner/ink"},    {0x0200, L"offline"},         {0x0100, L"service requested"},
    {0x2000, L"toner/ink low"},       {0x8000, L"paper low"},       {0x0080, L"input tray missing"},
    {0x0040, L"output tray missing"}, {0x0020, L"supply missing"},  {0x0010, L"output tray nearly full"},
    {0x0008, L"output tray full"},    {0x0004, L"a tray is empty"}, {0x0002, L"maintenance overdue"},
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

const wchar_t* report_port_label(int32_t index) {
    return pick(kPort, index);
}
const wchar_t* report_device_status_label(int32_t status) {
    return status >= 1 ? pick(kDeviceStatus, status) : L"";
}
const wchar_t* report_printer_status_label(int32_t status) {
    return status >= 1 ? pick(kPrinterStatus, status) : L"";
}

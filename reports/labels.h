// The label tables the report texts read beyond those of the findings and the classification: the
// probed ports, what printers report over SNMP and Windows' printer status bits. Out-of-range values give "".
#pragma once

#include <stdint.h>
#include <wchar.h>

const wchar_t* report_port_label(int32_t index);            // index into NetTestResult::portOpen
const wchar_t* report_device_status_label(int32_t status);  // hrDeviceStatus 1..5
const wchar_t* report_printer_status_label(int32_t status); // hrPrinterStatus 1..5

enum { kSnmpErrorLabelCount = 15, kPrinterStatusNameCount = 24 };
struct BitLabel {
    uint32_t bit;
    const wchar_t* label;
};
extern const BitLabel kSnmpErrorLabels[kSnmpErrorLabelCount];
extern const BitLabel kPrinterStatusNames[kPrinterStatusNameCount];

// The details page of the current check: the snapshot, finding list and settings the interface
// thread owns. Kept apart so the pure builders link without the process-wide state.
#include "core/settings.h"
#include "core/state.h"
#include "reports/details.h"

void printer_details(int32_t index, wchar_t* buf, size_t cap) {
    printer_details_of(g_snapshot, &g_findings, g_settings.checkVirtual, index, buf, cap);
}

// The report over the process state the interface thread owns.
#include "core/settings.h"
#include "core/state.h"
#include "reports/json_report.h"
#include "reports/report.h"
#include "res/version.h"

#define WIDEN2(x) L##x
#define WIDEN(x) WIDEN2(x)

wchar_t g_report_buffer[kReportCapacity];

void report_input_now(ReportInput* input) {
    *input = ReportInput{};
    input->snapshot = g_snapshot;
    input->findings = &g_findings;
    input->search = g_search_result;
    input->demo = g_process.demo;
    input->elevated = g_process.elevated;
    input->checkVirtual = g_settings.checkVirtual;
    input->version = WIDEN(VANTREL_VERSION_STRING);
    input->scanRange = g_process.scanRange;
    report_read_pc_info(&input->pc);
}

void build_report(int full) {
    ReportInput input;
    report_input_now(&input);
    build_report_of(&input, full, g_report_buffer, kReportCapacity);
}

// The report over a session.
#include "core/session.h"
#include "core/settings.h"
#include "core/state.h"
#include "reports/json_report.h"
#include "reports/report.h"
#include "res/version.h"

void report_input_of(const Session* session, ReportInput* input) {
    *input = ReportInput{};
    input->snapshot = session ? session->snapshot : nullptr;
    input->findings = session ? &session->findings : nullptr;
    input->search = session ? session->search : nullptr;
    input->demo = g_process.demo;
    input->elevated = g_process.elevated;
    input->checkVirtual = g_settings.checkVirtual;
    input->version = VANTREL_VERSION_TEXT;
    input->scanRange = g_process.scanRange;
    report_read_pc_info(&input->pc);
}

void build_report(const Session* session, int full, wchar_t* buf, size_t cap) {
    if (cap) buf[0] = 0;
    ReportInput input;
    report_input_of(session, &input);
    build_report_of(&input, full, buf, cap);
}

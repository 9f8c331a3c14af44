// The JSON document: header, PC, verdict, spooler, findings, printers, jobs, drivers, print log and
// network search. Its words and numbers come from the facts the text report states (facts.h), so
// the two never disagree.
#include "reports/json_report.h"

#include "core/classify.h"
#include "core/print_policy.h"
#include "core/text.h"
#include "net/addresses.h"
#include "reports/facts.h"

// The FixKind enumerators' names, which scripts can rely on while the labels are for people.
static const wchar_t* const kFixNames[kFixKindCount] = {
    L"NoFix",
    L"StartSpooler",
    L"SpoolerAutoStart",
    L"RestartSpooler",
    L"ClearStuckJobs",
    L"CancelPrinterJobs",
    L"ResumePrinter",
    L"UseOfflineOff",
    L"SnmpStatusOff",
    L"AddPdfPrinter",
    L"KeepDefaultPrinter",
    L"RunNetworkTest",
    L"OpenWebPage",
    L"OpenPrintersSettings",
    L"ShowPrintLog",
    L"EnableDetailedLog",
    L"FindDriver",
    L"PointToNewAddress",
    L"SearchNetwork",
    L"UseNamedPipesForPrinting",
    L"RestorePointAndPrint",
    L"RemoveRpcPrivacyOverride",
};

// A text of digits as a number; null when it is empty or holds anything else.
static void digits_or_null(JsonWriter* w, const wchar_t* key, const wchar_t* text) {
    int64_t value = 0;
    const wchar_t* p = text;
    for (; *p >= L'0' && *p <= L'9' && p - text < 18; p++)
        value = value * 10 + (*p - L'0');
    if (p == text || *p) return json_null(w, key);
    json_number(w, key, value);
}

static void pc_object(JsonWriter* w, const ReportInput* r) {
    const Snapshot* s = r->snapshot;
    json_object(w, L"pc");
    json_text_or_null(w, L"name", r->pc.computerName);
    json_text_or_null(w, L"user", r->pc.userName);
    json_flag(w, L"elevated", r->elevated);
    json_flag(w, L"runningAsSystem", s->runningAsSystem);
    json_flag(w, L"signedInUserPrinters", s->signedInUserPrinters);
    json_text_or_null(w, L"sessionUser", s->sessionUserName);
    json_object(w, L"windows");
    wchar_t product[120], text[400];
    windows_product_text(r->pc.productName, r->pc.currentBuild, product, _countof(product));
    windows_version_text(&r->pc, text, _countof(text));
    json_text_or_null(w, L"product", product);
    json_text_or_null(w, L"displayVersion", r->pc.displayVersion);
    digits_or_null(w, L"build", r->pc.currentBuild);
    json_text(w, L"text", product[0] ? text : nullptr);
    json_end_object(w);
    json_end_object(w);
}

static void policy_number(JsonWriter* w, const wchar_t* key, const PolicyValue* v) {
    json_number_or_null(w, key, v->present, v->value);
}

static void print_settings_object(JsonWriter* w, const Snapshot* s) {
    json_object(w, L"printSettings");
    json_text(w, L"connectionsVia", print_connections_text(s));
    json_flag(w, L"pointAndPrintProtected", !point_and_print_unprotected(s));
    policy_number(w, L"restrictDriverInstallationToAdministrators", &s->restrictDriverInstallation);
    policy_number(w, L"noWarningNoElevationOnInstall", &s->noWarningNoElevationOnInstall);
    policy_number(w, L"updatePromptSettings", &s->updatePromptSettings);
    policy_number(w, L"rpcAuthnLevelPrivacyEnabled", &s->rpcAuthnLevelPrivacy);
    policy_number(w, L"rpcUseNamedPipeProtocol", &s->rpcUseNamedPipe);
    json_end_object(w);
}

static void verdict_object(JsonWriter* w, const ReportInput* r) {
    Verdict v;
    verdict_of_records(r->snapshot, r->findings, r->demo, &v);
    json_object(w, L"verdict");
    json_text(w, L"colour", verdict_colour_name(v.colour));
    json_number(w, L"problems", v.problems);
    json_number(w, L"headsUps", v.headsUps);
    json_number(w, L"printers", r->snapshot->printerCount);
    json_number(w, L"jobs", r->snapshot->jobCount);
    json_text(w, L"sentence", v.text);
    json_number_or_null(w, L"mostSeriousFinding", v.mostSerious >= 0, v.mostSerious);
    json_end_object(w);
}

static void findings_array(JsonWriter* w, const ReportInput* r) {
    const Snapshot* s = r->snapshot;
    json_array(w, L"findings");
    int32_t count = r->findings ? clamp_count(r->findings->count, kMaxFindings) : 0;
    for (int32_t i = 0; i < count; i++) {
        const Finding* f = &r->findings->items[i];
        int about_printer =
            f->printerIndex >= 0 && f->printerIndex < clamp_count(s->printerCount, kMaxPrinters);
        json_object(w, nullptr);
        json_number(w, L"index", i);
        json_text_or_null(w, L"rule", f->rule);
        json_text(w, L"severity", severity_label(f->severity));
        json_number(w, L"severityLevel", f->severity);
        json_number_or_null(w, L"printerIndex", about_printer, f->printerIndex);
        json_text(w, L"printer", about_printer ? s->printers[f->printerIndex].name : nullptr);
        json_text_or_null(w, L"title", f->title);
        json_text_or_null(w, L"text", f->text);
        if (f->fix > NoFix && f->fix < kFixKindCount) {
            json_object(w, L"fix");
            json_text(w, L"name", kFixNames[f->fix]);
            json_number(w, L"code", f->fix);
            json_text(w, L"label", fix_label(f->fix));
            json_end_object(w);
        } else {
            json_null(w, L"fix");
        }
        json_text_or_null(w, L"subject", f->subject);
        json_end_object(w);
    }
    json_end_array(w);
}

static void jobs_array(JsonWriter* w, const Snapshot* s) {
    json_array(w, L"jobs");
    for (int32_t i = 0; i < clamp_count(s->jobCount, kMaxJobs); i++) {
        const JobRecord* j = &s->jobs[i];
        int known = j->printerIndex >= 0 && j->printerIndex < clamp_count(s->printerCount, kMaxPrinters);
        json_object(w, nullptr);
        json_number(w, L"index", i);
        json_number_or_null(w, L"printerIndex", known, j->printerIndex);
        json_text(w, L"printer", known ? s->printers[j->printerIndex].name : nullptr);
        json_number(w, L"jobId", j->jobId);
        json_text_or_null(w, L"document", j->document);
        json_text_or_null(w, L"user", j->userName);
        json_number(w, L"pages", j->totalPages);
        json_number(w, L"size", j->size);
        json_number(w, L"ageMinutes", j->ageMinutes);
        json_number(w, L"position", j->position);
        json_text_or_null(w, L"status", j->statusText);
        json_number(w, L"statusBits", j->status);
        json_end_object(w);
    }
    json_end_array(w);
}

static void drivers_array(JsonWriter* w, const Snapshot* s) {
    json_array(w, L"drivers");
    for (int32_t i = 0; i < clamp_count(s->driverCount, kMaxDrivers); i++) {
        const DriverRecord* d = &s->drivers[i];
        json_object(w, nullptr);
        json_driver_fields(w, i, d);
        json_text_or_null(w, L"environment", d->environment);
        json_number(w, L"printerCount", d->printerCount);
        json_flag(w, L"filesMissing", d->fileMissing);
        json_end_object(w);
    }
    json_end_array(w);
}

static void print_log_object(JsonWriter* w, const Snapshot* s) {
    json_object(w, L"printLog");
    json_flag(w, L"read", s->adminLogRead);
    json_flag_or_null(w, L"detailedLogOn", s->operationalLogKnown, s->operationalLogEnabled);
    json_array(w, L"entries");
    for (int32_t i = 0; i < clamp_count(s->logCount, kMaxLogEntries); i++) {
        const LogEntry* e = &s->logEntries[i];
        wchar_t utc[40];
        iso_utc_text(e->time, utc, _countof(utc));
        json_object(w, nullptr);
        json_text_or_null(w, L"time", e->timeText);
        json_text(w, L"timeUtc", e->time ? utc : nullptr);
        json_text(w, L"channel", e->channel == 1 ? L"detail" : L"error");
        json_number(w, L"eventId", (uint32_t)e->eventId);
        json_number(w, L"level", e->level);
        json_text_or_null(w, L"message", e->message);
        json_end_object(w);
    }
    json_end_array(w);
    json_end_object(w);
}

// The "/scanrange" given, and whether it was refused.
static void scan_range_object(JsonWriter* w, const ReportInput* r) {
    if (!r->scanRange || !r->scanRange[0]) return json_null(w, L"scanRange");
    wchar_t why[120];
    const int accepted = check_scan_range(r->scanRange, nullptr, nullptr, why, _countof(why));
    json_object(w, L"scanRange");
    json_text(w, L"range", r->scanRange);
    json_flag(w, L"refused", !accepted);
    json_text_or_null(w, L"reason", accepted ? L"" : why);
    json_end_object(w);
}

static void search_object(JsonWriter* w, const JsonReportInput* in) {
    const NetworkSearchResult* r = in->report.search;
    if (!r) return json_null(w, L"networkSearch");
    wchar_t when[40];
    iso_time_text(&r->startedAt, in->utcOffsetMinutes, when, _countof(when));
    json_object(w, L"networkSearch");
    json_number(w, L"addressesSwept", r->addressesSwept);
    json_text_or_null(w, L"ranges", r->rangesText);
    json_text(w, L"startedAt", when);
    json_array(w, L"printers");
    for (int32_t i = 0; i < clamp_count(r->count, kMaxFoundPrinters); i++) {
        const FoundPrinter* f = &r->printers[i];
        json_object(w, nullptr);
        json_text_or_null(w, L"ip", f->ip);
        json_text_or_null(w, L"mac", f->mac);
        json_text_or_null(w, L"hostName", f->hostName);
        json_text_or_null(w, L"ownName", f->sysName);
        json_text_or_null(w, L"model", f->model);
        json_text_or_null(w, L"description", f->description);
        json_text_or_null(w, L"serial", f->serial);
        json_text_or_null(w, L"installedAs", f->installedAs);
        json_array(w, L"printPorts");
        if (f->ports & FoundPort9100) json_number(w, nullptr, 9100);
        if (f->ports & FoundPort515) json_number(w, nullptr, 515);
        if (f->ports & FoundPort631) json_number(w, nullptr, 631);
        json_end_array(w);
        json_number_or_null(w, L"pageCount", f->pageCount >= 0, f->pageCount);
        json_end_object(w);
    }
    json_end_array(w);
    json_end_object(w);
}

size_t build_json_report_of(const JsonReportInput* in, wchar_t* buf, size_t cap) {
    if (buf && cap > 0) buf[0] = 0;
    if (!in || !in->report.snapshot) return 0;
    const ReportInput* r = &in->report;
    const Snapshot* s = r->snapshot;
    JsonWriter w;
    json_start(&w, buf, cap);
    json_object(&w, nullptr);
    json_number(&w, L"format", kJsonFormatVersion);
    json_text(&w, L"program", L"Vantrel");
    json_text_or_null(&w, L"version", r->version);
    wchar_t when[40];
    iso_time_text(&s->checkTime, in->utcOffsetMinutes, when, _countof(when));
    json_text(&w, L"checkedAt", when);
    json_flag(&w, L"demo", r->demo);
    pc_object(&w, r);
    verdict_object(&w, r);

    json_object(&w, L"spooler");
    json_text(&w, L"state", spooler_state_text(s->spoolerState));
    json_number(&w, L"stateCode", s->spoolerState);
    json_text(&w, L"startType", start_type_text(s->spoolerStartType));
    json_number(&w, L"startTypeCode", s->spoolerStartType);
    json_number_or_null(&w, L"crashesLast24Hours", s->serviceLogRead, s->spoolerCrashCount);
    json_text_or_null(&w, L"lastCrash",
                      s->serviceLogRead && s->spoolerCrashCount ? s->lastSpoolerCrashText : nullptr);
    json_end_object(&w);
    print_settings_object(&w, s);
    json_text_or_null(&w, L"defaultPrinter", s->defaultPrinter);
    json_flag(&w, L"windowsManagesDefault", s->windowsManagesDefault);

    findings_array(&w, r);
    json_array(&w, L"printers");
    for (int32_t i = 0; i < clamp_count(s->printerCount, kMaxPrinters); i++)
        json_printer(&w, in, i);
    json_end_array(&w);
    // What Windows listed beyond the snapshot's capacities, so a script can tell "64" from "64 of 68".
    json_number(&w, L"printersLeftOut", s->printersLeftOut);
    jobs_array(&w, s);
    json_number(&w, L"jobsLeftOut", s->jobsLeftOut);
    drivers_array(&w, s);
    json_number(&w, L"driversLeftOut", s->driversLeftOut);
    print_log_object(&w, s);
    scan_range_object(&w, r);
    search_object(&w, in);
    json_end_object(&w);
    return json_finish(&w);
}

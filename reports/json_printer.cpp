// One printer of the JSON report: everything its details page says, as fields. Each value comes
// from the same fact the page prints (facts.h, the label tables, the model guess), and a section
// the page leaves out is null here.
#include "reports/json_report.h"

#include "core/classify.h"
#include "core/text.h"
#include "net/maker.h"
#include "reports/facts.h"
#include "reports/labels.h"

static void tcp_object(JsonWriter* w, const PrinterRecord* p) {
    if (p->kind != KindTcpIp) return json_null(w, L"tcp");
    json_object(w, L"tcp");
    json_number(w, L"portNumber", p->portNumber);
    json_text(w, L"protocol", p->protocol == 2 ? L"LPR" : L"RAW");
    json_flag(w, L"snmpEnabled", p->snmpEnabled);
    json_text(w, L"snmpCommunity", p->snmpEnabled ? printer_snmp_community(p) : nullptr);
    json_end_object(w);
}

// The ports of a printer pool with what their tests found; null for a printer of one port.
static void pool_array(JsonWriter* w, const Snapshot* s, int32_t index) {
    int any = 0;
    for (int32_t m = 0; m < clamp_count(s->poolMemberCount, kMaxPoolMembers); m++) {
        const PoolMember* member = &s->poolMembers[m];
        if (member->printerIndex != index) continue;
        if (!any++) json_array(w, L"pool");
        json_object(w, nullptr);
        json_text_or_null(w, L"port", member->portName);
        json_text_or_null(w, L"address", member->address);
        json_flag_or_null(w, L"answered", member->tested, member->answered);
        json_end_object(w);
    }
    if (any)
        json_end_array(w);
    else
        json_null(w, L"pool");
}

static void driver_object(JsonWriter* w, const Snapshot* s, const PrinterRecord* p) {
    if (p->driverIndex < 0 || p->driverIndex >= s->driverCount || p->driverIndex >= kMaxDrivers)
        return json_null(w, L"driver");
    const DriverRecord* d = &s->drivers[p->driverIndex];
    json_object(w, L"driver");
    json_driver_fields(w, p->driverIndex, d);
    json_text_or_null(w, L"typeNote", driver_type_note(d->version));
    json_text_or_null(w, L"languageExplanation", driver_language_explanation(d->language));
    json_end_object(w);
}

static void snmp_object(JsonWriter* w, const NetTestResult* n) {
    if (!n->snmpAsked) return json_null(w, L"snmp");
    json_object(w, L"snmp");
    json_flag(w, L"answered", n->snmpAnswered);
    const int a = n->snmpAnswered;
    json_text_or_null(w, L"model", a ? n->model : nullptr);
    json_text_or_null(w, L"description", a ? n->sysDescr : nullptr);
    json_text_or_null(w, L"ownName", a ? n->sysName : nullptr);
    json_text_or_null(w, L"serial", a ? n->serial : nullptr);
    int device = a && n->deviceStatus >= 1 && n->deviceStatus <= 5;
    json_text(w, L"device", device ? report_device_status_label(n->deviceStatus) : nullptr);
    json_number_or_null(w, L"deviceCode", device, n->deviceStatus);
    int engine = a && n->printerStatus >= 1 && n->printerStatus <= 5;
    json_text(w, L"printEngine", engine ? report_printer_status_label(n->printerStatus) : nullptr);
    json_number_or_null(w, L"printEngineCode", engine, n->printerStatus);
    if (a && n->haveErrorState) {
        json_array(w, L"errors");
        for (const BitLabel& entry : kSnmpErrorLabels)
            if ((uint32_t)n->errorBits & entry.bit) json_text(w, nullptr, entry.label);
        json_end_array(w);
    } else {
        json_null(w, L"errors");
    }
    json_number_or_null(w, L"errorBits", a && n->haveErrorState, (uint32_t)n->errorBits);
    json_number_or_null(w, L"pageCount", a && n->pageCount >= 0, n->pageCount);
    json_array(w, L"supplies");
    int32_t supplies = !a                              ? 0
                       : n->supplyCount < 0            ? 0
                       : n->supplyCount > kMaxSupplies ? kMaxSupplies
                                                       : n->supplyCount;
    for (int32_t i = 0; i < supplies; i++) {
        const SupplyLevel* supply = &n->supplies[i];
        int32_t percent = 0;
        int known = supply_percent(supply, &percent);
        wchar_t text[200];
        supply_text(supply, text, _countof(text));
        json_object(w, nullptr);
        json_text_or_null(w, L"description", supply->description);
        json_number(w, L"level", supply->level);
        json_number(w, L"maxCapacity", supply->maxCapacity);
        json_number_or_null(w, L"percent", known, percent);
        json_text(w, L"text", text);
        json_end_object(w);
    }
    json_end_array(w);
    json_end_object(w);
}

// The page's NETWORK TEST section; present whenever the printer has an address. What the page
// shows only once the name was found is null before that, except a MAC remembered from earlier.
static void network_object(JsonWriter* w, const PrinterRecord* p) {
    if (!p->address[0]) return json_null(w, L"networkTest");
    const NetTestResult* n = &p->net;
    const int reached = n->tested && n->resolved;
    json_object(w, L"networkTest");
    json_flag(w, L"tested", n->tested);
    json_flag_or_null(w, L"resolved", n->tested, n->resolved);
    int remembered = 0;
    const wchar_t* mac = printer_mac(p, &remembered);
    json_text_or_null(w, L"ip", reached ? n->ipText : nullptr);
    json_text(w, L"mac", mac);
    json_flag(w, L"macRemembered", remembered);
    json_text(w, L"hostName", reached ? printer_host_name(p) : nullptr);
    json_flag_or_null(w, L"pingAnswered", reached, n->pingOk);
    json_number_or_null(w, L"pingMs", reached && n->pingOk, n->pingMs);
    if (reached) {
        json_array(w, L"portsOpen");
        for (int i = 0; i < kPortProbeCount; i++)
            if (n->portOpen[i]) json_number(w, nullptr, kProbePorts[i]);
        json_end_array(w);
        json_flag(w, L"rpcAnswered", n->rpcPortOpen);
        snmp_object(w, n);
    } else {
        json_null(w, L"portsOpen");
        json_null(w, L"rpcAnswered");
        json_null(w, L"snmp");
    }
    json_end_object(w);
}

void json_printer(JsonWriter* w, const JsonReportInput* in, int32_t index) {
    const Snapshot* s = in->report.snapshot;
    const PrinterRecord* p = &s->printers[index];
    json_object(w, nullptr);
    json_number(w, L"index", index);
    json_text_or_null(w, L"name", p->name);
    json_flag(w, L"isDefault", p->isDefault);
    int checked = printer_is_checked(p, in->report.checkVirtual);
    json_flag(w, L"checked", checked);
    json_text(w, L"health", checked ? severity_label(p->worstSeverity) : L"not checked");
    json_number(w, L"healthLevel", p->worstSeverity);
    json_text_or_null(w, L"headline", p->headline);

    wchar_t status[400];
    printer_status_text(p, status, _countof(status));
    json_text(w, L"windowsStatus", status);
    json_number(w, L"statusBits", p->status);
    json_flag(w, L"useOffline", (p->attributes & 0x400) != 0);
    json_number(w, L"jobsWaiting", p->jobCount);
    json_text_or_null(w, L"driverName", p->driverName);
    DriverNote note = printer_driver_note(s, p);
    json_text(w, L"driverNote",
              note == DriverNoteNotInstalled   ? L"NOT INSTALLED"
              : note == DriverNoteFilesMissing ? L"FILES MISSING"
                                               : nullptr);
    json_text_or_null(w, L"port", p->portName);
    json_text(w, L"connection", connection_kind_label(p->kind));
    json_number(w, L"connectionCode", p->kind);
    json_flag(w, L"isVirtual", p->isVirtual);
    json_flag(w, L"isConnection", p->isConnection);
    json_text_or_null(w, L"server", p->serverName);
    json_text(w, L"sharedAs", p->shareName[0] && (p->attributes & 0x8) ? p->shareName : nullptr);
    json_text_or_null(w, L"location", p->location);
    json_text_or_null(w, L"comment", p->comment);
    if (p->isVirtual) {
        json_null(w, L"model");
        json_null(w, L"maker");
    } else {
        ModelGuess guess;
        identify_model(p, &guess);
        json_text_or_null(w, L"model", guess.model);
        json_text_or_null(w, L"maker", guess.maker);
    }
    json_text_or_null(w, L"address", p->address);
    tcp_object(w, p);
    pool_array(w, s, index);
    json_number_or_null(w, L"connectError", p->connectError != 0, p->connectError);
    json_text(w, L"connectErrorText", p->connectError ? p->connectErrorText : nullptr);
    driver_object(w, s, p);
    network_object(w, p);

    json_array(w, L"jobs");
    for (int32_t i = 0; i < s->jobCount && i < kMaxJobs; i++)
        if (s->jobs[i].printerIndex == index) json_number(w, nullptr, i);
    json_end_array(w);
    json_array(w, L"findings");
    const FindingList* findings = in->report.findings;
    for (int32_t i = 0; findings && i < findings->count && i < kMaxFindings; i++)
        if (findings->items[i].printerIndex == index) json_number(w, nullptr, i);
    json_end_array(w);
    json_end_object(w);
}

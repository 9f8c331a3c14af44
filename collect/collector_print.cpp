// What the collector reads about printing beyond the printers themselves: the Point and Print and
// RPC settings in the registry, the ports of printer pools, the spooler's unexpected ends in the
// System log, and the error of each printer connection Windows refuses to open.
#include "collector.h"

#include <wchar.h>

#include "core/classify.h"
#include "core/print_policy.h"
#include "core/text.h"

static const uint64_t kDay100ns = 864000000000ull;

static void read_policy(const CollectorPlatform* platform, const wchar_t* key, const wchar_t* name,
                        PolicyValue* out) {
    uint32_t value = 0;
    out->present = platform->read_dword(platform->ctx, RootLocalMachine, key, name, &value) ? 1 : 0;
    out->value = out->present ? value : 0;
}

void collect_print_policies(Snapshot* s, const CollectorPlatform* platform) {
    read_policy(platform, VANTREL_POINT_AND_PRINT_KEY, L"RestrictDriverInstallationToAdministrators",
                &s->restrictDriverInstallation);
    read_policy(platform, VANTREL_POINT_AND_PRINT_KEY, L"NoWarningNoElevationOnInstall",
                &s->noWarningNoElevationOnInstall);
    read_policy(platform, VANTREL_POINT_AND_PRINT_KEY, L"UpdatePromptSettings", &s->updatePromptSettings);
    read_policy(platform, VANTREL_PRINT_KEY, L"RpcAuthnLevelPrivacyEnabled", &s->rpcAuthnLevelPrivacy);
    read_policy(platform, VANTREL_PRINTER_RPC_KEY, L"RpcUseNamedPipeProtocol", &s->rpcUseNamedPipe);
    wchar_t build[40];
    if (platform->read_string(platform->ctx, RootLocalMachine, VANTREL_CURRENT_VERSION_KEY, L"CurrentBuild",
                              build, _countof(build)))
        s->windowsBuild = (int32_t)wcstol(build, nullptr, 10);
}

void collect_pool_members(Snapshot* s, int32_t printer_index, const PortTable* ports,
                          const CollectorPlatform* platform) {
    const wchar_t* list = s->printers[printer_index].portName;
    if (!is_pooled_printer(&s->printers[printer_index])) return;
    int32_t position = 0;
    for (const wchar_t* at = list; *at;) {
        while (*at == L' ' || *at == L',')
            at++;
        size_t n = 0;
        wchar_t port[260];
        while (at[n] && at[n] != L',' && n + 1 < _countof(port)) {
            port[n] = at[n];
            n++;
        }
        port[n] = 0;
        at += n;
        while (*at && *at != L',') // a name longer than a port name can be is cut, not split
            at++;
        while (n > 0 && port[n - 1] == L' ')
            port[--n] = 0;
        if (!port[0]) continue;
        PoolMember* m = snapshot_add_pool_member(s);
        if (!m) return;
        m->printerIndex = printer_index;
        m->position = position++;
        text_copy(m->portName, _countof(m->portName), port);
        RawTcpPort tcp;
        read_tcp_port_values(platform, port, &tcp);
        // A pool's port belongs to no connection and has no location of its own.
        TcpPortValues values;
        tcp_port_values_of(&tcp, &values);
        PortClass c;
        classify_port(port, port_table_monitor(ports, port), &values, L"", 0, L"", &c);
        m->kind = c.kind;
        text_copy(m->address, _countof(m->address), c.address);
    }
}

void count_spooler_crash(Snapshot* s, const wchar_t* display_name, uint64_t now,
                         const RawServiceCrash* crash) {
    if (crash->eventId != 7031 && crash->eventId != 7034) return;
    if (!display_name[0] || !text_equal_ci(crash->serviceName ? crash->serviceName : L"", display_name))
        return;
    if (crash->time > now || now - crash->time >= kDay100ns) return;
    s->spoolerCrashCount++;
    if (crash->time < s->lastSpoolerCrash) return;
    s->lastSpoolerCrash = crash->time;
    s->lastSpoolerCrashText[0] = 0;
    if (crash->localValid)
        format_time_stamp(s->lastSpoolerCrashText, _countof(s->lastSpoolerCrashText), crash->local.month,
                          crash->local.day, crash->local.year, crash->local.hour, crash->local.minute);
}

namespace {
struct CrashPass {
    Snapshot* s;
    const wchar_t* displayName;
    uint64_t now;
};
} // namespace

static void take_crash(void* arg, const RawServiceCrash* crash) {
    CrashPass* pass = static_cast<CrashPass*>(arg);
    count_spooler_crash(pass->s, pass->displayName, pass->now, crash);
}

void collect_spooler_crashes(Snapshot* s, const CollectorPlatform* platform, uint64_t now) {
    // The events name the service by its display name, which Windows translates; ask for this PC's.
    wchar_t name[260] = L"";
    platform->service_display_name(platform->ctx, L"Spooler", name, _countof(name));
    CrashPass pass = {s, name, now};
    if (platform->list_service_crashes(platform->ctx, now, take_crash, &pass)) s->serviceLogRead = 1;
}

void collect_connection_errors(Snapshot* s, const CollectorPlatform* platform) {
    for (int32_t i = 0; i < s->printerCount; i++) {
        PrinterRecord* p = &s->printers[i];
        // A server that answers on neither way in would only make the open wait for RPC's own
        // time-outs; its finding says so already.
        if (!p->isConnection || !p->name[0] || !p->net.resolved) continue;
        if (!p->net.rpcPortOpen && !p->net.portOpen[5]) continue;
        p->connectError = platform->open_connection(platform->ctx, p->name, p->connectErrorText,
                                                    _countof(p->connectErrorText));
        if (!p->connectError) p->connectErrorText[0] = 0;
    }
}
